#include "FakeGraph.h"

#include <cstdio>
#include <cstdlib>

// The graph the document holds: every call acts on the test's media.
class CFakeMediaGraph : public CMediaGraph {
public:
    explicit CFakeMediaGraph(CFakeGraph& media) : m(media) { ++m.m_nHolders; }
    ~CFakeMediaGraph() override { --m.m_nHolders; }
    CFakeMediaGraph(const CFakeMediaGraph&) = delete;
    CFakeMediaGraph& operator=(const CFakeMediaGraph&) = delete;

    const CFakeGraph& Media() const { return m; }

    HRESULT RenderFile(const char* pszPath) override
    {
        HRESULT hr = m.Result("RenderFile");
        if (SUCCEEDED(hr))
            m.m_strRendered = pszPath;
        return hr;
    }

    HRESULT GetEventHandle(HANDLE* phEvent) override
    {
        HRESULT hr = Needs(CFakeGraph::kEvents, "GetEventHandle");
        if (SUCCEEDED(hr))
            *phEvent = m.m_hEvent;
        return hr;
    }

    HRESULT TakeEvent(long* plCode) override
    {
        HRESULT hr = Needs(CFakeGraph::kEvents, "TakeEvent");
        if (FAILED(hr))
            return hr;
        if (m.m_events.empty())
            return E_ABORT;
        *plCode = m.m_events.front();
        m.m_events.pop_front();
        m.UpdateEventSignal();
        return hr;
    }

    HRESULT Run() override { return Move("Run", GRAPH_RUNNING); }
    HRESULT Pause() override { return Move("Pause", GRAPH_PAUSED); }

    HRESULT StopAtStart(bool bShowStart) override
    {
        if (!m.Has(CFakeGraph::kControl))
            return E_NOINTERFACE;
        Move("Stop", GRAPH_STOPPED);
        if (!m.Has(CFakeGraph::kPosition))
            return bShowStart ? S_OK : E_NOINTERFACE;
        if (SUCCEEDED(m.Result("SetPosition")))
            m.m_dPosition = 0.0;
        return S_OK;
    }

    GraphState GetState(DWORD) override { return m.m_state; }

    HRESULT GetDuration(double* pd) override { return Read("GetDuration", m.m_dDuration, pd); }
    HRESULT GetCurrentPosition(double* pd) override
    {
        return Read("GetCurrentPosition", m.m_dPosition, pd);
    }
    HRESULT GetStopTime(double* pd) override { return Read("GetStopTime", m.m_dStopTime, pd); }
    // A time this engine does not give: the caller's value stays.
    HRESULT GetPrerollTime(double*) override
    {
        return m.Has(CFakeGraph::kPosition) ? E_NOTIMPL : E_NOINTERFACE;
    }

    HRESULT SetPosition(double dPosition) override
    {
        HRESULT hr = Needs(CFakeGraph::kPosition, "SetPosition");
        if (SUCCEEDED(hr))
            m.m_dPosition = dPosition;
        return hr;
    }

    HRESULT ShowFrameAt(double dPosition) override
    {
        if (!m.Has(CFakeGraph::kControl))
            return E_NOINTERFACE;
        if (m.Has(CFakeGraph::kPosition))
            m.m_dPosition = dPosition;
        m.m_state = GRAPH_PAUSED;
        return S_OK;
    }

    HRESULT SetRate(double dRate) override
    {
        if (!m.Has(CFakeGraph::kPosition))
            return E_NOINTERFACE;
        if (!(dRate > 0.0))
            return E_INVALIDARG;
        HRESULT hr = m.Result("SetRate");
        if (SUCCEEDED(hr))
            m.m_dRate = dRate;
        return hr;
    }

    // Values beyond the engine's scale are refused by it, and the sound stays as it was.
    HRESULT SetVolume(long lVolume) override
    {
        if (!m.Has(CFakeGraph::kAudio))
            return E_NOINTERFACE;
        if (lVolume >= -10000 && lVolume <= 0)
            m.m_lVolume = lVolume;
        return S_OK;
    }

    HRESULT SetBalance(long lBalance) override
    {
        if (!m.Has(CFakeGraph::kAudio))
            return E_NOINTERFACE;
        if (lBalance >= -10000 && lBalance <= 10000)
            m.m_lBalance = lBalance;
        return S_OK;
    }

    DWORD SoundPlayOutMs() override
    {
        return m.m_state == GRAPH_RUNNING ? m.m_dwPlayOutMs : 0;
    }

    bool HasVideo() override { return m.Has(CFakeGraph::kPicture) && m.m_video.lWidth > 0; }

    HRESULT GetVideoFacts(VideoFacts* pFacts) override
    {
        HRESULT hr = Needs(CFakeGraph::kPicture, "GetVideoFacts");
        if (SUCCEEDED(hr))
            *pFacts = m.m_video;
        return hr;
    }

    bool HasVideoWindow() override { return m.Has(CFakeGraph::kVideoWindow); }

    HRESULT AttachVideo(HWND hwndOwner, long lLeft, long lTop, long lWidth, long lHeight) override
    {
        HRESULT hr = Needs(CFakeGraph::kVideoWindow, "AttachVideo");
        if (SUCCEEDED(hr)) {
            m.m_hwndOwner = hwndOwner;
            m.m_rcWindow = RECT{lLeft, lTop, lWidth, lHeight};
        }
        return hr;
    }

    HRESULT SetVideoPosition(long lLeft, long lTop, long lWidth, long lHeight) override
    {
        HRESULT hr = Needs(CFakeGraph::kVideoWindow, "SetVideoPosition");
        if (SUCCEEDED(hr))
            m.m_rcWindow = RECT{lLeft, lTop, lWidth, lHeight};
        return hr;
    }

    HRESULT SetFullScreen(bool bFullScreen) override
    {
        HRESULT hr = Needs(CFakeGraph::kVideoWindow, "SetFullScreen");
        if (SUCCEEDED(hr))
            m.m_bFullScreen = bFullScreen;
        return hr;
    }

    // A moving media is stopped, never waited for.
    HRESULT DetachVideo() override
    {
        if (!m.Has(CFakeGraph::kVideoWindow))
            return E_NOINTERFACE;
        if (m.m_state != GRAPH_STOPPED)
            Move("Stop", GRAPH_STOPPED);
        m.m_bVisible = false;
        m.m_hwndOwner = nullptr;
        return S_OK;
    }

private:
    // E_NOINTERFACE without the part, else the call's scripted result.
    HRESULT Needs(CFakeGraph::Part part, const char* pszCall) const
    {
        return m.Has(part) ? m.Result(pszCall) : E_NOINTERFACE;
    }

    HRESULT Move(const char* pszCall, GraphState state)
    {
        HRESULT hr = Needs(CFakeGraph::kControl, pszCall);
        if (SUCCEEDED(hr))
            m.m_state = state;
        return hr;
    }

    HRESULT Read(const char* pszCall, double dValue, double* pd) const
    {
        HRESULT hr = Needs(CFakeGraph::kPosition, pszCall);
        if (SUCCEEDED(hr))
            *pd = dValue;
        return hr;
    }

    CFakeGraph& m;
};

CFakeGraph::CFakeGraph() : m_hEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CFakeGraph::~CFakeGraph()
{
    if (m_hEvent != nullptr)
        CloseHandle(m_hEvent);
}

void CFakeGraph::SetVideoSize(long cx, long cy)
{
    m_video.lWidth = cx;
    m_video.lHeight = cy;
}

void CFakeGraph::QueueEvent(long lCode)
{
    m_events.push_back(lCode);
    UpdateEventSignal();
}

HRESULT CFakeGraph::Result(const char* pszCall) const
{
    auto it = m_results.find(pszCall);
    return it == m_results.end() ? S_OK : it->second;
}

void CFakeGraph::UpdateEventSignal()
{
    if (m_hEvent == nullptr)
        return;
    if (m_events.empty())
        ResetEvent(m_hEvent);
    else
        SetEvent(m_hEvent);
}

bool Plays(const std::unique_ptr<CMediaGraph>& pGraph, const CFakeGraph& media)
{
    const CFakeMediaGraph* pFake = dynamic_cast<const CFakeMediaGraph*>(pGraph.get());
    return pFake != nullptr && &pFake->Media() == &media;
}

namespace {
CFakeGraphFactory* s_pFactory = nullptr;
}

CFakeGraphFactory::CFakeGraphFactory()
{
    if (s_pFactory != nullptr) {
        std::fputs("CFakeGraphFactory: a second factory was installed\n", stderr);
        std::abort();
    }
    s_pFactory = this;
    m_pfnPrevious = MediaGraph::SetGraphFactory(&CFakeGraphFactory::Create);
}

CFakeGraphFactory::~CFakeGraphFactory()
{
    MediaGraph::SetGraphFactory(m_pfnPrevious);
    s_pFactory = nullptr;
}

HRESULT CFakeGraphFactory::Create(std::unique_ptr<CMediaGraph>* ppGraph)
{
    if (s_pFactory == nullptr)
        return E_UNEXPECTED;
    if (s_pFactory->m_queue.empty())
        return s_pFactory->m_hrEmpty;
    CFakeGraph* pMedia = s_pFactory->m_queue.front();
    s_pFactory->m_queue.pop_front();
    ppGraph->reset(new CFakeMediaGraph(*pMedia));
    ++s_pFactory->m_nCreated;
    return S_OK;
}
