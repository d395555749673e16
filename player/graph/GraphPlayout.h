// The media graph boundary's part for sound: the engine starts and ends a graph's sound in
// ways that lose some of it, and these calls carry the adaptation, so that a person hears
// every sample of a media.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace MediaGraph {

// Called when the graph reports the end of its media: the engine reports it as soon as the
// last sample reached the audio renderer, while the renderer and the sound device still
// hold about a quarter of a second of it. A running graph with sound is left running until
// that has been played (a bounded wait of half a second), so that pausing or rewinding at
// the end cuts nothing.
void LetSoundPlayOut(IGraphBuilder* pGraph);

}  // namespace MediaGraph
