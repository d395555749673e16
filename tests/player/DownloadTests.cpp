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
const char kCantPlayFile[] = "Can't play this file! \nTandrel98 may not recognize this file type or "
                             "this file in the CD-ROM is damaged. ";

HWND WaitDialog(CPlayerProcess& player, int nChild, DWORD dwMs)
{
    HWND hFound = nullptr;
    WaitFor([&]() { return (hFound = player.TopDialog(nChild)) != nullptr; }, dwMs);
    return hFound;
}

POINT CentreOf(HWND hWnd)
{
    RECT rc;
    GetWindowRect(hWnd, &rc);
    POINT pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return pt;
}

class DownloadTest : public CPlayerTest {
protected:
    // Starts the player on the sample and asks it, through its Open Internet dialog, for
    // an address of the stalling server; returns the download's dialog.
    HWND StartDownload(CLoopbackServer& server)
    {
        EXPECT_TRUE(player.Start(MediaPath("vost.mpg"), ScratchDir("download")));
        HWND hFrame = player.WaitMainWindow(kStartMs);
        EXPECT_NE(hFrame, nullptr);
        EXPECT_TRUE(player.WaitPlayState(3, kStateMs));
        HWND hPalette = player.Palette();
        if (hPalette == nullptr)
            return nullptr;
        PostMessageA(player.PaletteFrame(), WM_COMMAND, MAKEWPARAM(ID_OPEN_INTERNET, BN_CLICKED),
                     reinterpret_cast<LPARAM>(hPalette));
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
};

TEST_F(DownloadTest, TheInterfaceStaysAliveAndCancelEndsTheDownload)
{
    CLoopbackServer server(MediaPath("clip.mpg"), true);
    ASSERT_TRUE(server.IsListening());
    HWND hProgress = StartDownload(server);
    ASSERT_NE(hProgress, nullptr);
    HWND hFrame = player.MainWindow();
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
    ASSERT_TRUE(XClick(CentreOf(GetDlgItem(hProgress, IDCANCEL))));
    ShownMessage shown;
    ASSERT_TRUE(player.WaitMessageBox(&shown, kStateMs));
    EXPECT_EQ(shown.text, kCantPlayFile);
    EXPECT_TRUE(WaitFor([&]() { return IsWindowEnabled(hFrame) != FALSE; }, kStateMs));
    EXPECT_TRUE(player.IsRunning());
}

TEST_F(DownloadTest, AServerThatSendsNothingForHalfAMinuteEndsTheDownload)
{
    CLoopbackServer server(MediaPath("clip.mpg"), true);
    ASSERT_TRUE(server.IsListening());
    HWND hProgress = StartDownload(server);
    ASSERT_NE(hProgress, nullptr);
    DWORD dwShown = GetTickCount();
    ASSERT_TRUE(WaitFor([&]() { return !IsWindow(hProgress); }, 36000)) << "the download did not give up";
    DWORD dwElapsed = GetTickCount() - dwShown;
    EXPECT_GE(dwElapsed, 29000u);
    ShownMessage shown;
    ASSERT_TRUE(player.WaitMessageBox(&shown, kStateMs));
    EXPECT_EQ(shown.text, kCantPlayFile);
    EXPECT_TRUE(player.IsRunning());
}

}  // namespace
