// While a dialog or message box of the player is up, the rest of the player takes no
// input: real clicks on the palette's buttons and on the frame's close box change
// nothing. Once the dialog is gone the same click on one of them works, which shows they
// were aimed well: the palette's Exit for some rows, the close box for the others.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "PlayerTest.h"
#include "TestEnv.h"
#include "XInput.h"
#include "resource.h"

namespace {

const DWORD kStartMs = 20000;
const DWORD kStateMs = 10000;

// The centre of a palette button on the screen: the palette lays its buttons out in rows
// of three inside a border of five pixels.
POINT PaletteButtonPoint(HWND hPalette, UINT nCommand)
{
    RECT rc;
    GetWindowRect(hPalette, &rc);
    LRESULT nIndex = SendMessageA(hPalette, TB_COMMANDTOINDEX, nCommand, 0);
    LRESULT size = SendMessageA(hPalette, TB_GETBUTTONSIZE, 0, 0);
    int cx = LOWORD(size), cy = HIWORD(size);
    POINT pt = {rc.left + 5 + static_cast<int>(nIndex % 3) * cx + cx / 2,
                rc.top + 5 + static_cast<int>(nIndex / 3) * cy + cy / 2};
    return pt;
}

POINT CloseBoxPoint(HWND hFrame)
{
    RECT rc;
    GetWindowRect(hFrame, &rc);
    POINT pt = {rc.right - GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXSIZE) / 2 - 1,
                rc.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
    return pt;
}

// The player's modal window on top, when it has this title.
HWND FindModal(CPlayerProcess& player, const char* pszTitle)
{
    HWND hModal = player.TopDialog();
    return hModal != nullptr && CPlayerProcess::WindowText(hModal) == pszTitle ? hModal : nullptr;
}

// Brings the modal up from a playing player; false when a step of the way failed.
typedef bool (*OpenModal)(CPlayerProcess& player, const std::string& scratch);

// Each kind of modal window, its title, how it is brought up, and which click ends the
// program once it is gone.
struct ModalCase {
    const char* pszName;
    const char* pszTitle;
    OpenModal pfnOpen;
    bool bEndWithCloseBox;
};

bool OpenTheOpenDialog(CPlayerProcess& player, const std::string&)
{
    return XKey("ctrl+o", player.MainWindow());
}

bool OpenTheOpenInternetDialog(CPlayerProcess& player, const std::string&)
{
    return XClick(PaletteButtonPoint(player.Palette(), ID_OPEN_INTERNET));
}

// Chooses an unplayable file in the Open dialog: the player says it cannot play it.
bool ShowTheCantPlayMessage(CPlayerProcess& player, const std::string& scratch)
{
    std::string path = scratch + "\\broken.mpg";
    HWND hDialog = nullptr;
    if (!CopyFileA(MediaPath("corrupt.mpg").c_str(), path.c_str(), FALSE) ||
        !XKey("ctrl+o", player.MainWindow()) ||
        !WaitFor([&]() { return (hDialog = FindModal(player, "Open Media Files")) != nullptr; },
                 kStateMs))
        return false;
    HWND hName = GetDlgItem(hDialog, 1148);
    HWND hEdit = hName != nullptr ? FindWindowExA(hName, nullptr, "Edit", nullptr) : nullptr;
    SendMessageA(hEdit != nullptr ? hEdit : hName, WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(path.c_str()));
    return PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0) != FALSE;
}

bool OpenMovieControls(CPlayerProcess& player, const std::string&)
{
    return XKey("ctrl+t", player.MainWindow());
}

// Save File on the Movie Controls sheet's Video page: a file dialog on top of the sheet.
bool OpenTheSaveFileDialog(CPlayerProcess& player, const std::string&)
{
    HWND hSheet = nullptr;
    if (!XKey("ctrl+t", player.MainWindow()) ||
        !WaitFor([&]() { return (hSheet = FindModal(player, "Movie Controls")) != nullptr; },
                 kStateMs))
        return false;
    SendMessageA(hSheet, PSM_SETCURSEL, 1, 0);
    HWND hPage = nullptr;
    if (!WaitFor(
            [&]() {
                hPage = reinterpret_cast<HWND>(SendMessageA(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
                return hPage != nullptr && GetDlgItem(hPage, IDC_SAVE_FILE) != nullptr;
            },
            kStateMs))
        return false;
    RECT rc;
    GetWindowRect(GetDlgItem(hPage, IDC_SAVE_FILE), &rc);
    return XClick(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
}

const ModalCase kModals[] = {
    {"MovieControls", "Movie Controls", OpenMovieControls, false},
    {"SaveFileDialog", "Save As", OpenTheSaveFileDialog, true},
    {"OpenDialog", "Open Media Files", OpenTheOpenDialog, false},
    {"OpenInternetDialog", "Open", OpenTheOpenInternetDialog, true},
    {"CantPlayMessage", "Tandrel98", ShowTheCantPlayMessage, false},
};

void PrintTo(const ModalCase& c, std::ostream* os) { *os << c.pszName; }

class ModalClickTest : public CPlayerTest, public testing::WithParamInterface<ModalCase> {};

TEST_P(ModalClickTest, ClicksOutsideTheModalChangeNothing)
{
    const ModalCase& modal = GetParam();
    std::string scratch = ScratchDir("modal");
    ASSERT_TRUE(player.Start(MediaPath("vost.mpg"), scratch));
    HWND hFrame = player.WaitMainWindow(kStartMs);
    ASSERT_NE(hFrame, nullptr);
    ASSERT_TRUE(player.WaitPlayState(3, kStateMs));
    HWND hPalette = player.Palette();
    ASSERT_NE(hPalette, nullptr);

    ASSERT_TRUE(modal.pfnOpen(player, scratch)) << "the way to " << modal.pszName << " failed";
    HWND hModal = nullptr;
    ASSERT_TRUE(WaitFor([&]() { return (hModal = FindModal(player, modal.pszTitle)) != nullptr; },
                        kStateMs))
        << modal.pszName << " did not show on top";
    // Owned by the main frame (or by the sheet it was opened from, which the frame owns),
    // with the frame and the palette disabled.
    HWND hOwner = GetWindow(hModal, GW_OWNER);
    EXPECT_TRUE(hOwner == hFrame || (hOwner != nullptr && GetWindow(hOwner, GW_OWNER) == hFrame));
    EXPECT_FALSE(IsWindowEnabled(hFrame));
    EXPECT_FALSE(IsWindowEnabled(player.PaletteFrame()));

    const POINT ptCloseBox = CloseBoxPoint(hFrame), ptExit = PaletteButtonPoint(hPalette, ID_EXIT);
    EXPECT_EQ(SendMessageA(hFrame, WM_NCHITTEST, 0, MAKELPARAM(ptCloseBox.x, ptCloseBox.y)), HTCLOSE);
    RECT rcPalette;
    GetWindowRect(hPalette, &rcPalette);
    EXPECT_TRUE(PtInRect(&rcPalette, ptExit));
    ASSERT_TRUE(XClick(ptExit));
    ASSERT_TRUE(XClick(ptCloseBox));
    // Nor does a third button: the player and its modal window are still there once the
    // server has answered a later request.
    ASSERT_TRUE(XClick(PaletteButtonPoint(hPalette, ID_PLAY)));
    ASSERT_TRUE(Xdo("getmouselocation >/dev/null"));
    EXPECT_TRUE(player.IsRunning());
    EXPECT_TRUE(IsWindow(hModal) && IsWindowVisible(hModal)) << "the modal window went away";

    // Away with the modal windows, the one on top first; then the same click ends the
    // program.
    for (int i = 0; i < 2 && (hModal = player.TopDialog()) != nullptr; ++i) {
        ASSERT_TRUE(XKey("Escape", hModal));
        ASSERT_TRUE(WaitFor([&]() { return !IsWindow(hModal) || !IsWindowVisible(hModal); }, kStateMs));
    }
    ASSERT_TRUE(WaitFor([&]() { return player.TopDialog() == nullptr; }, kStateMs));
    ASSERT_TRUE(WaitFor(
        [&]() { return IsWindowEnabled(hFrame) && IsWindowEnabled(player.PaletteFrame()); },
        kStateMs))
        << "the frame or the palette stayed disabled";
    ASSERT_TRUE(XClick(modal.bEndWithCloseBox ? ptCloseBox : ptExit));
    DWORD dwCode = 0xDEAD;
    ASSERT_TRUE(player.WaitExit(kStateMs, &dwCode)) << "the click did not end the program";
    EXPECT_EQ(dwCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Modals, ModalClickTest, testing::ValuesIn(kModals), RowName());

}  // namespace
