// The control palette inside the running player: its buttons, their layout, tooltips
// and enabled states after idle processing, and the Loop button.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlBar.h"
#include "MainFrm.h"
#include "NTandrelApp.h"
#include "NTandrelDoc.h"
#include "PlayerProcess.h"
#include "TestEnv.h"
#include "resource.h"

CNTandrelApp theApp;

namespace {

// The buttons as the palette shows them, three to a row, each with its tooltip: the text
// after the newline of its prompt.
const struct { UINT nID; const char* pszTooltip; } kButtons[] = {
    {57601, "Open (Ctrl-O)"}, {32788, "Open File on Internet (Ctrl-S)"}, {32778, "Control Options (Ctrl-T)"},
    {32775, "Play (F2)"},     {32777, "Pause (F3)"},                     {32781, "Stop (F4)"},
    {32790, "Loop (F9)"},     {32791, "Volume Up (F5)"},                 {32795, "Volume Down (F6)"},
    {32787, "Step (F1)"},     {32779, "Help?"},                          {32780, "Exit (Ctrl-E)"}};

void Pump(DWORD dwMilliseconds)
{
    WaitFor([]() { return false; }, dwMilliseconds);
}

class Palette : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        std::string media = MediaPath("");
        SetCurrentDirectoryA(media.c_str());
        theApp.m_lpCmdLine = "";
        ASSERT_TRUE(theApp.InitInstance());
        ASSERT_NE(theApp.m_pMainWnd, nullptr);
        m_pFrame = static_cast<CMainFrame*>(theApp.m_pMainWnd);
        m_pPalette = m_pFrame->GetPalette();
        Idle();
    }
    void TearDown() override
    {
        if (theApp.m_pMainWnd != nullptr)
            theApp.m_pMainWnd->SendMessage(WM_CLOSE);
        theApp.ExitInstance();
    }
    void Idle()
    {
        theApp.OnIdle(0);
        Pump(50);
    }
    bool Enabled(UINT nID) { return m_pPalette->SendMessage(TB_ISBUTTONENABLED, nID) != 0; }
    std::string Tooltip(UINT nID)
    {
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = nullptr;
        info.hdr.idFrom = nID;
        info.hdr.code = TTN_GETDISPINFOA;
        ::SendMessageA(m_pPalette->GetFloatingFrame()->m_hWnd, WM_NOTIFY, nID,
                       reinterpret_cast<LPARAM>(&info));
        return info.lpszText != nullptr ? info.lpszText : "";
    }

    CMainFrame* m_pFrame = nullptr;
    CControlPalette* m_pPalette = nullptr;
};

TEST_F(Palette, TwelveFlatButtonsWithTooltipsThreeToARowInAFloatingWindowWithoutCloseBox)
{
    ASSERT_EQ(m_pPalette->GetCount(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(m_pPalette->GetItemID(i), kButtons[i].nID) << i;
        EXPECT_EQ(Tooltip(kButtons[i].nID), kButtons[i].pszTooltip) << kButtons[i].nID;
    }
    EXPECT_TRUE(m_pPalette->GetStyle() & TBSTYLE_FLAT);
    EXPECT_TRUE(m_pPalette->GetButtonStyle(6) & TBBS_CHECKBOX);

    RECT rcFirst;
    m_pPalette->SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcFirst));
    for (int i = 0; i < 12; ++i) {
        RECT rc;
        m_pPalette->SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rc));
        EXPECT_EQ(rc.left, rcFirst.left + (i % 3) * (rcFirst.right - rcFirst.left)) << i;
        EXPECT_EQ(rc.top, rcFirst.top + (i / 3) * (rcFirst.bottom - rcFirst.top)) << i;
    }

    CWnd* pFloat = m_pPalette->GetFloatingFrame();
    ASSERT_NE(pFloat, nullptr);
    EXPECT_TRUE(pFloat->IsWindowVisible());
    EXPECT_FALSE(pFloat->GetStyle() & WS_SYSMENU);
    EXPECT_EQ(CPlayerProcess::WindowText(pFloat->m_hWnd), "Tandrel98");
    EXPECT_EQ(GetWindow(pFloat->m_hWnd, GW_OWNER), m_pFrame->m_hWnd);
    RECT rc;
    pFloat->GetWindowRect(&rc);
    EXPECT_EQ(rc.left, 608);  // on 800 by 600
    EXPECT_EQ(rc.top, 290);
    // The window holds the palette whole.
    RECT rcClient;
    pFloat->GetClientRect(&rcClient);
    RECT rcLast;
    m_pPalette->SendMessage(TB_GETITEMRECT, 11, reinterpret_cast<LPARAM>(&rcLast));
    EXPECT_GE(rcClient.right, rcLast.right);
    EXPECT_GE(rcClient.bottom, rcLast.bottom);
}

TEST_F(Palette, EnabledStatesFollowThePlayStateAfterIdle)
{
    CNTandrelDoc* pDoc = theApp.m_pDoc;
    ASSERT_NE(pDoc, nullptr);
    struct {
        int nState;
        bool bPlay, bPause, bStop, bNeedsMedia;
    } rows[] = {{PLAY_RUNNING, false, true, true, true},
                {PLAY_PAUSED, true, false, true, true},
                {PLAY_STOPPED, true, true, false, true}};
    ASSERT_EQ(pDoc->m_nPlayState, PLAY_RUNNING);
    for (const auto& row : rows) {
        if (row.nState == PLAY_PAUSED)
            pDoc->Pause();
        if (row.nState == PLAY_STOPPED)
            pDoc->Stop();
        ASSERT_EQ(pDoc->m_nPlayState, row.nState);
        Idle();
        EXPECT_EQ(Enabled(ID_PLAY), row.bPlay) << row.nState;
        EXPECT_EQ(Enabled(ID_PAUSE), row.bPause) << row.nState;
        EXPECT_EQ(Enabled(ID_STOP), row.bStop) << row.nState;
        EXPECT_EQ(Enabled(ID_STEP), row.bNeedsMedia) << row.nState;
        EXPECT_EQ(Enabled(ID_CONTROL_OPTIONS), row.bNeedsMedia) << row.nState;
        // Buttons without an enable rule stay enabled.
        EXPECT_TRUE(Enabled(ID_FILE_OPEN));
        EXPECT_TRUE(Enabled(ID_EXIT));
        EXPECT_TRUE(Enabled(ID_GROUP_LOOP));
    }
    // With the document emptied everything that needs media goes grey.
    pDoc->DeleteContents();
    Idle();
    for (UINT nID : {ID_PLAY, ID_PAUSE, ID_STOP, ID_STEP, ID_CONTROL_OPTIONS})
        EXPECT_FALSE(Enabled(nID)) << nID;
}

TEST_F(Palette, TheLoopButtonTogglesGroupLoopAndShowsPressed)
{
    CNTandrelDoc* pDoc = theApp.m_pDoc;
    ASSERT_NE(pDoc, nullptr);
    const BOOL bBefore = pDoc->m_bGroupLoop;
    RECT rc;
    int nLoop = m_pPalette->CommandToIndex(ID_GROUP_LOOP);
    m_pPalette->SendMessage(TB_GETITEMRECT, nLoop, reinterpret_cast<LPARAM>(&rc));
    LPARAM lPoint = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    for (bool bPressed : {true, false}) {
        m_pPalette->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lPoint);
        m_pPalette->SendMessage(WM_LBUTTONUP, 0, lPoint);
        Pump(100);
        EXPECT_EQ(pDoc->m_bGroupLoop != 0, (bBefore != 0) != bPressed);
        EXPECT_EQ(m_pPalette->SendMessage(TB_ISBUTTONCHECKED, ID_GROUP_LOOP) != 0, bPressed);
    }
}

}  // namespace
