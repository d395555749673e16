// The playback rate through the graph boundary on the real engine: every media with sound,
// sound alone included, reaches its end at the rate with its sound fed; rate 1 plays at
// normal speed at the volume set; no rate is refused silently as a speed.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include "Holders.h"
#include "EngineGraph.h"
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

struct RateRow {
    const char* pszMedia;
    double dRate;
    bool bWhilePlaying;  // the rate is set once the media plays, else before
};

std::ostream& operator<<(std::ostream& os, const RateRow& row)
{
    return os << row.pszMedia << " at " << row.dRate;
}

// Two-second media with sound: the end of the stream comes after the media's length over
// the rate, with the sound still fed, on the player's clock; a rate that is no speed
// changes nothing. The engine reports the end of sound when its renderer has the last
// sample, with up to 0.3 s still to play, and a picture's up to 0.35 s late.
class RateEngineKind : public testing::TestWithParam<RateRow> {};

TEST_P(RateEngineKind, EndsAfterItsLengthOverTheRateWithItsSoundFed)
{
    const RateRow& row = GetParam();
    CGraph graph(row.pszMedia);
    ASSERT_NE(graph.Get(), nullptr);
    if (!row.bWhilePlaying) {
        EXPECT_EQ(MediaGraph::SetRate(graph.Get(), row.dRate), S_OK);
    }
    graph.Run();
    ASSERT_EQ(MediaGraph::GetState(graph.Get(), 5000), State_Running);
    if (row.bWhilePlaying) {
        EXPECT_EQ(MediaGraph::SetRate(graph.Get(), row.dRate), S_OK);
        EXPECT_EQ(MediaGraph::GetState(graph.Get(), 5000), State_Running) << "the rate stopped the play";
    }
    EXPECT_TRUE(graph.SoundConnected()) << "the sound was taken out";
    EXPECT_TRUE(graph.OnOwnClock());
    EXPECT_TRUE(FAILED(MediaGraph::SetRate(graph.Get(), 0.0)));
    const double dEnd = graph.SecondsToEnd();
    EXPECT_GT(dEnd, 2.0 / row.dRate - 0.3) << "no end of stream, or too soon";
    EXPECT_LT(dEnd, 2.0 / row.dRate + 0.35);
}

INSTANTIATE_TEST_SUITE_P(Rows, RateEngineKind,
                         testing::Values(RateRow{"clip.avi", 4.0, true}, RateRow{"clip.wav", 2.0, false},
                                         RateRow{"clip.au", 0.5, false}, RateRow{"clip.aif", 2.0736, true}));

// The volume a person set before and while the sound was stretched is the one it plays at;
// back at rate 1 the clip takes its two seconds again.
TEST(RateEngine, RateOneAfterAnotherPlaysAtNormalSpeedAtTheVolumeSet)
{
    CGraph graph("clip.avi");
    ASSERT_NE(graph.Get(), nullptr);
    CComPtr<IBasicAudio> pAudio;
    ASSERT_TRUE(SUCCEEDED(pAudio.QueryFrom(graph.Get())));
    pAudio->put_Volume(-2000);
    EXPECT_EQ(MediaGraph::SetRate(graph.Get(), 4.0), S_OK);
    long lVolume = 0;
    EXPECT_EQ(pAudio->get_Volume(&lVolume), S_OK);
    EXPECT_EQ(lVolume, -2000);
    EXPECT_EQ(pAudio->put_Volume(-600), S_OK);
    EXPECT_EQ(MediaGraph::SetRate(graph.Get(), 1.0), S_OK);
    EXPECT_EQ(pAudio->get_Volume(&lVolume), S_OK);
    EXPECT_EQ(lVolume, -600);
    EXPECT_TRUE(graph.SoundConnected());
    graph.Run();
    const double dNormal = graph.SecondsToEnd();
    EXPECT_GT(dNormal, 1.9) << "back at rate 1 the clip still plays fast";
    EXPECT_LT(dNormal, 2.4);
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
