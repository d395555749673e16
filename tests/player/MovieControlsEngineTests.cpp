// The Movie Controls sheet on the real engine, in the test's process: what the Audio
// page's sliders and the Media page's position slider send is read back from the graph
// itself while the sheet is still up.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <memory>

#include "Holders.h"
#include "EngineGraph.h"
#include "MessageBoxWatcher.h"
#include "NTandrelDoc.h"
#include "SheetDriver.h"
#include "resource.h"
#include "TestEnv.h"
#include "TestHost.h"

namespace {

enum { kMedia = 0, kAudio = 2 };

struct Heard {
    long lVolume = 1, lBalance = 1;
};

Heard ReadAudio(IGraphBuilder* pGraph)
{
    Heard heard;
    CComPtr<IBasicAudio> pAudio;
    if (SUCCEEDED(pAudio.QueryFrom(pGraph))) {
        pAudio->get_Volume(&heard.lVolume);
        pAudio->get_Balance(&heard.lBalance);
    }
    return heard;
}

class MovieControlsEngine : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        m_pDoc.reset(new CNTandrelDoc());
    }
    void TearDown() override
    {
        m_pDoc.reset();
        DeleteSettingsKey();
    }

    CTestHost m_host;
    CMessageBoxWatcher m_boxes;
    std::unique_ptr<CNTandrelDoc> m_pDoc;
};

TEST_F(MovieControlsEngine, SlidersAreHeardAtOnceAndTheSeekKeepsPlaying)
{
    ASSERT_TRUE(m_pDoc->OnOpenDocument(MediaPath("clip10.mpg").c_str()));
    m_pDoc->Play();
    ASSERT_EQ(m_pDoc->m_nPlayState, PLAY_RUNNING);

    Heard atOpening, afterVolume, afterBalance;
    double dAfterSeek = -1;
    OAFilterState stateAfterSeek = State_Stopped;
    CSheetDriver::Steps steps = [&](HWND hSheet) {
        atOpening = ReadAudio(MediaGraph::BuilderOf(m_pDoc->m_pGraph.get()));
        CSheetDriver::ShowPage(hSheet, kAudio);
        CSheetDriver::MoveSlider(hSheet, IDC_VOLUME, -2500);
        afterVolume = ReadAudio(MediaGraph::BuilderOf(m_pDoc->m_pGraph.get()));
        CSheetDriver::MoveSlider(hSheet, IDC_BALANCE, 3000);
        afterBalance = ReadAudio(MediaGraph::BuilderOf(m_pDoc->m_pGraph.get()));

        CSheetDriver::ShowPage(hSheet, kMedia);
        CSheetDriver::MoveSlider(hSheet, IDC_POSITION, 700, TB_THUMBTRACK);
        m_pDoc->GetPosition(&dAfterSeek);
        stateAfterSeek = MediaGraph::GetState(MediaGraph::BuilderOf(m_pDoc->m_pGraph.get()), 2000);
    };
    {
        CSheetDriver driver(steps);
        m_pDoc->Configure();
        ASSERT_TRUE(driver.Ran());
    }
    EXPECT_EQ(atOpening.lVolume, -1000) << "the stored volume is sent as the sheet opens";
    EXPECT_EQ(afterVolume.lVolume, -2500);
    EXPECT_EQ(afterBalance.lBalance, 3000);
    EXPECT_NEAR(dAfterSeek, 7.0, 0.3);
    EXPECT_EQ(stateAfterSeek, State_Running);
    // Closed without Finish: what the sliders applied stays.
    EXPECT_EQ(m_pDoc->m_lVolume, -2500);
    EXPECT_EQ(m_pDoc->m_lBalance, 3000);
    for (const std::string& text : m_boxes.Texts())
        ADD_FAILURE() << "message shown: " << text;
}

}  // namespace
