// The playback rate on engines that accept a rate and then play at normal speed.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace PlaybackRate {

// After the engine has been asked for dRate through the graph's pPosition (hrEngine its
// answer). Where the engine did not take the rate, the graph runs on a clock of the
// player's own at that rate, which presents the picture and counts the positions in media
// time, and each sound goes through a stretch that plays it at that speed with its pitch
// kept (SoundStretch.h); a sound the stretch cannot take is taken out until rate 1. Both
// stay in the graph at rate 1, at normal speed. A rate not greater than zero is refused
// (E_INVALIDARG) and the speed stays. Returns the result the caller reports.
HRESULT Follow(IGraphBuilder* pGraph, IMediaPosition* pPosition, double dRate, HRESULT hrEngine);

}  // namespace PlaybackRate
