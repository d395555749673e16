// The Movie Controls sheet in the real program, driven with the display's own keyboard and
// mouse: opening it, its placement, its pages' figures and controls, what Finish and the
// close box keep, seeks with the position slider, and saving a copy.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "PlayerTest.h"
#include "SheetDriver.h"
#include "TestEnv.h"
#include "XInput.h"
#include "resource.h"

namespace {

const DWORD kStartMs = 20000;
const DWORD kStateMs = 10000;
const DWORD kSheetMs = 5000;

enum { kMedia = 0, kVideo = 1, kAudio = 2, kInformation = 3 };

std::string Text(HWND hWnd)
{
    char sz[512] = "";
    SendMessageA(hWnd, WM_GETTEXT, sizeof(sz), reinterpret_cast<LPARAM>(sz));
    return sz;
}

// A message box's text: its static control of id 0xFFFF.
std::string BoxText(HWND hBox)
{
    return Text(GetDlgItem(hBox, 0xFFFF));
}

const auto Page = CSheetDriver::Page;
const auto Control = CSheetDriver::Control;

HWND Tabs(HWND hSheet)
{
    return reinterpret_cast<HWND>(SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0));
}

int ActiveIndex(HWND hSheet)
{
    return static_cast<int>(SendMessageA(Tabs(hSheet), TCM_GETCURSEL, 0, 0));
}

RECT WindowRect(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    return rc;
}

std::string RectText(const RECT& rc)
{
    return std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top) +
           " at (" + std::to_string(rc.left) + ", " + std::to_string(rc.top) + ")";
}

DWORD StyleOf(HWND hWnd)
{
    return static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
}

// The screen point of a slider position, from the trackbar's own thumb rectangle.
POINT SliderPoint(HWND hSlider, int nValue)
{
    int nMin = static_cast<int>(SendMessageA(hSlider, TBM_GETRANGEMIN, 0, 0));
    int nMax = static_cast<int>(SendMessageA(hSlider, TBM_GETRANGEMAX, 0, 0));
    RECT rc = WindowRect(hSlider);
    bool bVertical = (StyleOf(hSlider) & TBS_VERT) != 0;
    // The channel leaves about a thumb's half plus the border at each end.
    const int nInset = 13;
    double dShare = nMax > nMin ? static_cast<double>(nValue - nMin) / (nMax - nMin) : 0;
    if (bVertical)
        return POINT{(rc.left + rc.right) / 2,
                     rc.top + nInset + static_cast<int>(dShare * (rc.bottom - rc.top - 2 * nInset))};
    return POINT{rc.left + nInset + static_cast<int>(dShare * (rc.right - rc.left - 2 * nInset)),
                 (rc.top + rc.bottom) / 2};
}

// Drags a slider's thumb from one value to another in steps, as a hand does.
bool Drag(HWND hSlider, int nFrom, int nTo, int nSteps)
{
    POINT from = SliderPoint(hSlider, nFrom);
    std::string args = "mousemove " + std::to_string(from.x) + " " + std::to_string(from.y) +
                       " mousedown 1";
    for (int i = 1; i <= nSteps; ++i) {
        POINT pt = SliderPoint(hSlider, nFrom + (nTo - nFrom) * i / nSteps);
        args += " sleep 0.03 mousemove " + std::to_string(pt.x) + " " + std::to_string(pt.y);
    }
    return Xdo(args + " sleep 0.1 mouseup 1");
}

int SliderPos(HWND hSlider)
{
    return static_cast<int>(SendMessageA(hSlider, TBM_GETPOS, 0, 0));
}

// "     " and a number with eight decimals.
bool IsPositionText(const std::string& text, double* pdValue)
{
    if (text.size() < 15 || text.compare(0, 5, "     ") != 0)
        return false;
    size_t nDot = text.find('.');
    if (nDot == std::string::npos || text.size() - nDot - 1 != 8)
        return false;
    *pdValue = atof(text.c_str());
    return true;
}

// The file dialogs remember, per program, the folder last saved into, and the player's
// next Open dialog starts there. A test that saves puts the record back as it found it,
// so that it does not move the folder the next test's Open dialog starts in.
class CLastVisitedKeeper {
public:
    CLastVisitedKeeper()
    {
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return;
        m_bExisted = true;
        for (DWORD i = 0;; ++i) {
            char szName[256];
            DWORD cchName = sizeof(szName), dwType = 0, cbData = 0;
            if (RegEnumValueA(hKey, i, szName, &cchName, nullptr, &dwType, nullptr, &cbData) !=
                ERROR_SUCCESS)
                break;
            Value value = {szName, dwType, std::vector<BYTE>(cbData)};
            cchName = sizeof(szName);
            RegEnumValueA(hKey, i, szName, &cchName, nullptr, &dwType, value.data.data(), &cbData);
            m_values.push_back(value);
        }
        RegCloseKey(hKey);
    }
    ~CLastVisitedKeeper()
    {
        RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
        HKEY hKey = nullptr;
        if (!m_bExisted || RegCreateKeyA(HKEY_CURRENT_USER, kKey, &hKey) != ERROR_SUCCESS)
            return;
        for (const Value& value : m_values)
            RegSetValueExA(hKey, value.name.c_str(), 0, value.dwType, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
        RegCloseKey(hKey);
    }
    CLastVisitedKeeper(const CLastVisitedKeeper&) = delete;
    CLastVisitedKeeper& operator=(const CLastVisitedKeeper&) = delete;

private:
    static constexpr const char* kKey =
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU";
    struct Value {
        std::string name;
        DWORD dwType;
        std::vector<BYTE> data;
    };
    bool m_bExisted = false;
    std::vector<Value> m_values;
};

class MovieControls : public CPlayerTest {
protected:
    // Starts the player on a media of the build, fitted.
    void Start(const char* pszMedia, int nState = 3)
    {
        ASSERT_TRUE(player.Start(MediaPath(pszMedia), ScratchDir("controls")));
        ASSERT_NE(player.WaitMainWindow(kStartMs), nullptr);
        ASSERT_TRUE(player.WaitPlayState(nState, kStateMs)) << player.PlayState();
    }

    // Types Ctrl+T or Ctrl+I and waits for the sheet.
    HWND Open(const char* pszKeys = "ctrl+t")
    {
        EXPECT_TRUE(XKey(pszKeys, player.MainWindow()));
        HWND hSheet = nullptr;
        EXPECT_TRUE(WaitFor(
            [&]() {
                hSheet = player.VisibleDialog("Movie Controls");
                return hSheet != nullptr && Page(hSheet) != nullptr;
            },
            kSheetMs))
            << "no Movie Controls sheet after " << pszKeys;
        return hSheet;
    }

    // The screen rectangle of tab nIndex, asked of the player's tab control into memory
    // of the player's own.
    RECT TabRect(HWND hSheet, int nIndex)
    {
        RECT rc = {};
        HANDLE hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE,
                                      player.ProcessId());
        void* pRemote = hProcess != nullptr ? VirtualAllocEx(hProcess, nullptr, sizeof(rc),
                                                              MEM_COMMIT, PAGE_READWRITE)
                                            : nullptr;
        if (pRemote != nullptr &&
            SendMessageA(Tabs(hSheet), TCM_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(pRemote)))
            ReadProcessMemory(hProcess, pRemote, &rc, sizeof(rc), nullptr);
        if (pRemote != nullptr)
            VirtualFreeEx(hProcess, pRemote, 0, MEM_RELEASE);
        if (hProcess != nullptr)
            CloseHandle(hProcess);
        MapWindowPoints(Tabs(hSheet), nullptr, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }

    // Brings page nIndex to the front as a person does, with a click on its tab, and waits
    // for it, once.
    bool ShowPage(HWND hSheet, int nIndex)
    {
        RECT rc = TabRect(hSheet, nIndex);
        return !IsRectEmpty(&rc) &&
               XClick(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}) &&
               WaitFor([&]() { return ActiveIndex(hSheet) == nIndex && Page(hSheet) != nullptr; },
                       kSheetMs);
    }

    // The sheet is gone, and the main window has the platform's focus back: keys sent
    // before that reach the window that still had it.
    bool Gone(HWND hSheet)
    {
        if (!WaitFor([&]() { return !IsWindow(hSheet) || !IsWindowVisible(hSheet); }, kSheetMs))
            return false;
        EXPECT_TRUE(WaitFor([&]() { return GetForegroundWindow() == player.MainWindow(); },
                            kSheetMs))
            << "the sheet has gone, but the main window is not in the foreground";
        return true;
    }

    bool Finish(HWND hSheet) { return XClick(GetDlgItem(hSheet, IDOK)) && Gone(hSheet); }

    // The close box at the right end of the sheet's caption.
    bool CloseBox(HWND hSheet)
    {
        RECT rc = WindowRect(hSheet);
        return Xdo("mousemove " + std::to_string(rc.right - 14) + " " +
                   std::to_string(rc.top + 11) + " click 1") &&
               Gone(hSheet);
    }

    // Replaces the text of an edit field by typing.
    bool TypeInto(HWND hEdit, const std::string& text)
    {
        return XClick(hEdit) && XKey("ctrl+a BackSpace") && XType(text);
    }

    // Ends the program with Ctrl+E: it ends by itself with code 0.
    void Exit() { ASSERT_EQ(ExitWithCtrlE(), 0u); }
};

TEST_F(MovieControls, BothCommandsOpenTheSheetWithFourTabsAndOnlyFinish)
{
    Start("vost.mpg");
    for (const char* pszKeys : {"ctrl+t", "ctrl+i"}) {
        SCOPED_TRACE(pszKeys);
        HWND hSheet = Open(pszKeys);
        ASSERT_NE(hSheet, nullptr);
        EXPECT_EQ(GetWindow(hSheet, GW_OWNER), player.MainWindow());
        EXPECT_FALSE(IsWindowEnabled(player.MainWindow()));
        EXPECT_FALSE(IsWindowEnabled(player.PaletteFrame()));
        EXPECT_EQ(RectText(WindowRect(hSheet)), "342x188 at (229, 382)");
        EXPECT_EQ(SendMessageA(Tabs(hSheet), TCM_GETITEMCOUNT, 0, 0), 4);

        std::vector<std::string> buttons;
        for (HWND h = GetWindow(hSheet, GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
            char szClass[32] = "";
            GetClassNameA(h, szClass, sizeof(szClass));
            if (lstrcmpiA(szClass, "Button") == 0 && IsWindowVisible(h))
                buttons.push_back(Text(h));
        }
        EXPECT_EQ(buttons, std::vector<std::string>{"Finish"});
        POINT ptClient = {294, 8};
        ClientToScreen(hSheet, &ptClient);
        EXPECT_EQ(RectText(WindowRect(GetDlgItem(hSheet, IDOK))),
                  "36x16 at (" + std::to_string(ptClient.x) + ", " + std::to_string(ptClient.y) + ")");

        // The tab texts are the pages' captions.
        std::vector<std::string> pages;
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(ShowPage(hSheet, i)) << "page " << i << ", in front " << ActiveIndex(hSheet);
            pages.push_back(Text(Page(hSheet)));
        }
        EXPECT_EQ(pages, (std::vector<std::string>{"Media", "Video", "Audio", "Information"}));
        ASSERT_TRUE(CloseBox(hSheet));
        EXPECT_TRUE(IsWindowEnabled(player.MainWindow()));
    }
    Exit();
}

TEST_F(MovieControls, TheSheetTakesTheLargeLayoutAbove96Dpi)
{
    // The prefix's resolution, as the display settings set it; put back afterwards.
    HKEY hKey = nullptr;
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &hKey), ERROR_SUCCESS);
    DWORD dwOld = 0, cbOld = sizeof(dwOld), dwType = 0;
    bool bHadValue = RegQueryValueExA(hKey, "LogPixels", nullptr, &dwType,
                                      reinterpret_cast<BYTE*>(&dwOld), &cbOld) == ERROR_SUCCESS;
    DWORD dwDpi = 120;
    RegSetValueExA(hKey, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwDpi),
                   sizeof(dwDpi));
    struct Restore {
        HKEY hKey;
        bool bHad;
        DWORD dwOld;
        ~Restore()
        {
            if (bHad)
                RegSetValueExA(hKey, "LogPixels", 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&dwOld), sizeof(dwOld));
            else
                RegDeleteValueA(hKey, "LogPixels");
            RegCloseKey(hKey);
        }
    } restore = {hKey, bHadValue, dwOld};

    Start("vost.mpg");
    HWND hSheet = Open("ctrl+i");
    ASSERT_NE(hSheet, nullptr);
    EXPECT_EQ(RectText(WindowRect(hSheet)), "454x230 at (173, 340)");
    POINT ptClient = {386, 8};
    ClientToScreen(hSheet, &ptClient);
    EXPECT_EQ(RectText(WindowRect(GetDlgItem(hSheet, IDOK))),
              "42x20 at (" + std::to_string(ptClient.x) + ", " + std::to_string(ptClient.y) + ")");
    ASSERT_TRUE(CloseBox(hSheet));
    Exit();
}

// The Audio page's sliders and Mute, and the page in front, are kept by Finish and stored;
// the close box keeps nothing, and the next run opens on the page Finish kept.
TEST_F(MovieControls, FinishStoresTheAudioPageAndKeepsTheActivePageAcrossRunsTheCloseBoxDoesNot)
{
    Start("vost.mpg");
    HWND hSheet = Open();
    ASSERT_NE(hSheet, nullptr);
    EXPECT_EQ(ActiveIndex(hSheet), kMedia);
    ASSERT_TRUE(ShowPage(hSheet, kAudio));
    ASSERT_TRUE(Drag(Control(hSheet, IDC_BASS), 0, -5000, 5));
    ASSERT_TRUE(Drag(Control(hSheet, IDC_VOLUME), -1000, -3000, 5));
    int nBass = SliderPos(Control(hSheet, IDC_BASS));
    int nVolume = SliderPos(Control(hSheet, IDC_VOLUME));
    EXPECT_LT(nBass, -3000);
    EXPECT_LT(nVolume, -2000);
    ASSERT_TRUE(XClick(Control(hSheet, IDC_MUTE)));
    ASSERT_TRUE(Finish(hSheet));

    hSheet = Open("ctrl+i");
    ASSERT_NE(hSheet, nullptr);
    EXPECT_EQ(ActiveIndex(hSheet), kAudio);
    ASSERT_TRUE(ShowPage(hSheet, kVideo));
    ASSERT_TRUE(CloseBox(hSheet));
    Exit();
    StoredSettings record = {};
    ASSERT_TRUE(ReadStoredSettings(&record));
    EXPECT_EQ(record.bMute, 1);
    EXPECT_EQ(record.lBass, nBass);
    EXPECT_EQ(record.lVolume, nVolume);
    EXPECT_EQ(record.nStartPage, kAudio);

    Start("vost.mpg");
    hSheet = Open();
    ASSERT_NE(hSheet, nullptr);
    EXPECT_EQ(ActiveIndex(hSheet), kAudio);
    ASSERT_TRUE(CloseBox(hSheet));
    Exit();
}

// The Information page shows the media's figures and follows playback; dragging the
// position slider on the sample with sound and picture, running and paused, does not hang,
// the released position is where the media is, and playback goes on. Without media every
// figure is zero.
TEST_F(MovieControls, TheInformationPageFollowsPlaybackAndThePositionSliderSeeksWithoutAHang)
{
    Start("clip10.mpg");
    HWND hSheet = Open("ctrl+i");
    ASSERT_NE(hSheet, nullptr);
    ASSERT_TRUE(ShowPage(hSheet, kInformation));
    EXPECT_EQ(Text(Control(hSheet, IDC_WIDTH)), "352");
    EXPECT_EQ(Text(Control(hSheet, IDC_HEIGHT)), "240");
    EXPECT_EQ(Text(Control(hSheet, IDC_AVG_TIME)), "0.04");
    EXPECT_EQ(Text(Control(hSheet, IDC_START_TIME)), "0") << "the engine gives no preroll time";

    // Playback goes on under the sheet, and the position follows it.
    double dFirst = -1, dLater = -1;
    ASSERT_TRUE(WaitFor(
        [&]() { return IsPositionText(Text(Control(hSheet, IDC_POSITION_TEXT)), &dFirst); },
        kSheetMs))
        << Text(Control(hSheet, IDC_POSITION_TEXT));
    ASSERT_TRUE(WaitFor(
        [&]() {
            return IsPositionText(Text(Control(hSheet, IDC_POSITION_TEXT)), &dLater) &&
                   dLater > dFirst + 0.3;
        },
        kSheetMs))
        << "stayed at " << dFirst;
    ASSERT_TRUE(CloseBox(hSheet));

    struct Row {
        const char* pszName;
        UINT vkState;  // F2 runs, F3 pauses
        int nState;
    } rows[] = {{"running", VK_F2, 3}, {"paused", VK_F3, 2}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        player.PostKey(row.vkState);
        ASSERT_TRUE(player.WaitPlayState(row.nState, kStateMs));
        hSheet = Open();
        ASSERT_NE(hSheet, nullptr);
        ASSERT_TRUE(ShowPage(hSheet, kMedia));
        HWND hSlider = Control(hSheet, IDC_POSITION);
        int nMax = static_cast<int>(SendMessageA(hSlider, TBM_GETRANGEMAX, 0, 0));
        ASSERT_GT(nMax, 900) << "the slider spans the media in hundredths";
        ASSERT_TRUE(Drag(hSlider, SliderPos(hSlider), nMax * 8 / 10, 25));
        int nReleased = SliderPos(hSlider);
        EXPECT_GT(nReleased, nMax * 6 / 10);
        // The next ticks read the graph's position back: the released one (and onwards
        // while running); the sheet still answers, so nothing hung.
        ASSERT_TRUE(WaitFor(
            [&]() {
                int nNow = SliderPos(hSlider);
                return nNow >= nReleased - 20 && nNow <= nReleased + 150;
            },
            kSheetMs))
            << "released at " << nReleased << ", slider at " << SliderPos(hSlider);
        ASSERT_TRUE(CloseBox(hSheet));
        EXPECT_TRUE(player.WaitPlayState(row.nState, kStateMs));
    }

    ASSERT_TRUE(XKey("ctrl+n", player.MainWindow()));
    ASSERT_TRUE(player.WaitPlayState(0, kStateMs));
    hSheet = Open("ctrl+i");
    ASSERT_NE(hSheet, nullptr);
    ASSERT_TRUE(ShowPage(hSheet, kInformation));
    ASSERT_TRUE(WaitFor([&]() { return !Text(Control(hSheet, IDC_POSITION_TEXT)).empty(); },
                        kSheetMs));
    EXPECT_EQ(Text(Control(hSheet, IDC_POSITION_TEXT)), "     0.00000000");
    for (int nID : {IDC_WIDTH, IDC_HEIGHT, IDC_AVG_TIME, IDC_BIT_RATE, IDC_BIT_ERROR_RATE, IDC_START_TIME, IDC_STOP_TIME})
        EXPECT_EQ(Text(Control(hSheet, nID)), "0") << nID;
    ASSERT_TRUE(CloseBox(hSheet));
    Exit();
}

// The rate field refuses what is not a number from 0 to 4 with the message for it, and the
// sheet stays with the field in focus; 4 is kept and stored, and the ten-second clip, played
// from the start, ends in about two and a half seconds.
TEST_F(MovieControls, TheRateFieldTakesZeroToFourAndRateFourPlaysAtFourTimesTheSpeed)
{
    Start("clip10.mpg");
    ASSERT_TRUE(XKey("F4", player.MainWindow()));
    ASSERT_TRUE(player.WaitPlayState(1, kStateMs)) << player.PlayState();
    struct Row {
        const char* pszTyped;
        const char* pszMessage;  // null: accepted
    } rows[] = {
        {"4.01", "Please enter a number between 0 and 4."},
        {"abc", "Please enter a number."},
        {"", "Please enter a number."},
        {"-0.5", "Please enter a number between 0 and 4."},
        {"4", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszTyped);
        HWND hSheet = Open();
        ASSERT_NE(hSheet, nullptr);
        ASSERT_TRUE(ShowPage(hSheet, kMedia));
        HWND hRate = Control(hSheet, IDC_RATE);
        ASSERT_TRUE(TypeInto(hRate, row.pszTyped));
        ASSERT_TRUE(XClick(GetDlgItem(hSheet, IDOK)));
        if (row.pszMessage == nullptr) {
            ASSERT_TRUE(Gone(hSheet));
            continue;
        }
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitFor([&]() { return (hBox = player.VisibleDialog("Tandrel98")) != nullptr; },
                            kSheetMs));
        EXPECT_EQ(BoxText(hBox), row.pszMessage);
        EXPECT_EQ(GetWindow(hBox, GW_OWNER), hSheet);
        ASSERT_TRUE(XKey("Return"));
        ASSERT_TRUE(WaitFor([&]() { return !IsWindow(hBox); }, kSheetMs));
        // The sheet stays, on the Media page, with the field to correct in focus.
        EXPECT_TRUE(IsWindowVisible(hSheet));
        EXPECT_EQ(ActiveIndex(hSheet), kMedia);
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(WaitFor(
            [&]() {
                return GetGUIThreadInfo(GetWindowThreadProcessId(hSheet, nullptr), &info) &&
                       info.hwndFocus == hRate;
            },
            kSheetMs));
        ASSERT_TRUE(CloseBox(hSheet));
    }
    ASSERT_TRUE(XKey("F2", player.MainWindow()));
    const DWORD dwStart = GetTickCount();
    ASSERT_TRUE(WaitFor([&]() { return player.PlayState() == 2; }, 15000))
        << "no end of the clip at rate 4";
    const double dSeconds = (GetTickCount() - dwStart) / 1000.0;
    EXPECT_GT(dSeconds, 1.5);
    EXPECT_LT(dSeconds, 6.0) << "at rate 4 the clip took as long as at normal speed";

    HWND hSheet = Open();
    ASSERT_NE(hSheet, nullptr);
    EXPECT_EQ(Text(Control(hSheet, IDC_RATE)), "4");
    ASSERT_TRUE(CloseBox(hSheet));
    Exit();
    StoredSettings record = {};
    ASSERT_TRUE(ReadStoredSettings(&record));
    EXPECT_EQ(record.dRate, 4.0);
}

// On the Video page, unchecking Caption and Finish removes the main window's caption (the
// window keeps its place, 16 pixels lower) and stores it; the close box keeps it. The
// display mode list opens on 640x480x08 every time, whatever was chosen before.
TEST_F(MovieControls, UncheckingCaptionAndFinishRemovesTheCaptionAndTheModeListOpensOn640x480x08)
{
    Start("vost.mpg");
    HWND hMain = player.MainWindow();
    RECT rcBefore = WindowRect(hMain);
    for (bool bFinish : {false, true}) {
        SCOPED_TRACE(bFinish ? "Finish" : "close box");
        HWND hSheet = Open();
        ASSERT_NE(hSheet, nullptr);
        ASSERT_TRUE(ShowPage(hSheet, kVideo));
        HWND hCombo = Control(hSheet, IDC_DISPLAY_MODE);
        EXPECT_EQ(Text(hCombo), "640x480x08");
        EXPECT_EQ(SendMessageA(hCombo, CB_GETCOUNT, 0, 0), 8);
        // Home picks the list's first entry, as a person choosing with the keyboard does.
        ASSERT_TRUE(XClick(hCombo));
        ASSERT_TRUE(XKey("Home Down Return"));
        ASSERT_TRUE(WaitFor([&]() { return Text(hCombo) == "320x200x16"; }, kSheetMs))
            << Text(hCombo);
        ASSERT_TRUE(XClick(Control(hSheet, IDC_CAPTION)));
        ASSERT_TRUE(bFinish ? Finish(hSheet) : CloseBox(hSheet));
        EXPECT_EQ((StyleOf(hMain) & WS_CAPTION) == WS_CAPTION, !bFinish);
    }
    HWND hSheet = Open();
    ASSERT_NE(hSheet, nullptr);
    EXPECT_EQ(ActiveIndex(hSheet), kVideo);
    EXPECT_EQ(Text(Control(hSheet, IDC_DISPLAY_MODE)), "640x480x08");
    ASSERT_TRUE(CloseBox(hSheet));
    RECT rcAfter = WindowRect(hMain);
    EXPECT_EQ(rcAfter.bottom - rcAfter.top, rcBefore.bottom - rcBefore.top - 16);
    EXPECT_EQ(rcAfter.left, rcBefore.left);
    Exit();
    StoredSettings record = {};
    ASSERT_TRUE(ReadStoredSettings(&record));
    EXPECT_EQ(record.bCaption, 0);
}

TEST_F(MovieControls, SaveFileWritesAByteIdenticalCopyAndRefusesTheMediaItself)
{
    CLastVisitedKeeper keeper;
    std::string dir = ScratchDir("save-file");
    std::string media = dir + "\\movie.mpg";
    ASSERT_TRUE(CopyFileA(MediaPath("clip.mpg").c_str(), media.c_str(), FALSE));
    std::vector<BYTE> original = ReadFileBytes(media);
    ASSERT_TRUE(player.Start("\"" + media + "\"", dir));
    ASSERT_NE(player.WaitMainWindow(kStartMs), nullptr);

    struct Row {
        std::string target;
        bool bWritten;
    } rows[] = {{dir + "\\copy.mpg", true}, {media, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target);
        HWND hSheet = Open();
        ASSERT_NE(hSheet, nullptr);
        ASSERT_TRUE(ShowPage(hSheet, kVideo));
        ASSERT_TRUE(XClick(Control(hSheet, IDC_SAVE_FILE)));
        HWND hSave = nullptr;
        ASSERT_TRUE(WaitFor(
            [&]() {
                hSave = player.VisibleDialog(nullptr);
                return hSave != nullptr && hSave != hSheet;
            },
            kSheetMs));
        EXPECT_EQ(GetWindow(hSave, GW_OWNER), hSheet) << "the save dialog sits on the sheet";
        EXPECT_FALSE(IsWindowEnabled(hSheet));
        ASSERT_TRUE(XKey("ctrl+a BackSpace"));
        ASSERT_TRUE(XType(row.target));
        ASSERT_TRUE(XKey("Return"));
        if (!row.bWritten) {
            HWND hBox = nullptr;
            ASSERT_TRUE(WaitFor(
                [&]() { return (hBox = player.VisibleDialog("Tandrel98")) != nullptr; }, kSheetMs));
            EXPECT_EQ(BoxText(hBox), "Failed to save document.");
            ASSERT_TRUE(XKey("Return"));
        }
        ASSERT_TRUE(WaitFor([&]() { return IsWindowEnabled(hSheet) != FALSE; }, kSheetMs));
        EXPECT_EQ(ReadFileBytes(row.target), original);
        ASSERT_TRUE(CloseBox(hSheet));
    }
    EXPECT_EQ(ReadFileBytes(media), original);
    Exit();
}

// A settings record that another program, an older version or a damaged hive left: the
// player starts, plays, opens the sheet on a page it has, finishes it, takes F8, and
// stores the record mended where a value would break it, every other value as it was.
struct Hostile {
    const char* pszName;
    void (*pfnSpoil)(StoredSettings& record);
    size_t cbStored;  // the value's length
    int nPage;        // the page the sheet opens on
    double dRate;     // stored at the end, after one F8
    INT32 lVolume, lBalance;
};

void PrintTo(const Hostile& h, std::ostream* os) { *os << h.pszName; }

class HostileSettings : public MovieControls, public testing::WithParamInterface<Hostile> {};

TEST_P(HostileSettings, ThePlayerStartsAndMendsOnlyWhatWouldBreakIt)
{
    const Hostile& row = GetParam();
    StoredSettings record = {0, 0, 1, 1, 0, 0, 0, 0, 1.0, -1000, 0, 0, 0};
    row.pfnSpoil(record);
    WriteStoredSettings(record, row.cbStored);
    Start("clip10.mpg");  // long enough that no end of the media comes in between
    HWND hSheet = Open();
    ASSERT_NE(hSheet, nullptr);
    EXPECT_EQ(ActiveIndex(hSheet), row.nPage);
    ASSERT_TRUE(Finish(hSheet)) << "the sheet would not finish";
    ASSERT_TRUE(XKey("F8", player.MainWindow()));
    Exit();
    StoredSettings stored = {};
    ASSERT_TRUE(ReadStoredSettings(&stored));
    EXPECT_EQ(stored.nStartPage, row.nPage);
    EXPECT_EQ(stored.dRate, row.dRate);
    EXPECT_EQ(stored.lVolume, row.lVolume);
    EXPECT_EQ(stored.lBalance, row.lBalance);
}

// Each bad rate comes with a bad value of another field: each is mended on its own.
INSTANTIATE_TEST_SUITE_P(Records, HostileSettings, testing::Values(
    Hostile{"RateNotANumberVolumeAboveFull", [](StoredSettings& r) { r.dRate = std::nan(""); r.lVolume = 5000; },
            56, kMedia, 1.2, -1000, 0},
    Hostile{"RateInfiniteVolumeBelowSilence", [](StoredSettings& r) { r.dRate = HUGE_VAL; r.lVolume = INT32_MIN; },
            56, kMedia, 1.2, -1000, 0},
    Hostile{"RateNegativeBalanceBeyondRight", [](StoredSettings& r) { r.dRate = -2.0; r.lBalance = 20000; },
            56, kMedia, 1.2, -1000, 0},
    Hostile{"RateHugeStartPageBeyondTheLast", [](StoredSettings& r) { r.dRate = 1e300; r.nStartPage = 4; },
            56, kMedia, 1.2, -1000, 0},
    Hostile{"RateZeroIsKept", [](StoredSettings& r) { r.dRate = 0.0; }, 56, kMedia, 0.0, -1000, 0},
    Hostile{"ShortValue", [](StoredSettings& r) { r.nStartPage = kAudio; }, 40, kMedia, 1.2, -1000, 0},
    Hostile{"EdgesAreKept", [](StoredSettings& r) { r = {0, 0, 1, 1, 0, 0, 3, 0, 4.0, -10000, 0, 0, 10000}; },
            56, kInformation, 4.0, -10000, 10000}),
    RowName());

}  // namespace
