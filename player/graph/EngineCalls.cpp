#include "EngineGraph.h"

#include "GraphEnd.h"
#include "PlaybackRate.h"

namespace MediaGraph {

namespace {

const WCHAR kRendererName[] = L"Video Renderer";

HRESULT CreateWithEngine(IGraphBuilder** ppGraph)
{
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IGraphBuilder, reinterpret_cast<void**>(ppGraph));
    if (FAILED(hr))
        return hr;
    // The video goes to the plain video renderer, which draws into its window with GDI
    // wherever that window lives; the newer renderer an engine may choose draws nothing
    // once its window is a child of ours on some displays. RenderFile uses a renderer
    // already in the graph before it looks for one.
    CComPtr<IBaseFilter> pRenderer;
    if (SUCCEEDED(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IBaseFilter, reinterpret_cast<void**>(&pRenderer))))
        (*ppGraph)->AddFilter(pRenderer.Get(), kRendererName);
    return hr;
}

}  // namespace

HRESULT Create(IGraphBuilder** ppGraph)
{
    *ppGraph = nullptr;
    HRESULT hr = CreateWithEngine(ppGraph);
    if (FAILED(hr) && *ppGraph != nullptr) {
        (*ppGraph)->Release();
        *ppGraph = nullptr;
    }
    return hr;
}

namespace {

bool HasConnectedPin(IBaseFilter* pFilter)
{
    CComPtr<IEnumPins> pPins;
    if (FAILED(pFilter->EnumPins(&pPins)))
        return false;
    bool bConnected = false;
    for (;;) {
        CComPtr<IPin> pPin;
        if (pPins->Next(1, &pPin, nullptr) != S_OK)
            break;
        CComPtr<IPin> pPeer;
        if (SUCCEEDED(pPin->ConnectedTo(&pPeer)))
            bConnected = true;
    }
    return bConnected;
}

// The renderer put into every new graph stays unconnected when the media has no video.
// Left in the graph it would answer the video interfaces without a picture format, which
// some engines dereference and crash on; out of it, those calls fail cleanly.
void RemoveUnconnectedRenderer(IGraphBuilder* pGraph)
{
    CComPtr<IBaseFilter> pRenderer;
    if (FAILED(pGraph->FindFilterByName(kRendererName, &pRenderer)) || !pRenderer)
        return;
    if (!HasConnectedPin(pRenderer.Get()))
        pGraph->RemoveFilter(pRenderer.Get());
}

HRESULT RenderWide(IGraphBuilder* pGraph, const char* pszPath)
{
    WCHAR wszPath[MAX_PATH] = L"";
    if (MultiByteToWideChar(CP_ACP, 0, pszPath, -1, wszPath, MAX_PATH) == 0)
        return E_INVALIDARG;
    return pGraph->RenderFile(wszPath, nullptr);
}

}  // namespace

HRESULT RenderFile(IGraphBuilder* pGraph, const char* pszPath)
{
    HRESULT hr = RenderWide(pGraph, pszPath);
    RemoveUnconnectedRenderer(pGraph);
    if (SUCCEEDED(hr))
        PlayToTrueEnd(pGraph);
    return hr;
}

bool HasVideo(IGraphBuilder* pGraph)
{
    CComPtr<IBasicVideo> pVideo;
    long lWidth = 0;
    return pGraph != nullptr && SUCCEEDED(pVideo.QueryFrom(pGraph)) &&
           SUCCEEDED(pVideo->get_VideoWidth(&lWidth)) && lWidth > 0;
}

OAFilterState GetState(IGraphBuilder* pGraph, DWORD dwMilliseconds)
{
    OAFilterState state = State_Stopped;
    CComPtr<IMediaControl> pControl;
    if (SUCCEEDED(pControl.QueryFrom(pGraph)))
        pControl->GetState(dwMilliseconds, &state);
    return state;
}

HRESULT SetPosition(IGraphBuilder* pGraph, double dPosition)
{
    CComPtr<IMediaPosition> pPosition;
    HRESULT hr = pPosition.QueryFrom(pGraph);
    if (FAILED(hr))
        return hr;
    CComPtr<IMediaControl> pControl;
    OAFilterState state = State_Stopped;
    if (SUCCEEDED(pControl.QueryFrom(pGraph)))
        pControl->GetState(0, &state);  // a state in transition reports where it is going

    // A moving graph is stopped for the move and then set going again, which every
    // engine handles; moving it in place hangs some of them on streams with both audio
    // and video.
    if (state != State_Stopped)
        pControl->Stop();
    hr = MoveTo(pGraph, pPosition.Get(), dPosition);
    if (state == State_Running)
        pControl->Run();
    else if (state == State_Paused)
        pControl->Pause();
    return hr;
}

HRESULT SetRate(IGraphBuilder* pGraph, double dRate)
{
    CComPtr<IMediaPosition> pPosition;
    HRESULT hr = pPosition.QueryFrom(pGraph);
    if (FAILED(hr))
        return hr;
    return PlaybackRate::Follow(pGraph, pPosition.Get(), dRate, pPosition->put_Rate(dRate));
}

HRESULT ShowFrameAt(IGraphBuilder* pGraph, double dPosition)
{
    // A stop time one frame ahead and a short run do not move the picture on every
    // engine; a move on the stopped graph followed by a pause shows the frame everywhere.
    CComPtr<IMediaPosition> pPosition;
    CComPtr<IMediaControl> pControl;
    HRESULT hr = pPosition.QueryFrom(pGraph);
    if (SUCCEEDED(hr))
        hr = pControl.QueryFrom(pGraph);
    if (FAILED(hr))
        return hr;
    pControl->Stop();
    hr = MoveTo(pGraph, pPosition.Get(), dPosition);
    pControl->Pause();
    return hr;
}

}  // namespace MediaGraph
