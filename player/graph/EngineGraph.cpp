// The document's graph on the engine: each call asks the filter graph for the interface it
// needs, for that call only, and goes through the boundary's adaptations.
#include "EngineGraph.h"

#include <utility>

#include "GraphEnd.h"
#include "GraphPlayout.h"
#include "WaveCopy.h"

namespace {

// The longest the Stop command waits for the picture at the start to be cued.
const DWORD kCueWaitMs = 5000;

class CEngineGraph : public CMediaGraph {
public:
    explicit CEngineGraph(CComPtr<IGraphBuilder> pGraph) : m_pGraph(std::move(pGraph)) {}

    IGraphBuilder* Builder() const { return m_pGraph.Get(); }

    HRESULT RenderFile(const char* pszPath) override
    {
        HRESULT hr = MediaGraph::RenderFile(m_pGraph, pszPath);
        // An AIFF-C file of mu-law or A-law sound, which the engine refuses, plays from a
        // WAV copy of the same sound; the media is still the file the document opened.
        if (FAILED(hr) && hr != VFW_E_TIMEOUT && m_waveCopy.WriteFrom(pszPath)) {
            MediaGraph::EmptyGraph(m_pGraph);
            const HRESULT hrCopy = MediaGraph::RenderFile(m_pGraph, m_waveCopy.Path());
            if (SUCCEEDED(hrCopy) || hrCopy == VFW_E_TIMEOUT)
                hr = hrCopy;
        }
        if (SUCCEEDED(hr))
            m_dFileBytesPerSecond = FileBytesPerSecond(pszPath);
        // The engine is still building the graph: it is asked nothing more (each call fails
        // without it), and kept until this graph goes, with the event handle it owns.
        if (hr == VFW_E_TIMEOUT)
            m_pStillRendering = std::move(m_pGraph);
        return hr;
    }

    HRESULT GetEventHandle(HANDLE* phEvent) override
    {
        CComPtr<IMediaEvent> pEvent;
        HRESULT hr = pEvent.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return hr;
        OAEVENT hEvent = 0;
        hr = pEvent->GetEventHandle(&hEvent);
        if (SUCCEEDED(hr))
            *phEvent = reinterpret_cast<HANDLE>(hEvent);
        return hr;
    }

    HRESULT TakeEvent(long* plCode) override
    {
        CComPtr<IMediaEvent> pEvent;
        HRESULT hr = pEvent.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return hr;
        LONG_PTR lParam1 = 0, lParam2 = 0;
        hr = pEvent->GetEvent(plCode, &lParam1, &lParam2, 0);
        if (SUCCEEDED(hr))
            pEvent->FreeEventParams(*plCode, lParam1, lParam2);
        return hr;
    }

    HRESULT Run() override { return Control(&IMediaControl::Run); }
    HRESULT Pause() override { return Control(&IMediaControl::Pause); }

    HRESULT StopAtStart(bool bShowStart) override
    {
        CComPtr<IMediaControl> pControl;
        HRESULT hr = pControl.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return hr;
        pControl->Stop();
        CComPtr<IMediaPosition> pPosition;
        hr = pPosition.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return bShowStart ? S_OK : hr;  // stopped where it was
        // Moved on the stopped graph, which every engine handles; paused there, it shows
        // the picture at the start, and stopped again, it keeps showing it.
        MediaGraph::MoveTo(m_pGraph, pPosition.Get(), 0.0);
        if (bShowStart) {
            pControl->Pause();
            OAFilterState state = State_Stopped;
            pControl->GetState(kCueWaitMs, &state);
            pControl->Stop();
        }
        return S_OK;
    }

    GraphState GetState(DWORD dwMilliseconds) override
    {
        switch (MediaGraph::GetState(m_pGraph, dwMilliseconds)) {
        case State_Running:
            return GRAPH_RUNNING;
        case State_Paused:
            return GRAPH_PAUSED;
        default:
            return GRAPH_STOPPED;
        }
    }

    HRESULT GetDuration(double* pdDuration) override
    {
        return Read(&IMediaPosition::get_Duration, pdDuration);
    }

    HRESULT GetCurrentPosition(double* pdPosition) override
    {
        REFTIME dReported = 0;
        HRESULT hr = Read(&IMediaPosition::get_CurrentPosition, &dReported);
        if (SUCCEEDED(hr))
            *pdPosition = MediaGraph::MediaPosition(m_pGraph, Duration(), dReported);
        return hr;
    }

    HRESULT GetStopTime(double* pdStop) override
    {
        REFTIME dReported = 0;
        HRESULT hr = Read(&IMediaPosition::get_StopTime, &dReported);
        if (SUCCEEDED(hr))
            *pdStop = MediaGraph::MediaStopTime(m_pGraph, Duration(), dReported);
        return hr;
    }

    HRESULT GetPrerollTime(double* pdPreroll) override
    {
        return Read(&IMediaPosition::get_PrerollTime, pdPreroll);
    }

    HRESULT SetPosition(double dPosition) override
    {
        return MediaGraph::SetPosition(m_pGraph, dPosition);
    }

    HRESULT ShowFrameAt(double dPosition) override
    {
        CComPtr<IMediaControl> pControl;
        HRESULT hr = pControl.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return hr;
        pControl.Release();
        MediaGraph::ShowFrameAt(m_pGraph, dPosition);
        return S_OK;
    }

    HRESULT SetRate(double dRate) override { return MediaGraph::SetRate(m_pGraph, dRate); }

    HRESULT SetVolume(long lVolume) override { return Audio(&IBasicAudio::put_Volume, lVolume); }
    HRESULT SetBalance(long lBalance) override
    {
        return Audio(&IBasicAudio::put_Balance, lBalance);
    }

    DWORD SoundPlayOutMs() override { return MediaGraph::SoundPlayOutMs(m_pGraph, m_dFileBytesPerSecond); }

    bool HasVideo() override { return MediaGraph::HasVideo(m_pGraph); }

    HRESULT GetVideoFacts(VideoFacts* pFacts) override
    {
        CComPtr<IBasicVideo> pVideo;
        HRESULT hr = pVideo.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return hr;
        // Each value is taken only when the engine gives it.
        long l = 0;
        if (SUCCEEDED(pVideo->get_VideoWidth(&l)))
            pFacts->lWidth = l;
        if (SUCCEEDED(pVideo->get_VideoHeight(&l)))
            pFacts->lHeight = l;
        REFTIME d = 0;
        if (SUCCEEDED(pVideo->get_AvgTimePerFrame(&d)))
            pFacts->dAvgTimePerFrame = d;
        if (SUCCEEDED(pVideo->get_BitRate(&l)))
            pFacts->lBitRate = l;
        if (SUCCEEDED(pVideo->get_BitErrorRate(&l)))
            pFacts->lBitErrorRate = l;
        return S_OK;
    }

    bool HasVideoWindow() override
    {
        CComPtr<IVideoWindow> pVideo;
        return SUCCEEDED(pVideo.QueryFrom(m_pGraph));
    }

    HRESULT AttachVideo(HWND hwndOwner, long lLeft, long lTop, long lWidth, long lHeight) override
    {
        return WithVideoWindow([&](IVideoWindow* pVideo) {
            OAHWND hOwner = reinterpret_cast<OAHWND>(hwndOwner);
            pVideo->put_Owner(hOwner);
            pVideo->put_MessageDrain(hOwner);
            pVideo->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
            return pVideo->SetWindowPosition(lLeft, lTop, lWidth, lHeight);
        });
    }

    HRESULT SetVideoPosition(long lLeft, long lTop, long lWidth, long lHeight) override
    {
        return WithVideoWindow([&](IVideoWindow* pVideo) {
            return pVideo->SetWindowPosition(lLeft, lTop, lWidth, lHeight);
        });
    }

    HRESULT SetFullScreen(bool bFullScreen) override
    {
        return WithVideoWindow([&](IVideoWindow* pVideo) {
            return pVideo->put_FullScreenMode(bFullScreen ? OATRUE : OAFALSE);
        });
    }

    HRESULT DetachVideo() override
    {
        CComPtr<IVideoWindow> pVideo;
        HRESULT hr = pVideo.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return hr;
        // Waiting for completion lasts as long as a running media still plays; the user
        // interface must not hang on it, so a graph that is not stopped is stopped first,
        // and one that would not stop is not waited for.
        CComPtr<IMediaControl> pControl;
        if (SUCCEEDED(pControl.QueryFrom(m_pGraph)) &&
            MediaGraph::GetState(m_pGraph, 0) != State_Stopped)
            pControl->Stop();
        CComPtr<IMediaEvent> pEvent;
        if (SUCCEEDED(pEvent.QueryFrom(m_pGraph))) {
            long lCode = 0;
            pEvent->WaitForCompletion(0, &lCode);
        }
        pVideo->put_Visible(OAFALSE);
        pVideo->put_Owner(0);
        return S_OK;
    }

private:
    // Calls call with the graph's video window; the query's failure when there is none.
    template <class Call>
    HRESULT WithVideoWindow(Call call)
    {
        CComPtr<IVideoWindow> pVideo;
        HRESULT hr = pVideo.QueryFrom(m_pGraph);
        return SUCCEEDED(hr) ? call(pVideo.Get()) : hr;
    }

    HRESULT Control(HRESULT (STDMETHODCALLTYPE IMediaControl::*pfnCall)())
    {
        CComPtr<IMediaControl> pControl;
        HRESULT hr = pControl.QueryFrom(m_pGraph);
        return SUCCEEDED(hr) ? (pControl.Get()->*pfnCall)() : hr;
    }

    HRESULT Read(HRESULT (STDMETHODCALLTYPE IMediaPosition::*pfnGet)(REFTIME*), double* pd)
    {
        CComPtr<IMediaPosition> pPosition;
        HRESULT hr = pPosition.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return hr;
        REFTIME d = 0;
        hr = (pPosition.Get()->*pfnGet)(&d);
        if (SUCCEEDED(hr))
            *pd = d;
        // E_NOINTERFACE is kept for a graph without positions; a stream that cannot tell
        // a time fails otherwise.
        return hr == E_NOINTERFACE ? E_FAIL : hr;
    }

    // The duration for the position rules: 0 (unknown) when the engine does not give it.
    REFTIME Duration()
    {
        REFTIME dDuration = 0;
        Read(&IMediaPosition::get_Duration, &dDuration);
        return dDuration;
    }

    HRESULT Audio(HRESULT (STDMETHODCALLTYPE IBasicAudio::*pfnPut)(long), long lValue)
    {
        CComPtr<IBasicAudio> pAudio;
        HRESULT hr = pAudio.QueryFrom(m_pGraph);
        if (FAILED(hr))
            return hr;
        (pAudio.Get()->*pfnPut)(lValue);
        return S_OK;
    }

    // The size of the media's file over its duration; 0 when either is unknown.
    double FileBytesPerSecond(const char* pszPath)
    {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        double dDuration = 0;
        if (!GetFileAttributesExA(pszPath, GetFileExInfoStandard, &data) || FAILED(GetDuration(&dDuration)) ||
            !(dDuration > 0))
            return 0;
        const double dBytes = static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
        return dBytes / dDuration;
    }

    CWaveCopy m_waveCopy;  // declared first: it goes once the engine has let go of it
    double m_dFileBytesPerSecond = 0;
    CComPtr<IGraphBuilder> m_pGraph;
    CComPtr<IGraphBuilder> m_pStillRendering;
};

HRESULT CreateOnEngine(std::unique_ptr<CMediaGraph>* ppGraph)
{
    IGraphBuilder* pBuilder = nullptr;
    HRESULT hr = MediaGraph::Create(&pBuilder);
    if (SUCCEEDED(hr))
        ppGraph->reset(new CEngineGraph(CComPtr<IGraphBuilder>::Adopt(pBuilder)));
    return hr;
}

MediaGraph::PFN_CREATEMEDIAGRAPH g_pfnCreate = CreateOnEngine;

}  // namespace

namespace MediaGraph {

HRESULT CreateGraph(std::unique_ptr<CMediaGraph>* ppGraph)
{
    ppGraph->reset();
    HRESULT hr = g_pfnCreate(ppGraph);
    if (FAILED(hr))
        ppGraph->reset();
    return hr;
}

PFN_CREATEMEDIAGRAPH SetGraphFactory(PFN_CREATEMEDIAGRAPH pfnCreate)
{
    PFN_CREATEMEDIAGRAPH pfnOld = g_pfnCreate;
    g_pfnCreate = pfnCreate != nullptr ? pfnCreate : CreateOnEngine;
    return pfnOld;
}

IGraphBuilder* BuilderOf(CMediaGraph* pGraph)
{
    CEngineGraph* pEngine = dynamic_cast<CEngineGraph*>(pGraph);
    return pEngine != nullptr ? pEngine->Builder() : nullptr;
}

}  // namespace MediaGraph
