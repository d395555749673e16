// Open Internet against a server that stops sending: the player stays alive, shows the
// download's progress, can be cancelled, and gives up on its own when nothing arrives.
#include <gtest/gtest.h>

#include <string>

#include "LoopbackServer.h"
#include "PlayerTest.h"
#include "TestEnv.h"
#include "XInput.h"
#include "resource.h"

namespace {

const DWORD kStartMs = 10000;
const DWORD kStateMs = 5000;

HWND WaitDialog(CPlayerProcess& player, int nChild, DWORD dwMs)
{
    HWND hFound = nullptr;
    WaitFor([&]() { return (hFound = player.TopDialog(nChild)) != nullptr; }, dwMs);
    return hFound;
}

// Asks the player, through its Open Internet dialog, for an address of the stalling
// server; returns the download's dialog.
HWND StartDownload(CPlayerProcess& player, CLoopbackServer& server)
{
    PostMessageA(player.PaletteFrame(), WM_COMMAND, MAKEWPARAM(ID_OPEN_INTERNET, BN_CLICKED),
                 reinterpret_cast<LPARAM>(player.Palette()));
    HWND hOpen = WaitDialog(player, IDC_URL, kStateMs);
    EXPECT_NE(hOpen, nullptr);
    if (hOpen == nullptr)
        return nullptr;
    std::string url = server.Url("stall.mpg");
    SendMessageA(GetDlgItem(hOpen, IDC_URL), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(url.c_str()));
    PostMessageA(hOpen, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    HWND hProgress = WaitDialog(player, IDC_DOWNLOAD_PROGRESS, kStateMs);
    EXPECT_NE(hProgress, nullptr) << "no progress shown";
    return hProgress;
}

typedef CPlayerTest DownloadTest;

// The player stays alive while the server sends nothing, and Cancel ends the download;
// the next download, left alone, gives up after half a minute of nothing.
TEST_F(DownloadTest, TheInterfaceStaysAliveCancelEndsTheDownloadAndHalfAMinuteOfNothingToo)
{
    CLoopbackServer server(MediaPath("clip.mpg"), true);
    ASSERT_TRUE(server.IsListening());
    ASSERT_TRUE(player.Start(MediaPath("vost.mpg"), ScratchDir("download")));
    HWND hFrame = player.WaitMainWindow(kStartMs);
    ASSERT_NE(hFrame, nullptr);
    ASSERT_TRUE(player.WaitPlayState(3, kStateMs));
    HWND hProgress = StartDownload(player, server);
    ASSERT_NE(hProgress, nullptr);
    EXPECT_EQ(GetWindow(hProgress, GW_OWNER), hFrame);
    EXPECT_FALSE(IsWindowEnabled(hFrame));
    EXPECT_GE(server.Requests(), 1);

    // The player answers while the server sends nothing: it takes messages, and its view,
    // made invalid from here, is validated again by its own painting.
    DWORD_PTR dwResult = 0;
    EXPECT_NE(SendMessageTimeoutA(hFrame, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &dwResult), 0);
    HWND hView = GetDlgItem(hFrame, 0xE900);  // the frame's one view
    RECT rcView = {};
    ASSERT_TRUE(IsWindowVisible(hView) && GetClientRect(hView, &rcView) && !IsRectEmpty(&rcView));
    ASSERT_TRUE(InvalidateRect(hView, nullptr, TRUE));
    EXPECT_TRUE(WaitFor([&]() { return !GetUpdateRect(hView, nullptr, FALSE); }, 2000))
        << "the player did not repaint";
    EXPECT_NE(SendMessageTimeoutA(hProgress, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &dwResult), 0);

    // A real click on Cancel: the player says it cannot play the address, and goes on.
    ASSERT_TRUE(XClick(GetDlgItem(hProgress, IDCANCEL)));
    ShownMessage shown;
    ASSERT_TRUE(player.WaitMessageBox(&shown, kStateMs));
    EXPECT_EQ(shown.text, kCantPlayFile);
    EXPECT_TRUE(WaitFor([&]() { return IsWindowEnabled(hFrame) != FALSE; }, kStateMs));
    EXPECT_TRUE(player.IsRunning());

    hProgress = StartDownload(player, server);
    ASSERT_NE(hProgress, nullptr);
    DWORD dwShown = GetTickCount();
    ASSERT_TRUE(WaitFor([&]() { return !IsWindow(hProgress); }, 36000)) << "the download did not give up";
    DWORD dwElapsed = GetTickCount() - dwShown;
    EXPECT_GE(dwElapsed, 29000u);
    ASSERT_TRUE(player.WaitMessageBox(&shown, kStateMs));
    EXPECT_EQ(shown.text, kCantPlayFile);
    EXPECT_TRUE(player.IsRunning());
}

}  // namespace
