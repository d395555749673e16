#include "EngineGraph.h"

#include <utility>
#include <vector>

#include "CallbackType.h"

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

// How long a render may take before the player gives up on the media; the engine keeps
// the graph until its render returns. A local file renders in well under a second; this
// engine never returns from some damaged files (an AIFF-C file cut inside its header).
const DWORD kRenderBoundMs = 10000;

// One render handed to a worker thread, so that the thread that asked for it goes on
// answering its windows: the engine takes a tenth of a second and more to build a graph,
// which a group's next media must not cost the window. Two owners, the caller and the
// worker; the last one to let go frees it.
class CRenderJob {
public:
    CRenderJob(IGraphBuilder* pGraph, const WCHAR* pwszPath)
        : m_cRef(1), m_pGraph(pGraph), m_hr(E_PENDING), m_hDone(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
        m_pGraph->AddRef();
        lstrcpynW(m_wszPath, pwszPath, MAX_PATH);
    }
    CRenderJob(const CRenderJob&) = delete;
    CRenderJob& operator=(const CRenderJob&) = delete;

    void AddRef() { InterlockedIncrement(&m_cRef); }
    void Release()
    {
        if (InterlockedDecrement(&m_cRef) == 0)
            delete this;
    }
    HANDLE DoneHandle() const { return m_hDone.Get(); }
    // The engine's result, once DoneHandle is signalled.
    HRESULT Result() const { return m_hr; }

    // The worker thread; it is handed one reference, which it lets go of at its end.
    static DWORD WINAPI Run(LPVOID pParam)
    {
        CComPtr<CRenderJob> pJob = CComPtr<CRenderJob>::Adopt(static_cast<CRenderJob*>(pParam));
        // The filter graph manager serves any thread; the filters it creates for the media
        // live in this thread's apartment.
        const HRESULT hrInit = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        pJob->m_hr = FAILED(hrInit) ? hrInit : pJob->m_pGraph->RenderFile(pJob->m_wszPath, nullptr);
        SetEvent(pJob->m_hDone.Get());
        // A graph the caller gave up on is released here, in the apartment it was built in.
        pJob->m_pGraph->Release();
        pJob->m_pGraph = nullptr;
        if (SUCCEEDED(hrInit))
            CoUninitialize();
        return 0;
    }
    TANDREL_ASSERT_CALLBACK(LPTHREAD_START_ROUTINE, Run);

private:
    ~CRenderJob()
    {
        if (m_pGraph != nullptr)
            m_pGraph->Release();
    }

    LONG m_cRef;
    IGraphBuilder* m_pGraph;
    WCHAR m_wszPath[MAX_PATH];
    HRESULT m_hr;  // written before m_hDone is set, read after it is seen set
    CHandleHolder m_hDone;
};

// Waits for hDone at most dwMs, meanwhile delivering the messages other threads send to
// this thread's windows and their paints, and nothing else: no input, no command runs
// while the graph is built.
bool WaitAnswering(HANDLE hDone, DWORD dwMs)
{
    const DWORD dwStart = GetTickCount();
    for (;;) {
        const DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= dwMs)
            return false;
        const DWORD dwResult =
            MsgWaitForMultipleObjects(1, &hDone, FALSE, dwMs - dwElapsed, QS_SENDMESSAGE | QS_PAINT);
        if (dwResult == WAIT_OBJECT_0)
            return true;
        if (dwResult != WAIT_OBJECT_0 + 1)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_SENDMESSAGE | PM_QS_PAINT))
            DispatchMessageA(&msg);
    }
}

HRESULT RenderWide(IGraphBuilder* pGraph, const char* pszPath)
{
    WCHAR wszPath[MAX_PATH] = L"";
    if (MultiByteToWideChar(CP_ACP, 0, pszPath, -1, wszPath, MAX_PATH) == 0)
        return E_INVALIDARG;
    CComPtr<CRenderJob> pJob = CComPtr<CRenderJob>::Adopt(new CRenderJob(pGraph, wszPath));
    if (pJob->DoneHandle() == nullptr)
        return pGraph->RenderFile(wszPath, nullptr);
    pJob->AddRef();  // the worker's reference, which Run takes over
    CHandleHolder thread(CreateThread(nullptr, 0, CRenderJob::Run, pJob.Get(), 0, nullptr));
    if (!thread.IsValid()) {
        pJob->Release();  // the worker never started: its reference comes back
        return pGraph->RenderFile(wszPath, nullptr);
    }
    if (!WaitAnswering(pJob->DoneHandle(), kRenderBoundMs))
        return VFW_E_TIMEOUT;
    return pJob->Result();
}

}  // namespace

HRESULT RenderFile(IGraphBuilder* pGraph, const char* pszPath)
{
    HRESULT hr = RenderWide(pGraph, pszPath);
    if (hr == VFW_E_TIMEOUT)
        return hr;  // still being built by the engine: nothing more is asked of it
    RemoveUnconnectedRenderer(pGraph);
    if (SUCCEEDED(hr)) {
        PlayToTrueEnd(pGraph);
        EndSoundInSilence(pGraph);
    }
    return hr;
}

std::vector<CComPtr<IBaseFilter>> FiltersOf(IGraphBuilder* pGraph)
{
    std::vector<CComPtr<IBaseFilter>> filters;
    CComPtr<IEnumFilters> pFilters;
    if (pGraph == nullptr || FAILED(pGraph->EnumFilters(&pFilters)))
        return filters;
    for (;;) {
        CComPtr<IBaseFilter> pFilter;
        if (pFilters->Next(1, &pFilter, nullptr) != S_OK)
            return filters;
        filters.push_back(std::move(pFilter));
    }
}

bool IsEngineSoundRenderer(IBaseFilter* pFilter)
{
    CLSID clsid = {};
    return SUCCEEDED(pFilter->GetClassID(&clsid)) && clsid == CLSID_DSoundRender;
}

bool FedInput(IBaseFilter* pFilter, CComPtr<IPin>& pIn, CComPtr<IPin>& pOut)
{
    CComPtr<IEnumPins> pPins;
    if (FAILED(pFilter->EnumPins(&pPins)))
        return false;
    for (;;) {
        CComPtr<IPin> pPin;
        if (pPins->Next(1, &pPin, nullptr) != S_OK)
            return false;
        PIN_DIRECTION dir = PINDIR_OUTPUT;
        if (SUCCEEDED(pPin->QueryDirection(&dir)) && dir == PINDIR_INPUT &&
            SUCCEEDED(pPin->ConnectedTo(&pOut)) && pOut) {
            pIn = std::move(pPin);
            return true;
        }
    }
}

void EmptyGraph(IGraphBuilder* pGraph)
{
    for (const CComPtr<IBaseFilter>& pFilter : FiltersOf(pGraph))
        pGraph->RemoveFilter(pFilter.Get());
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
