#include "GraphPlayout.h"

#include "Holders.h"
#include "MediaGraph.h"

namespace MediaGraph {

namespace {

// The longest a start waits for the graph to preroll.
const DWORD kPrerollMs = 3000;
// How long the sound goes on after the engine reports the end: what the audio renderer and
// the sound device still hold, measured at 0.16 to 0.26 s for every audio kind; kept with
// a margin of about twice that.
const DWORD kPlayOutMs = 500;
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
