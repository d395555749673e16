// The playback rate on engines that accept a rate and then play at normal speed.
#pragma once

#include <windows.h>
#include <dshow.h>

namespace PlaybackRate {

// After the engine has been asked for dRate through the graph's pPosition (hrEngine its
// answer). Where the engine did not
// take the rate and the media has a picture, the graph runs on a clock of the player's own
// at that rate, with its sound taken out (the engine plays sound only at normal speed);
// at rate 1 the sound and the engine's clock come back, at the volume last set. Media of
// sound alone keep normal speed. A rate not greater than zero is refused (E_INVALIDARG)
// and the speed stays. Returns the result the caller reports.
HRESULT Follow(IGraphBuilder* pGraph, IMediaPosition* pPosition, double dRate, HRESULT hrEngine);

}  // namespace PlaybackRate
