// The player program in a real window on the test display, driven as a person drives
// it: command line, keys (also on the video), clicks, the palette, and Exit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlayerProcess.h"
#include "TestEnv.h"

namespace {

const DWORD kStartMs = 20000;
const DWORD kStateMs = 10000;

RECT ClientRect(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return rc;
}

class PlayerWindow : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        CreateSettingsKey();
    }
    void TearDown() override { DeleteSettingsKey(); }

    // Starts the player on a media of the build and waits until it is fitted and running.
    void StartPlaying(const std::string& commandLine)
    {
        ASSERT_TRUE(player.Start(commandLine, ScratchDir("player")));
        ASSERT_NE(player.WaitMainWindow(kStartMs), nullptr);
        ASSERT_TRUE(player.WaitPlayState(3, kStateMs)) << player.PlayState();
    }

    CPlayerProcess player;
};

TEST_F(PlayerWindow, ACommandLineFilePlaysAtOnceInAFittedCentredWindow)
{
    StartPlaying(MediaPath("clip.mpg"));
    HWND hWnd = player.MainWindow();
    EXPECT_EQ(CPlayerProcess::WindowText(hWnd), "clip.mpg");
    RECT rcClient = ClientRect(hWnd);
    EXPECT_EQ(rcClient.right, 352);
    EXPECT_EQ(rcClient.bottom, 240);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, (800 - (rc.right - rc.left)) / 2);
    EXPECT_EQ(rc.top, (600 - (rc.bottom - rc.top)) / 2);
    EXPECT_EQ(GetMenu(hWnd), nullptr);

    // Alone, the media pauses at its end (the clip lasts two seconds).
    EXPECT_TRUE(player.WaitPlayState(2, kStateMs));
}

TEST_F(PlayerWindow, AQuotedPathWithSpacesOpensWithoutTheQuotes)
{
    std::string dir = ScratchDir("with spaces");
    std::string path = dir + "\\clip one.mpg";
    ASSERT_TRUE(CopyFileA(MediaPath("clip.mpg").c_str(), path.c_str(), FALSE));
    StartPlaying("\"" + path + "\"");
    EXPECT_EQ(CPlayerProcess::WindowText(player.MainWindow()), "clip one.mpg");
}

TEST_F(PlayerWindow, WithoutAMediaTheMessageShowsAndTheProgramEnds)
{
    ASSERT_TRUE(player.Start("", ScratchDir("no-sample")));
    ShownMessage shown;
    ASSERT_TRUE(player.WaitMessageBox(&shown, kStartMs));
    EXPECT_EQ(shown.caption, "Tandrel98");
    EXPECT_EQ(shown.text, "Can't play this file! \nTandrel98 may not recognize this file type or "
                          "this file in the CD-ROM is damaged. ");
    EXPECT_TRUE(player.WaitExit(kStateMs));
}

TEST_F(PlayerWindow, TransportKeysReachTheDocumentAlsoThroughTheVideo)
{
    StartPlaying(MediaPath("vost.mpg"));
    player.PostKey(VK_F3);
    EXPECT_TRUE(player.WaitPlayState(2, kStateMs));
    player.PostKey(VK_F2);
    EXPECT_TRUE(player.WaitPlayState(3, kStateMs));
    player.PostKey(VK_F4);
    EXPECT_TRUE(player.WaitPlayState(1, kStateMs));
    player.PostKey(VK_F1);  // a step leaves the media paused
    EXPECT_TRUE(player.WaitPlayState(2, kStateMs));

    HWND hVideo = player.VideoWindow();
    ASSERT_NE(hVideo, nullptr);
    player.PostKey(VK_F2, hVideo);
    EXPECT_TRUE(player.WaitPlayState(3, kStateMs));
    player.PostKey(VK_F3, hVideo);
    EXPECT_TRUE(player.WaitPlayState(2, kStateMs));
}

TEST_F(PlayerWindow, EscapeCoversTheScreenAndComesBackToTheSameWindow)
{
    StartPlaying(MediaPath("vost.mpg"));
    HWND hWnd = player.MainWindow();
    RECT rcBefore;
    GetWindowRect(hWnd, &rcBefore);
    player.PostKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor(
        [&]() {
            RECT rc;
            GetWindowRect(hWnd, &rc);
            return rc.left == 0 && rc.top == 0 && rc.right == 800 && rc.bottom == 600;
        },
        kStateMs));
    player.PostKey(VK_ESCAPE, player.VideoWindow());
    EXPECT_TRUE(WaitFor(
        [&]() {
            RECT rc;
            GetWindowRect(hWnd, &rc);
            return EqualRect(&rc, &rcBefore) != FALSE;
        },
        kStateMs));
}

TEST_F(PlayerWindow, RightClickShowsThePaletteAtThePointAndLeftClickHidesIt)
{
    StartPlaying(MediaPath("vost.mpg"));
    HWND hFrame = player.PaletteFrame();
    ASSERT_NE(hFrame, nullptr);
    EXPECT_TRUE(IsWindowVisible(hFrame));
    // It starts beside the window, at the place the screen size gives.
    RECT rc;
    GetWindowRect(hFrame, &rc);
    EXPECT_EQ(rc.left, 608);
    EXPECT_EQ(rc.top, 290);
    EXPECT_FALSE(GetWindowLongA(hFrame, GWL_STYLE) & WS_SYSMENU);

    player.PostClick(WM_LBUTTONDOWN, WM_LBUTTONUP, POINT{20, 30});
    EXPECT_TRUE(WaitFor([&]() { return !IsWindowVisible(hFrame); }, kStateMs));

    POINT pt = {40, 50};
    player.PostClick(WM_RBUTTONDOWN, WM_RBUTTONUP, pt, player.VideoWindow());
    POINT ptScreen = pt;
    ClientToScreen(player.MainWindow(), &ptScreen);
    EXPECT_TRUE(WaitFor([&]() { return IsWindowVisible(hFrame) != FALSE; }, kStateMs));
    GetWindowRect(hFrame, &rc);
    EXPECT_EQ(rc.left, ptScreen.x);
    EXPECT_EQ(rc.top, ptScreen.y);
}

TEST_F(PlayerWindow, ExitWhilePlayingStopsWritesTheSettingsAndEnds)
{
    StartPlaying(MediaPath("vost.mpg"));
    player.PostKey(VK_F6);  // volume up: -1000 becomes -950
    player.TypeCtrlKey('E');
    DWORD dwCode = 1;
    ASSERT_TRUE(player.WaitExit(kStateMs, &dwCode));
    EXPECT_EQ(dwCode, 0u);
    std::vector<BYTE> bytes;
    ASSERT_TRUE(ReadSettingsBytes(&bytes));
    ASSERT_EQ(bytes.size(), 56u);
    INT32 lVolume = 0;
    memcpy(&lVolume, &bytes[40], 4);
    EXPECT_EQ(lVolume, -950);
}

TEST_F(PlayerWindow, NewEmptiesTheDocument)
{
    StartPlaying(MediaPath("vost.mpg"));
    player.TypeCtrlKey('N');
    EXPECT_TRUE(player.WaitPlayState(0, kStateMs));
    EXPECT_TRUE(player.IsRunning());
}

}  // namespace
