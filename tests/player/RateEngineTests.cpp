// The playback rate through the graph boundary on the real engine: a media with a picture
// reaches its end at the rate, with its sound taken out until rate 1 brings it back; sound
// alone keeps normal speed and its sound; no rate is refused silently as a speed.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include "Holders.h"
#include "MediaGraph.h"
#include "RateClock.h"
#include "TestEnv.h"

namespace {

// The end of a two-second clip at any rate here comes well within this.
const DWORD kEndWaitMs = 10000;

class CGraph {
public:
    explicit CGraph(const char* pszMedia)
    {
        EXPECT_TRUE(SUCCEEDED(MediaGraph::Create(&m_pGraph)));
        if (m_pGraph == nullptr)
            return;
        EXPECT_TRUE(SUCCEEDED(MediaGraph::RenderFile(m_pGraph, MediaPath(pszMedia).c_str())));
        m_pControl.QueryFrom(m_pGraph);
        m_pEvent.QueryFrom(m_pGraph);
    }
    ~CGraph()
    {
        if (m_pControl)
            m_pControl->Stop();
    }
    CGraph(const CGraph&) = delete;
    CGraph& operator=(const CGraph&) = delete;

    IGraphBuilder* Get() const { return m_pGraph; }
    void Run() { m_pControl->Run(); }
    void Stop() { m_pControl->Stop(); }

    // Takes every event still queued, so that an end of stream counts only when it comes.
    void DrainEvents()
    {
        long lCode = 0;
        LONG_PTR l1 = 0, l2 = 0;
        while (SUCCEEDED(m_pEvent->GetEvent(&lCode, &l1, &l2, 0)))
            m_pEvent->FreeEventParams(lCode, l1, l2);
    }

    // The seconds from now until the end of the stream, or -1 when it does not come.
    double SecondsToEnd()
    {
        OAEVENT hEvent = 0;
        m_pEvent->GetEventHandle(&hEvent);
        const DWORD dwStart = GetTickCount();
        while (GetTickCount() - dwStart < kEndWaitMs) {
            if (WaitForSingleObject(reinterpret_cast<HANDLE>(hEvent), 100) != WAIT_OBJECT_0)
                continue;
            long lCode = 0;
            LONG_PTR l1 = 0, l2 = 0;
            while (SUCCEEDED(m_pEvent->GetEvent(&lCode, &l1, &l2, 0))) {
                m_pEvent->FreeEventParams(lCode, l1, l2);
                if (lCode == EC_COMPLETE)
                    return (GetTickCount() - dwStart) / 1000.0;
            }
        }
        return -1;
    }

    // Whether the filter that renders sound is fed by the media.
    bool SoundConnected()
    {
        CComPtr<IEnumFilters> pFilters;
        if (FAILED(m_pGraph->EnumFilters(&pFilters)))
            return false;
        for (;;) {
            CComPtr<IBaseFilter> pFilter;
            if (pFilters->Next(1, &pFilter, nullptr) != S_OK)
                return false;
            CComPtr<IBasicAudio> pAudio;
            if (FAILED(pAudio.QueryFrom(pFilter.Get())))
                continue;
            CComPtr<IEnumPins> pPins;
            CComPtr<IPin> pPin, pPeer;
            return SUCCEEDED(pFilter->EnumPins(&pPins)) && pPins->Next(1, &pPin, nullptr) == S_OK &&
                   SUCCEEDED(pPin->ConnectedTo(&pPeer));
        }
    }

    bool OnOwnClock()
    {
        CRateClock* pClock = CRateClock::FromGraph(m_pGraph);
        if (pClock != nullptr)
            pClock->Release();
        return pClock != nullptr;
    }

private:
    CComPtr<IGraphBuilder> m_pGraph;
    CComPtr<IMediaControl> m_pControl;
    CComPtr<IMediaEvent> m_pEvent;
};

// Picture and sound (MJPEG and PCM, two seconds): at rate 4, set while it plays, the end
// comes in about half a second, the sound taken out; rate 1 brings the sound back.
TEST(RateEngine, APictureWithSoundEndsAtTheRateAndGetsItsSoundBackAtOne)
{
    CGraph graph("clip.avi");
    ASSERT_NE(graph.Get(), nullptr);
    ASSERT_TRUE(graph.SoundConnected());
    {
        CComPtr<IBasicAudio> pAudio;
        ASSERT_TRUE(SUCCEEDED(pAudio.QueryFrom(graph.Get())));
        pAudio->put_Volume(-2000);
    }
    graph.Run();
    ASSERT_EQ(MediaGraph::GetState(graph.Get(), 5000), State_Running);
    EXPECT_EQ(MediaGraph::SetRate(graph.Get(), 4.0), S_OK);
    EXPECT_EQ(MediaGraph::GetState(graph.Get(), 5000), State_Running) << "the rate stopped the play";
    EXPECT_FALSE(graph.SoundConnected());
    const double dFast = graph.SecondsToEnd();
    EXPECT_GE(dFast, 0.0) << "no end of stream at rate 4";
    EXPECT_LT(dFast, 1.5) << "at rate 4 the clip took as long as at normal speed";

    // A rate that is no speed is refused and the speed stays.
    EXPECT_TRUE(FAILED(MediaGraph::SetRate(graph.Get(), 0.0)));
    EXPECT_TRUE(graph.OnOwnClock());

    // The volume a person sets while the sound is out is the one it comes back with.
    CComPtr<IBasicAudio> pAudio;
    ASSERT_TRUE(SUCCEEDED(pAudio.QueryFrom(graph.Get())));
    EXPECT_EQ(pAudio->put_Volume(-600), S_OK);

    graph.Stop();
    EXPECT_EQ(MediaGraph::SetRate(graph.Get(), 1.0), S_OK);
    EXPECT_TRUE(graph.SoundConnected()) << "rate 1 did not bring the sound back";
    long lVolume = 0;
    EXPECT_EQ(pAudio->get_Volume(&lVolume), S_OK);
    EXPECT_EQ(lVolume, -600);
    EXPECT_FALSE(graph.OnOwnClock());
    ASSERT_TRUE(SUCCEEDED(MediaGraph::SetPosition(graph.Get(), 0.0)));
    graph.DrainEvents();
    graph.Run();
    const double dNormal = graph.SecondsToEnd();
    EXPECT_GT(dNormal, 1.5) << "back at rate 1 the clip still plays fast";
}

// Sound alone follows no clock on this engine: it keeps normal speed and its sound.
TEST(RateEngine, SoundAloneKeepsItsSoundAndReachesItsEnd)
{
    CGraph graph("clip.wav");
    ASSERT_NE(graph.Get(), nullptr);
    EXPECT_EQ(MediaGraph::SetRate(graph.Get(), 2.0), S_OK);
    EXPECT_TRUE(graph.SoundConnected());
    EXPECT_FALSE(graph.OnOwnClock());
    graph.Run();
    EXPECT_GE(graph.SecondsToEnd(), 0.0) << "no end of stream at rate 2";
}

// A picture alone at half speed: the two-second clip takes about four.
TEST(RateEngine, APictureAloneSlowsDown)
{
    CGraph graph("clip.mov");
    ASSERT_NE(graph.Get(), nullptr);
    EXPECT_EQ(MediaGraph::SetRate(graph.Get(), 0.5), S_OK);
    graph.Run();
    const double dSlow = graph.SecondsToEnd();
    EXPECT_GT(dSlow, 3.0);
}

}  // namespace
