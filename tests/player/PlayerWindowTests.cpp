// The player program in a real window on the test display, driven as a person drives
// it: command line, keys (also on the video), clicks, the palette, and Exit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LoopbackServer.h"
#include "PlayerTest.h"
#include "TestEnv.h"
#include "resource.h"

namespace {

const DWORD kStartMs = 20000;
const DWORD kStateMs = 10000;

RECT ClientRect(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return rc;
}

std::string RectText(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," +
           std::to_string(rc.right) + "," + std::to_string(rc.bottom);
}

// What the main and video windows look like, for a failure's message.
std::string Describe(HWND hWnd, HWND hVideo, const RECT& rcWas, const RECT& rcVideoWas)
{
    RECT rc = {}, rcVideo = {};
    GetWindowRect(hWnd, &rc);
    GetWindowRect(hVideo, &rcVideo);
    return "main " + RectText(rc) + " (was " + RectText(rcWas) + "), video " +
           RectText(rcVideo) + " (was " + RectText(rcVideoWas) + "), video parent " +
           (GetParent(hVideo) == hWnd ? "main" : "other");
}

class PlayerWindow : public CPlayerTest {
protected:
    // Starts the player on a media of the build and waits until it is fitted and running.
    void StartPlaying(const std::string& commandLine)
    {
        ASSERT_TRUE(player.Start(commandLine, ScratchDir("player")));
        ASSERT_NE(player.WaitMainWindow(kStartMs), nullptr);
        ASSERT_TRUE(player.WaitPlayState(3, kStateMs)) << player.PlayState();
    }
};

// A quoted path with spaces opens without the quotes, plays at once in a window fitted to
// the picture and centred, and pauses at its end (the clip lasts two seconds).
TEST_F(PlayerWindow, ACommandLineFilePlaysAtOnceInAFittedCentredWindow)
{
    std::string path = ScratchDir("with spaces") + "\\clip one.mpg";
    ASSERT_TRUE(CopyFileA(MediaPath("clip.mpg").c_str(), path.c_str(), FALSE));
    StartPlaying("\"" + path + "\"");
    HWND hWnd = player.MainWindow();
    EXPECT_EQ(CPlayerProcess::WindowText(hWnd), "clip one.mpg");
    RECT rcClient = ClientRect(hWnd);
    EXPECT_EQ(rcClient.right, 352);
    EXPECT_EQ(rcClient.bottom, 240);
    RECT rc;
    GetWindowRect(hWnd, &rc);
    EXPECT_EQ(rc.left, (800 - (rc.right - rc.left)) / 2);
    EXPECT_EQ(rc.top, (600 - (rc.bottom - rc.top)) / 2);
    EXPECT_EQ(GetMenu(hWnd), nullptr);
    EXPECT_TRUE(player.WaitPlayState(2, kStateMs));
}

TEST_F(PlayerWindow, WithoutAMediaTheMessageShowsAndTheProgramEnds)
{
    ASSERT_TRUE(player.Start("", ScratchDir("no-sample")));
    ShownMessage shown;
    ASSERT_TRUE(player.WaitMessageBox(&shown, kStartMs));
    EXPECT_EQ(shown.caption, "Tandrel98");
    EXPECT_EQ(shown.text, kCantPlayFile);
    EXPECT_TRUE(player.WaitExit(kStateMs));
}

// The transport keys reach the document, also given to the video; New then empties it.
TEST_F(PlayerWindow, TransportKeysReachTheDocumentAlsoThroughTheVideoAndNewEmptiesIt)
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

    player.TypeCtrlKey('N');
    EXPECT_TRUE(player.WaitPlayState(0, kStateMs));
    EXPECT_TRUE(player.IsRunning());
}

// The palette starts beside the window; a left click hides it and a right click shows it
// at the point. Esc shows the video on the whole screen, and the next Esc, given on the
// video, brings back the same window.
TEST_F(PlayerWindow, RightClickShowsThePaletteAtThePointAndEscapeComesBackToTheSameWindow)
{
    StartPlaying(MediaPath("vost.mpg"));
    HWND hWnd = player.MainWindow();
    HWND hFrame = player.PaletteFrame();
    ASSERT_NE(hFrame, nullptr);
    EXPECT_TRUE(IsWindowVisible(hFrame));
    // It starts at the place the screen size gives.
    RECT rc;
    GetWindowRect(hFrame, &rc);
    EXPECT_EQ(rc.left, 608);
    EXPECT_EQ(rc.top, 290);
    EXPECT_FALSE(GetWindowLongA(hFrame, GWL_STYLE) & WS_SYSMENU);

    player.PostClick(WM_LBUTTONDOWN, WM_LBUTTONUP, POINT{20, 30});
    EXPECT_TRUE(WaitFor([&]() { return !IsWindowVisible(hFrame); }, kStateMs));
    POINT pt = {40, 50};
    player.PostClick(WM_RBUTTONDOWN, WM_RBUTTONUP, pt, player.VideoWindow());
    ClientToScreen(hWnd, &pt);
    EXPECT_TRUE(WaitFor([&]() { return IsWindowVisible(hFrame) != FALSE; }, kStateMs));
    GetWindowRect(hFrame, &rc);
    EXPECT_EQ(rc.left, pt.x);
    EXPECT_EQ(rc.top, pt.y);

    RECT rcBefore, rcVideoBefore;
    GetWindowRect(hWnd, &rcBefore);
    GetWindowRect(player.VideoWindow(), &rcVideoBefore);
    // Whether the renderer takes the screen itself or the window covers it for the
    // video, the picture fills the screen.
    player.PostKey(VK_ESCAPE);
    EXPECT_TRUE(WaitFor(
        [&]() {
            HWND hVideo = player.VideoWindow();
            return hVideo != nullptr && IsWindowVisible(hVideo) && GetWindowRect(hVideo, &rc) &&
                   rc.left == 0 && rc.top == 0 && rc.right == 800 && rc.bottom == 600;
        },
        kStateMs));
    player.PostKey(VK_ESCAPE, player.VideoWindow());
    EXPECT_TRUE(WaitFor(
        [&]() {
            RECT rcVideo;
            GetWindowRect(hWnd, &rc);
            HWND hVideo = player.VideoWindow();
            return hVideo != nullptr && GetParent(hVideo) == hWnd &&
                   GetWindowRect(hVideo, &rcVideo) && EqualRect(&rc, &rcBefore) &&
                   EqualRect(&rcVideo, &rcVideoBefore);
        },
        kStateMs)) << Describe(hWnd, player.VideoWindow(), rcBefore, rcVideoBefore);
}

// The volume and rate keys and the palette's Loop button reach the document; Exit while
// playing stops the media, writes the settings and ends the program with code 0.
TEST_F(PlayerWindow, ExitWhilePlayingStopsWritesTheSettingsAndEnds)
{
    StartPlaying(MediaPath("vost.mpg"));
    player.PostKey(VK_F6);  // volume up
    player.PostKey(VK_F6);
    player.PostKey(VK_F5);  // volume down
    player.PostKey(VK_F8);  // faster
    player.PostKey(VK_F8);
    // The palette's Loop button toggles the group loop.
    HWND hPalette = player.Palette();
    ASSERT_NE(hPalette, nullptr);
    PostMessageA(player.PaletteFrame(), WM_COMMAND, MAKEWPARAM(ID_GROUP_LOOP, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hPalette));
    player.TypeCtrlKey('E');
    DWORD dwCode = 1;
    ASSERT_TRUE(player.WaitExit(kStateMs, &dwCode));
    EXPECT_EQ(dwCode, 0u);

    StoredSettings stored = {};
    ASSERT_TRUE(ReadStoredSettings(&stored));
    EXPECT_EQ(stored.bGroupLoop, 1);
    EXPECT_EQ(stored.lVolume, -950);
    EXPECT_EQ(stored.dRate, 1.0 * 1.2 * 1.2);
}

// The Open dialog of the player, found among its windows.
HWND WaitOpenDialog(CPlayerProcess& player)
{
    HWND hDialog = nullptr;
    WaitFor([&]() { return (hDialog = player.VisibleDialog("Open Media Files")) != nullptr; }, kStateMs);
    return hDialog;
}

TEST_F(PlayerWindow, AGroupChosenInTheOpenDialogPlaysInTurn)
{
    std::string dir = ScratchDir("group");
    for (const char* name : {"a.mpg", "b.mpg", "c.mpg"})
        ASSERT_TRUE(CopyFileA(MediaPath("clip.mpg").c_str(), (dir + "\\" + name).c_str(), FALSE));
    ASSERT_TRUE(player.Start(MediaPath("clip.mpg"), dir));
    ASSERT_NE(player.WaitMainWindow(kStartMs), nullptr);

    player.TypeCtrlKey('O');
    HWND hDialog = WaitOpenDialog(player);
    ASSERT_NE(hDialog, nullptr);
    // The file name box (a combo box with an edit in the explorer-style dialog).
    HWND hName = GetDlgItem(hDialog, 1148);
    HWND hEdit = hName != nullptr ? FindWindowExA(hName, nullptr, "Edit", nullptr) : nullptr;
    ASSERT_NE(hEdit != nullptr ? hEdit : hName, nullptr);
    // The dialog starts in the folder last used; a folder typed as the name goes there.
    HWND hNameBox = hEdit != nullptr ? hEdit : hName;
    SendMessageA(hNameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(dir.c_str()));
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    const std::string folder = dir.substr(dir.rfind('\\') + 1);
    ASSERT_TRUE(WaitFor(
        [&]() {
            char szLookIn[MAX_PATH] = "";
            SendMessageA(GetDlgItem(hDialog, 1137), WM_GETTEXT, sizeof(szLookIn),
                         reinterpret_cast<LPARAM>(szLookIn));
            return folder == szLookIn;
        },
        kStateMs))
        << "the dialog did not go to " << dir;
    std::string names = "\"a.mpg\" \"b.mpg\" \"c.mpg\"";
    SendMessageA(hNameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    // The last file listed comes first, and waits stopped.
    EXPECT_TRUE(WaitFor([&]() { return CPlayerProcess::WindowText(player.MainWindow()) == "c.mpg"; },
                        kStateMs));
    EXPECT_TRUE(player.WaitPlayState(1, kStateMs));
    player.PostKey(VK_F2);
    // At its end the next one opens and plays, then the first listed, then it pauses.
    EXPECT_TRUE(WaitFor([&]() { return CPlayerProcess::WindowText(player.MainWindow()) == "b.mpg"; },
                        kStateMs));
    EXPECT_TRUE(player.WaitPlayState(3, kStateMs));
    EXPECT_TRUE(WaitFor([&]() { return CPlayerProcess::WindowText(player.MainWindow()) == "a.mpg"; },
                        kStateMs));
    EXPECT_TRUE(player.WaitPlayState(2, kStateMs));
}

// Cancelling the Open dialog changes nothing; Open Internet then plays an address served
// on loopback.
TEST_F(PlayerWindow, CancellingTheOpenDialogChangesNothingAndOpenInternetPlaysAnAddress)
{
    CLoopbackServer server(MediaPath("clip.mpg"));
    ASSERT_TRUE(server.IsListening());
    StartPlaying(MediaPath("vost.mpg"));
    player.TypeCtrlKey('O');
    HWND hDialog = WaitOpenDialog(player);
    ASSERT_NE(hDialog, nullptr);
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&]() { return !IsWindow(hDialog); }, kStateMs));
    EXPECT_EQ(CPlayerProcess::WindowText(player.MainWindow()), "vost.mpg");
    // No group came of it: at its end the media pauses, as one alone does.
    EXPECT_TRUE(player.WaitPlayState(2, kStateMs));
    EXPECT_EQ(CPlayerProcess::WindowText(player.MainWindow()), "vost.mpg");

    // The palette's Open Internet button.
    PostMessageA(player.PaletteFrame(), WM_COMMAND, MAKEWPARAM(ID_OPEN_INTERNET, BN_CLICKED),
                 reinterpret_cast<LPARAM>(player.Palette()));
    ASSERT_TRUE(WaitFor([&]() { return (hDialog = player.VisibleDialog("Open")) != nullptr; }, kStateMs));
    HWND hEdit = GetDlgItem(hDialog, 1056);
    ASSERT_NE(hEdit, nullptr);
    char szText[64] = "";
    SendMessageA(hEdit, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText));
    EXPECT_STREQ(szText, "http://");
    std::string url = server.Url("clip.mpg");
    SendMessageA(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url.c_str()));
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    // The address opens stopped, captioned with what follows its last colon.
    std::string title = url.substr(url.rfind(':') + 1);
    EXPECT_TRUE(WaitFor([&]() { return CPlayerProcess::WindowText(player.MainWindow()) == title; },
                        kStartMs));
    EXPECT_TRUE(player.WaitPlayState(1, kStateMs));
    EXPECT_GE(server.Requests(), 1);
    player.PostKey(VK_F2);
    EXPECT_TRUE(player.WaitPlayState(3, kStateMs));
    EXPECT_TRUE(player.WaitPlayState(2, kStateMs));  // and it plays to its end
}

}  // namespace
