// The media graph boundary's part for sound: the engine starts and ends a graph's sound in
// ways that lose some of it, and these calls carry the adaptation, so that a person hears
// every sample of a media.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace MediaGraph {

// How long the graph must keep running after EC_COMPLETE for the sound it still holds to
// be heard; 0 when nothing is to play out (no sound, or a graph that no longer runs). The
// engine reports the end as soon as the last sample reached the audio renderer, while the
// renderer and the sound device still hold about a quarter of a second of it: whoever
// pauses or rewinds the graph at the end waits this long first, without blocking on it.
// dFileBytesPerSecond is the media file's size over its duration (0 when unknown): the
// engine's own sound renderer holds back a part of the file's bytes besides, which at a
// low byte rate is a tenth of a second and more.
DWORD SoundPlayOutMs(IGraphBuilder* pGraph, double dFileBytesPerSecond);

}  // namespace MediaGraph
