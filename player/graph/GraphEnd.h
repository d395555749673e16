// The media graph boundary's part for the end of a media: an engine that stops reading an
// MPEG system stream before its end is made to read it whole, and the positions it then
// reports are given back as the media has them, within its duration.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace MediaGraph {

// Called on a newly rendered, stopped graph: where the engine's parser of an MPEG system
// stream would stop at the duration it measured, short of the true end, its stop is cleared.
// Every other graph, and every engine that reads a stop as a stop, is left as it is.
void PlayToTrueEnd(IGraphBuilder* pGraph);

// Called on a newly rendered, stopped graph: a sound renderer fed unsigned 8-bit PCM by a pin
// that offers the same sound in 16 bits takes the 16 bits. The engine's renderer plays on
// past the end of the data from its looping buffer, zero bytes: silence in 16 bits, but the
// lowest level of 8-bit sound, heard as a thump at every end. Pins that will not connect so
// connect as they were.
void EndSoundInSilence(IGraphBuilder* pGraph);

// Whether the graph plays to its true end through PlayToTrueEnd.
bool PlaysToTrueEnd(IGraphBuilder* pGraph);

// The position of the media from the one the engine reported, given its duration: within
// 0 .. dDuration, and the duration once a graph that plays to its true end has completed
// (the engine then reports its stop, 0). Unchanged when the duration is unknown (not above 0).
REFTIME MediaPosition(IGraphBuilder* pGraph, REFTIME dDuration, REFTIME dReported);

// The stop time of the media from the one the engine reported: a graph that plays to its
// true end stops at the end of the media, whatever its cleared stop reads.
REFTIME MediaStopTime(IGraphBuilder* pGraph, REFTIME dDuration, REFTIME dReported);

// Moves a stopped graph to dPosition seconds through pPosition; the start of a graph that
// plays to its true end is its first tick.
HRESULT MoveTo(IGraphBuilder* pGraph, IMediaPosition* pPosition, REFTIME dPosition);

}  // namespace MediaGraph
