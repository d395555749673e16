#include "GraphPlayout.h"

#include "Holders.h"
#include "EngineGraph.h"

namespace MediaGraph {

namespace {

// How long the sound goes on after the engine reports the end: what the audio renderer and
// the sound device still hold, measured at 0.16 to 0.26 s for every audio kind; kept with
// a margin of about twice that.
const DWORD kPlayOutMs = 500;

// Whether one of the graph's filters renders sound: only an audio renderer has a volume.
bool HasSound(IGraphBuilder* pGraph)
{
    CComPtr<IEnumFilters> pFilters;
    if (FAILED(pGraph->EnumFilters(&pFilters)))
        return false;
    for (;;) {
        CComPtr<IBaseFilter> pFilter;
        if (pFilters->Next(1, &pFilter, nullptr) != S_OK)
            return false;
        CComPtr<IBasicAudio> pAudio;
        if (SUCCEEDED(pAudio.QueryFrom(pFilter.Get())))
            return true;
    }
}

}  // namespace

DWORD SoundPlayOutMs(IGraphBuilder* pGraph)
{
    if (pGraph == nullptr || !HasSound(pGraph) || GetState(pGraph, 0) != State_Running)
        return 0;
    return kPlayOutMs;
}

}  // namespace MediaGraph
