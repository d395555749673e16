#include "GraphPlayout.h"

#include "Holders.h"
#include "EngineGraph.h"

namespace MediaGraph {

namespace {

// How long the sound goes on after the engine reports the end: what the audio renderer and
// the sound device still hold, measured at 0.16 to 0.26 s for every audio kind; kept with
// a margin of about twice that.
const DWORD kPlayOutMs = 500;
// What the engine's sound renderer still holds besides, in bytes of the file it plays: about
// 800, measured on mu-law and 8-bit files of 5.5 to 8 kHz (a tenth of a second and more),
// whatever their length; kept with a margin of about twice that. It counts only for a file
// that holds the sound itself, at least a quarter of the bytes the renderer plays (not a
// MIDI file, say, whose few bytes the engine makes into sound).
const double kHeldBackFileBytes = 1536;
const double kLeastFileShare = 0.25;
const DWORD kLongestPlayOutMs = 2000;

enum SoundKind { NO_SOUND, ENGINE_RENDERER, OTHER_RENDERER };

// The bytes a second a renderer is fed, or 0 when unknown.
double FedBytesPerSecond(IBaseFilter* pRenderer)
{
    CComPtr<IPin> pIn, pOut;
    CMediaTypeHolder type;
    if (!FedInput(pRenderer, pIn, pOut) || FAILED(pIn->ConnectionMediaType(type.Fill())) || type.Wave() == nullptr)
        return 0;
    return type.Wave()->nAvgBytesPerSec;
}

// Whether one of the graph's filters renders sound (only an audio renderer has a volume),
// and whether it is the engine's own sound renderer, with the bytes a second it is fed.
SoundKind SoundOf(IGraphBuilder* pGraph, double* pdFedBytesPerSecond)
{
    SoundKind kind = NO_SOUND;
    for (const CComPtr<IBaseFilter>& pFilter : FiltersOf(pGraph)) {
        CComPtr<IBasicAudio> pAudio;
        if (FAILED(pAudio.QueryFrom(pFilter.Get())))
            continue;
        if (IsEngineSoundRenderer(pFilter.Get())) {
            *pdFedBytesPerSecond = FedBytesPerSecond(pFilter.Get());
            return ENGINE_RENDERER;
        }
        kind = OTHER_RENDERER;
    }
    return kind;
}

}  // namespace

DWORD SoundPlayOutMs(IGraphBuilder* pGraph, double dFileBytesPerSecond)
{
    if (pGraph == nullptr)
        return 0;
    double dFedBytesPerSecond = 0;
    const SoundKind kind = SoundOf(pGraph, &dFedBytesPerSecond);
    if (kind == NO_SOUND || GetState(pGraph, 0) != State_Running)
        return 0;
    if (kind != ENGINE_RENDERER || !(dFileBytesPerSecond > 0) ||
        !(dFileBytesPerSecond >= kLeastFileShare * dFedBytesPerSecond))
        return kPlayOutMs;
    const double dHeldBackMs = 1000.0 * kHeldBackFileBytes / dFileBytesPerSecond;
    if (!(dHeldBackMs < kLongestPlayOutMs - kPlayOutMs))
        return kLongestPlayOutMs;
    return kPlayOutMs + static_cast<DWORD>(dHeldBackMs);
}

}  // namespace MediaGraph
