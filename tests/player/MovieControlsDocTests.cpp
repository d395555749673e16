// The document's side of the Movie Controls sheet on a fake media: what the pages
// receive, what they apply while the sheet is up, and what Finish (and only Finish)
// brings back. The sheet and its pages are real windows, driven from their modal loop.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "DocumentFixture.h"
#include "NTandrelPageVideo.h"
#include "SheetDriver.h"
#include "TestEnv.h"
#include "resource.h"

namespace {

enum { kMedia = 0, kVideo = 1, kAudio = 2, kInformation = 3 };

std::string Text(HWND hWnd)
{
    char sz[256] = "";
    GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

void Click(HWND hSheet, int nID)
{
    SendMessageA(CSheetDriver::Control(hSheet, nID), BM_CLICK, 0, 0);
}

class MovieControlsDoc : public CDocumentFixture {
protected:
    void SetUp() override
    {
        CDocumentFixture::SetUp();
        CreateSettingsKey();
        m_pDoc.reset(new CNTandrelDoc);
    }

    // Opens a media of dDuration seconds, at dPosition.
    void Open(double dDuration, double dPosition = 0)
    {
        m_factory.Queue(&m_first);
        m_first.SetDuration(dDuration);
        ASSERT_TRUE(m_pDoc->OnOpenDocument("C:\\media\\clip.mpg"));
        m_first.SetPosition(dPosition);
    }

    // Runs Configure with the steps driving the sheet; the steps must have run.
    void Configure(CSheetDriver::Steps steps)
    {
        CSheetDriver driver(std::move(steps));
        m_pDoc->Configure();
        EXPECT_TRUE(driver.Ran()) << "the sheet never showed";
        EXPECT_EQ(m_pDoc->m_pControlSheet, nullptr);
        EXPECT_EQ(m_pDoc->m_pAudioPage, nullptr);
    }
};

TEST_F(MovieControlsDoc, OnlyFinishBringsThePagesValuesBack)
{
    Open(100);
    struct Row {
        const char* pszName;
        bool bFinish;
    } rows[] = {{"close box", false}, {"Finish", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        Configure([&](HWND hSheet) {
            SetWindowTextA(CSheetDriver::Control(hSheet, IDC_RATE), "2.5");
            Click(hSheet, IDC_LOOP);
            CSheetDriver::ShowPage(hSheet, kVideo);
            Click(hSheet, IDC_FULL_SCREEN);
            CSheetDriver::ShowPage(hSheet, kAudio);
            SendMessageA(CSheetDriver::Control(hSheet, IDC_TREBLE), TBM_SETPOS, TRUE, -4000);
            if (row.bFinish)
                CSheetDriver::Finish(hSheet);
        });
        EXPECT_EQ(m_pDoc->m_dRate, row.bFinish ? 2.5 : 1.0);
        EXPECT_EQ(m_first.Rate(), row.bFinish ? 2.5 : 1.0) << "the rate reaches the graph";
        EXPECT_EQ(m_pDoc->m_bLoop, row.bFinish ? TRUE : FALSE);
        EXPECT_EQ(m_pDoc->m_nSizeMode, row.bFinish ? 2 : 0);
        EXPECT_EQ(m_pDoc->m_nStartPage, row.bFinish ? kAudio : kMedia);
        // Treble is a position only: the page reads it at its next slider message, and
        // none came; nothing applies it to playback.
        EXPECT_EQ(m_pDoc->m_lTreble, 0);
    }
    // Full screen chosen on the page is stored, not switched to.
    EXPECT_FALSE(m_first.FullScreen());
}

// Each slider sends both the volume and the balance again, whatever the media's sound was.
TEST_F(MovieControlsDoc, AudioSlidersActAtOnceAndBassOnlyResendsVolumeAndBalance)
{
    Open(10);
    struct Row {
        const char* pszName;
        BOOL bMute;
        int nSlider;
        int nPos;
        long lVolumeHeard, lBalanceHeard, lDocVolume;
    } rows[] = {
        {"volume", FALSE, IDC_VOLUME, -3000, -3000, 0, -3000},
        {"balance", FALSE, IDC_BALANCE, 2000, -1000, 2000, -1000},
        {"bass", FALSE, IDC_BASS, -6000, -1000, 0, -1000},
        {"volume while muted", TRUE, IDC_VOLUME, -2000, -10000, 0, -1000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        m_pDoc->m_bMute = row.bMute;
        m_pDoc->m_lVolume = -1000;
        m_pDoc->m_lBalance = 0;
        long lVolume = 1, lBalance = 1;
        Configure([&](HWND hSheet) {
            CSheetDriver::ShowPage(hSheet, kAudio);
            m_pDoc->m_pGraph->SetVolume(-5555);
            m_pDoc->m_pGraph->SetBalance(5555);
            CSheetDriver::MoveSlider(hSheet, row.nSlider, row.nPos);
            lVolume = m_first.Volume();
            lBalance = m_first.Balance();
            CSheetDriver::Close(hSheet);
        });
        EXPECT_EQ(lVolume, row.lVolumeHeard);
        EXPECT_EQ(lBalance, row.lBalanceHeard);
        // The close box keeps what the sliders applied.
        EXPECT_EQ(m_pDoc->m_lVolume, row.lDocVolume);
        EXPECT_EQ(m_pDoc->m_lBalance, row.lBalanceHeard);
        EXPECT_EQ(m_pDoc->m_lBass, 0) << "bass travels only on Finish";
    }
}

// Muted, a Volume moved to -3000 is not heard; Mute ticked off and Finish send it. The
// stored -1000 shows the thumb one tick above the bottom (0), the ticks 1000 apart.
TEST_F(MovieControlsDoc, UnmutingOnFinishSendsTheVolumeMovedWhileMuted)
{
    Open(10);
    m_pDoc->m_bMute = TRUE;
    Configure([&](HWND hSheet) {
        CSheetDriver::ShowPage(hSheet, kAudio);
        HWND hVolume = CSheetDriver::Control(hSheet, IDC_VOLUME);
        auto centreAt = [&](LPARAM nPos) {
            SendMessageA(hVolume, TBM_SETPOS, TRUE, nPos);
            RECT rc = {};
            SendMessageA(hVolume, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rc));
            return (rc.top + rc.bottom) / 2;
        };
        EXPECT_EQ(SendMessageA(hVolume, TBM_GETPOS, 0, 0), -1000);
        int nThumb = centreAt(-1000), nTop = centreAt(-10000), nBottom = centreAt(0);
        EXPECT_EQ(SendMessageA(hVolume, TBM_GETNUMTICS, 0, 0), 11);
        EXPECT_GT(nBottom, nTop);
        EXPECT_NEAR(nBottom - nThumb, (nBottom - nTop) / 10, 1) << "one tick of ten above the bottom";
        CSheetDriver::MoveSlider(hSheet, IDC_VOLUME, -3000);
        EXPECT_EQ(m_first.Volume(), -10000);
        Click(hSheet, IDC_MUTE);
        CSheetDriver::Finish(hSheet);
    });
    EXPECT_EQ(m_first.Volume(), -3000);
    EXPECT_EQ(m_pDoc->m_bMute, FALSE);
}

TEST_F(MovieControlsDoc, FinishSendsTheMutedVolumeAndStoresMuteBassAndTreble)
{
    Open(10);
    Configure([&](HWND hSheet) {
        CSheetDriver::ShowPage(hSheet, kAudio);
        Click(hSheet, IDC_MUTE);
        CSheetDriver::MoveSlider(hSheet, IDC_BASS, -7000);
        CSheetDriver::MoveSlider(hSheet, IDC_TREBLE, -3000);
        CSheetDriver::Finish(hSheet);
    });
    EXPECT_EQ(m_first.Volume(), -10000);
    EXPECT_EQ(m_pDoc->m_lVolume, -1000);
    m_pDoc->DeleteContents();  // writes the settings record
    StoredSettings stored = {};
    ASSERT_TRUE(ReadStoredSettings(&stored));
    EXPECT_EQ(stored.bMute, 1);
    EXPECT_EQ(stored.lTreble, -3000);
    EXPECT_EQ(stored.lBass, -7000);
}

TEST_F(MovieControlsDoc, ThePositionSliderSpansTheMediaAndSeeksAtOnce)
{
    Open(100, 12.5);
    int nMin = -1, nMax = -1, nTics = -1, nPos = -1;
    double dAfterDrag = -1, dAfterRelease = -1;
    Configure([&](HWND hSheet) {
        HWND hSlider = CSheetDriver::Control(hSheet, IDC_POSITION);
        nMin = static_cast<int>(SendMessageA(hSlider, TBM_GETRANGEMIN, 0, 0));
        nMax = static_cast<int>(SendMessageA(hSlider, TBM_GETRANGEMAX, 0, 0));
        nTics = static_cast<int>(SendMessageA(hSlider, TBM_GETNUMTICS, 0, 0));
        nPos = static_cast<int>(SendMessageA(hSlider, TBM_GETPOS, 0, 0));
        CSheetDriver::MoveSlider(hSheet, IDC_POSITION, 5000, TB_THUMBTRACK);
        dAfterDrag = m_first.Position();
        CSheetDriver::MoveSlider(hSheet, IDC_POSITION, 7525, TB_ENDTRACK);
        dAfterRelease = m_first.Position();
    });
    EXPECT_EQ(nMin, 0);
    EXPECT_EQ(nMax, 10000);
    EXPECT_EQ(nTics, 26) << "a tick every 400, both ends included";
    EXPECT_EQ(nPos, 1250);
    EXPECT_DOUBLE_EQ(dAfterDrag, 50.0) << "the drag seeks without waiting for the release";
    EXPECT_DOUBLE_EQ(dAfterRelease, 75.25);
}

// A drag whose next movement is already queued skips to it: the seek goes to the newest
// position, and the release always seeks.
TEST_F(MovieControlsDoc, ADragSeeksToTheNewestPositionWhenMovementsPileUp)
{
    Open(100, 0);
    double dWithMoveQueued = -1, dNextMove = -1, dRelease = -1;
    Configure([&](HWND hSheet) {
        HWND hSlider = CSheetDriver::Control(hSheet, IDC_POSITION);
        PostMessageA(hSlider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
        CSheetDriver::MoveSlider(hSheet, IDC_POSITION, 2000, TB_THUMBTRACK);
        dWithMoveQueued = m_first.Position();
        MSG msg;
        while (PeekMessageA(&msg, hSlider, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) {
        }
        CSheetDriver::MoveSlider(hSheet, IDC_POSITION, 3000, TB_THUMBTRACK);
        dNextMove = m_first.Position();
        PostMessageA(hSlider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
        CSheetDriver::MoveSlider(hSheet, IDC_POSITION, 3500, TB_THUMBPOSITION);
        dRelease = m_first.Position();
    });
    EXPECT_DOUBLE_EQ(dWithMoveQueued, 0.0) << "passed over: a newer movement waits";
    EXPECT_DOUBLE_EQ(dNextMove, 30.0);
    EXPECT_DOUBLE_EQ(dRelease, 35.0);
}

// Both pages follow playback on their timers and freeze near the end: the Information
// page beyond 0.999999 of the duration, the Media page beyond 0.99999999; a seek back
// makes both follow again.
TEST_F(MovieControlsDoc, BothTimersFreezeNearTheEndAndFollowAgainAfterASeekBack)
{
    Open(100, 12.5);
    struct Row {
        double dPosition;
        const char* pszText;
        int nSlider;
    } rows[] = {{12.5, "     12.50000000", 1250},
                {99.99995, "     12.50000000", 9999},
                {99.9999995, "     12.50000000", 9999},
                {50.0, "     50.00000000", 5000}};
    Configure([&](HWND hSheet) {
        CSheetDriver::ShowPage(hSheet, kInformation);
        HWND hText = CSheetDriver::Control(hSheet, IDC_POSITION_TEXT);
        HWND hMedia = reinterpret_cast<HWND>(SendMessageA(hSheet, PSM_INDEXTOHWND, kMedia, 0));
        HWND hSlider = GetDlgItem(hMedia, IDC_POSITION);
        auto shows = [&](const Row& row) {
            return Text(hText) == row.pszText && SendMessageA(hSlider, TBM_GETPOS, 0, 0) == row.nSlider;
        };
        for (const Row& row : rows) {
            SCOPED_TRACE(row.dPosition);
            m_first.SetPosition(row.dPosition);
            // What follows has followed; then both timers tick a few times more (every
            // 99 ms), and what is frozen must still show as it did.
            EXPECT_TRUE(WaitFor([&]() { return shows(row); }, 5000));
            WaitFor([]() { return false; }, 400);
            EXPECT_EQ(Text(hText), row.pszText);
            EXPECT_EQ(SendMessageA(hSlider, TBM_GETPOS, 0, 0), row.nSlider);
        }
    });
}

TEST_F(MovieControlsDoc, TheInformationBarSpansMediaLongerThan655Seconds)
{
    struct Row {
        double dDuration;
        int nHigh;
    } rows[] = {{100, 10000}, {655.35, 65535}, {1000, 100000}, {7200, 720000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dDuration);
        m_pDoc.reset(new CNTandrelDoc);
        Open(row.dDuration, row.dDuration / 2);
        int nHigh = -1, nPos = -1;
        Configure([&](HWND hSheet) {
            CSheetDriver::ShowPage(hSheet, kInformation);
            HWND hBar = CSheetDriver::Control(hSheet, IDC_PROGRESS);
            nHigh = static_cast<int>(SendMessageA(hBar, PBM_GETRANGE, FALSE, 0));
            nPos = static_cast<int>(SendMessageA(hBar, PBM_GETPOS, 0, 0));
        });
        EXPECT_EQ(nHigh, row.nHigh);
        EXPECT_EQ(nPos, row.nHigh / 2);
    }
}

TEST_F(MovieControlsDoc, ChoosingADisplayModeSetsItsIndexAndTakesTheRadioButtons)
{
    Open(10);
    struct Row {
        const char* pszText;
        int nIndex;
    } rows[] = {{"640x400x16", 5}, {"320x240x08", 2}, {"320x200x16", 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszText);
        int nSizeModeAtChoice = -1;
        std::string shownAtOpening;
        Configure([&](HWND hSheet) {
            CSheetDriver::ShowPage(hSheet, kVideo);
            HWND hCombo = CSheetDriver::Control(hSheet, IDC_DISPLAY_MODE);
            shownAtOpening = Text(hCombo);
            Click(hSheet, IDC_FULL_SCREEN);
            SendMessageA(hCombo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(row.pszText));
            SendMessageA(CSheetDriver::Page(hSheet), WM_COMMAND,
                         MAKEWPARAM(IDC_DISPLAY_MODE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
            nSizeModeAtChoice = m_pDoc->m_pVideoPage->m_nSizeMode;
            Click(hSheet, IDC_ORIGINAL);
            CSheetDriver::Finish(hSheet);
        });
        EXPECT_EQ(shownAtOpening, "640x480x08");
        EXPECT_EQ(nSizeModeAtChoice, 2);
        EXPECT_EQ(m_pDoc->m_nDisplayMode, row.nIndex);
        EXPECT_EQ(m_pDoc->m_nSizeMode, 0);
    }
}

TEST_F(MovieControlsDoc, WithoutMediaTheSheetStillOpensAndFinishCopiesBack)
{
    int nSaves = 0;
    Configure([&](HWND hSheet) {
        SetWindowTextA(CSheetDriver::Control(hSheet, IDC_RATE), "0");
        CSheetDriver::ShowPage(hSheet, kVideo);
        SendMessageA(CSheetDriver::Control(hSheet, IDC_SAVE_FILE), BM_CLICK, 0, 0);
        nSaves = m_host.m_nSaveCopies;
        CSheetDriver::ShowPage(hSheet, kMedia);
        CSheetDriver::Finish(hSheet);
    });
    EXPECT_EQ(nSaves, 1) << "Save File asks the application for the copy";
    EXPECT_EQ(m_pDoc->m_dRate, 0.0) << "0 is inside the accepted range";
    EXPECT_FALSE(m_pDoc->SeekToMediaPage());
    EXPECT_FALSE(m_pDoc->ApplyVolume());
    EXPECT_FALSE(m_pDoc->ApplyBalance());
    EXPECT_FALSE(m_pDoc->ApplyWindowStyle());
}

TEST_F(MovieControlsDoc, FinishWithCaptionOffRestylesTheMainWindow)
{
    SetWindowLongA(m_hwndMain, GWL_STYLE, WS_POPUP | WS_CAPTION | WS_THICKFRAME);
    Open(10);
    SetWindowPos(m_hwndMain, nullptr, 10, 20, 400, 300, SWP_NOZORDER | SWP_FRAMECHANGED);
    Configure([&](HWND hSheet) {
        CSheetDriver::ShowPage(hSheet, kVideo);
        Click(hSheet, IDC_CAPTION);
        CSheetDriver::Finish(hSheet);
    });
    EXPECT_EQ(GetWindowLongA(m_hwndMain, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_FALSE(m_pDoc->m_bCaption);
    RECT rc;
    GetWindowRect(m_hwndMain, &rc);
    EXPECT_EQ(rc.bottom - rc.top, 300 - 16);
    EXPECT_EQ(rc.left, 10);
}

TEST_F(MovieControlsDoc, AStoredStartPageOutsideTheFourStillOpensTheSheet)
{
    Open(10);
    for (int nStored : {7, -1}) {
        SCOPED_TRACE(nStored);
        m_pDoc->m_nStartPage = nStored;
        int nShown = -2;
        Configure([&](HWND hSheet) {
            HWND hTabs = reinterpret_cast<HWND>(SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0));
            nShown = static_cast<int>(SendMessageA(hTabs, TCM_GETCURSEL, 0, 0));
            CSheetDriver::Finish(hSheet);
        });
        EXPECT_GE(nShown, 0);
        EXPECT_LE(nShown, 3);
        EXPECT_EQ(m_pDoc->m_nStartPage, nShown);
    }
}

// Nothing reads what is typed over the Information page's figures, so no text there keeps
// the user on the page or the sheet open.
TEST_F(MovieControlsDoc, TextTypedOverTheFiguresNeverHoldsTheUser)
{
    Open(10);
    int nAfterLeaving = -1;
    Configure([&](HWND hSheet) {
        CSheetDriver::ShowPage(hSheet, kInformation);
        SetWindowTextA(CSheetDriver::Control(hSheet, IDC_WIDTH), "abc");
        CSheetDriver::ShowPage(hSheet, kAudio);
        HWND hTabs = reinterpret_cast<HWND>(SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0));
        nAfterLeaving = static_cast<int>(SendMessageA(hTabs, TCM_GETCURSEL, 0, 0));
        CSheetDriver::ShowPage(hSheet, kInformation);
        SetWindowTextA(CSheetDriver::Control(hSheet, IDC_HEIGHT), "99999999999");
        CSheetDriver::Finish(hSheet);
    });
    EXPECT_EQ(nAfterLeaving, kAudio);
    EXPECT_EQ(m_pDoc->m_nStartPage, kInformation) << "Finish ended the sheet";
    EXPECT_TRUE(m_boxes.Texts().empty());
}

}  // namespace
