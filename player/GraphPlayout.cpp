#include "GraphPlayout.h"

#include "Holders.h"
#include "MediaGraph.h"

namespace MediaGraph {

namespace {

// The longest a start waits for the graph to preroll.
const DWORD kPrerollMs = 3000;
// How long the sound goes on after the engine reports the end: the renderer's buffer and
// the sound device's latency, measured at up to three quarters of a second for MPEG audio
// and a quarter for uncompressed sound; kept with a margin.
const DWORD kPlayOutMs = 1000;
const DWORD kPlayOutStepMs = 10;

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

HRESULT Run(IGraphBuilder* pGraph)
{
    CComPtr<IMediaControl> pControl;
    HRESULT hr = pControl.QueryFrom(pGraph);
    if (FAILED(hr))
        return hr;
    OAFilterState state = State_Stopped;
    pControl->GetState(0, &state);
    if (state == State_Stopped && SUCCEEDED(pControl->Pause()))
        pControl->GetState(kPrerollMs, &state);
    return pControl->Run();
}

void LetSoundPlayOut(IGraphBuilder* pGraph)
{
    if (pGraph == nullptr || !HasSound(pGraph) || GetState(pGraph, 0) != State_Running)
        return;
    const DWORD dwStart = GetTickCount();
    while (GetTickCount() - dwStart < kPlayOutMs && GetState(pGraph, 0) == State_Running)
        Sleep(kPlayOutStepMs);
}

}  // namespace MediaGraph
