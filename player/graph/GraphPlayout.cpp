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
// whatever their length; kept with a margin of about twice that. A byte rate of MIDI or
// another sound the renderer does not play never counts.
const double kHeldBackFileBytes = 1536;
const DWORD kLongestPlayOutMs = 2000;

enum SoundKind { NO_SOUND, ENGINE_RENDERER, OTHER_RENDERER };

// Whether one of the graph's filters renders sound (only an audio renderer has a volume),
// and whether it is the engine's own sound renderer.
SoundKind SoundOf(IGraphBuilder* pGraph)
{
    CComPtr<IEnumFilters> pFilters;
    if (FAILED(pGraph->EnumFilters(&pFilters)))
        return NO_SOUND;
    SoundKind kind = NO_SOUND;
    for (;;) {
        CComPtr<IBaseFilter> pFilter;
        if (pFilters->Next(1, &pFilter, nullptr) != S_OK)
            return kind;
        CComPtr<IBasicAudio> pAudio;
        CLSID clsid = {};
        if (FAILED(pAudio.QueryFrom(pFilter.Get())))
            continue;
        if (SUCCEEDED(pFilter->GetClassID(&clsid)) && clsid == CLSID_DSoundRender)
            return ENGINE_RENDERER;
        kind = OTHER_RENDERER;
    }
}

}  // namespace

DWORD SoundPlayOutMs(IGraphBuilder* pGraph, double dFileBytesPerSecond)
{
    if (pGraph == nullptr)
        return 0;
    const SoundKind kind = SoundOf(pGraph);
    if (kind == NO_SOUND || GetState(pGraph, 0) != State_Running)
        return 0;
    if (kind != ENGINE_RENDERER || !(dFileBytesPerSecond > 0))
        return kPlayOutMs;
    const double dHeldBackMs = 1000.0 * kHeldBackFileBytes / dFileBytesPerSecond;
    if (!(dHeldBackMs < kLongestPlayOutMs - kPlayOutMs))
        return kLongestPlayOutMs;
    return kPlayOutMs + static_cast<DWORD>(dHeldBackMs);
}

}  // namespace MediaGraph
