// Modal dialogs through their real windows: a second thread finds the dialog this process
// shows, reads its controls, types into them and presses its buttons, while the test
// thread waits in DoModal. The driver records what it sees; the test thread checks it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Dialog.h"
#include "FileDialog.h"
#include "OpenInternetDlg.h"
#include "DialogDriver.h"
#include "TestEnv.h"
#include "resource.h"
#include "CallbackType.h"

namespace {

// What the Open dialog of the player is created with.
const DWORD kOpenFlags = OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                         OFN_NOCHANGEDIR | OFN_EXPLORER;
const char kMediaFilter[] =
    "Media Files (*.mpg;*.dat;*.avi;*.mov;*.mid;*.wav;*.au;*.aif)\t\t\t\t\t\t"
    "|*.mpg;*.dat;*.avi;*.mov;*.mid;*.wav;*.au;*.aif\t\t\t\t\t\t|All Files (*.*)|*.*||";
const char kOpenTitle[] = "Open Media Files";

// A control as the dialog created it, in its dialog's client coordinates.
struct ControlInfo {
    std::string cls;
    std::string text;
    int nID;
    DWORD dwStyle;
    RECT rc;
};

BOOL CALLBACK ReadControl(HWND hwnd, LPARAM lParam)
{
    std::vector<ControlInfo>* pControls = reinterpret_cast<std::vector<ControlInfo>*>(lParam);
    ControlInfo info;
    info.cls = ClassOf(hwnd);
    info.text = WindowText(hwnd);
    info.nID = GetDlgCtrlID(hwnd);
    info.dwStyle = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    GetWindowRect(hwnd, &info.rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&info.rc), 2);
    pControls->push_back(info);
    return TRUE;
}
TANDREL_ASSERT_CALLBACK(WNDENUMPROC, ReadControl);

// The pixel rectangle of a control placed at x,y with size cx,cy in dialog units, as the
// dialog manager computes it (position and size converted separately).
RECT DialogUnitsToPixels(HWND hDlg, int x, int y, int cx, int cy)
{
    RECT rcPos = {x, y, x, y};
    RECT rcSize = {0, 0, cx, cy};
    MapDialogRect(hDlg, &rcPos);
    MapDialogRect(hDlg, &rcSize);
    return RECT{rcPos.left, rcPos.top, rcPos.left + rcSize.right, rcPos.top + rcSize.bottom};
}

// ---------------------------------------------------------------------------------------
// The Open Internet dialog

TEST(OpenInternetDialog, ShowsTheHttpPrefixAndReturnsTheTypedAddressOnOk)
{
    COpenInternetDlg dlg;
    std::string shown;
    CDialogDriver driver("Open", [&](HWND hDlg) {
        shown = WindowText(GetDlgItem(hDlg, IDC_URL));
        Type(GetDlgItem(hDlg, IDC_URL), "http://media.example/clip one.mpg");
        Press(hDlg, IDOK);
    });
    INT_PTR nResult = dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_FALSE(driver.m_bLeftOpen);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(shown, "http://");
    EXPECT_EQ(dlg.m_strURL, "http://media.example/clip one.mpg");
}

TEST(OpenInternetDialog, CancelKeepsTheAddress)
{
    COpenInternetDlg dlg;
    CDialogDriver driver("Open", [&](HWND hDlg) {
        Type(GetDlgItem(hDlg, IDC_URL), "http://elsewhere.example/");
        Press(hDlg, IDCANCEL);
    });
    INT_PTR nResult = dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(dlg.m_strURL, "http://");
}

TEST(OpenInternetDialog, LayoutMatchesTheTemplateInDialogUnits)
{
    struct Expected {
        const char* cls;
        const char* text;
        int nID;
        int x, y, cx, cy;
    };
    const Expected expected[] = {
        {"Static", "Internet", IDC_STATIC, 13, 15, 34, 8},
        {"Edit", "http://", IDC_URL, 48, 13, 158, 14},
        {"Button", "OK", IDOK, 103, 44, 47, 14},
        {"Button", "Cancel", IDCANCEL, 162, 44, 44, 14},
        {"Static", "You may wait for a few minutes to download.", IDC_STATIC, 13, 39, 80, 19},
    };

    std::vector<ControlInfo> controls;
    std::vector<RECT> wanted;
    RECT rcClient = {}, rcWantedClient = {0, 0, 219, 73};
    LOGFONTA font = {};
    int nWantedHeight = 0;
    COpenInternetDlg dlg;
    CDialogDriver driver("Open", [&](HWND hDlg) {
        EnumChildWindows(hDlg, ReadControl, reinterpret_cast<LPARAM>(&controls));
        for (const Expected& e : expected)
            wanted.push_back(DialogUnitsToPixels(hDlg, e.x, e.y, e.cx, e.cy));
        GetClientRect(hDlg, &rcClient);
        MapDialogRect(hDlg, &rcWantedClient);
        HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(hDlg, WM_GETFONT, 0, 0));
        GetObjectA(hFont, sizeof(font), &font);
        HDC hdc = GetDC(hDlg);
        nWantedHeight = -MulDiv(8, GetDeviceCaps(hdc, LOGPIXELSY), 72);
        ReleaseDC(hDlg, hdc);
        Press(hDlg, IDCANCEL);
    });
    dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_EQ(rcClient.right, rcWantedClient.right);
    EXPECT_EQ(rcClient.bottom, rcWantedClient.bottom);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, nWantedHeight);

    ASSERT_EQ(controls.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(lstrcmpiA(controls[i].cls.c_str(), expected[i].cls), 0) << controls[i].cls;
        EXPECT_EQ(controls[i].text, expected[i].text);
        // Ids are 16 bits in the template.
        EXPECT_EQ(static_cast<WORD>(controls[i].nID), static_cast<WORD>(expected[i].nID));
        EXPECT_EQ(controls[i].rc.left, wanted[i].left);
        EXPECT_EQ(controls[i].rc.top, wanted[i].top);
        EXPECT_EQ(controls[i].rc.right, wanted[i].right);
        EXPECT_EQ(controls[i].rc.bottom, wanted[i].bottom);
    }
    EXPECT_TRUE(controls[1].dwStyle & ES_AUTOHSCROLL);
    EXPECT_EQ(controls[2].dwStyle & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    EXPECT_EQ(controls[3].dwStyle & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
}

// ---------------------------------------------------------------------------------------
// Modal dialogs: routing of OK and Cancel, data exchange and validation, the owner

// A dialog on the same template that records its handlers and can insist on a text.
class CRecordingDlg : public CDialog {
public:
    explicit CRecordingDlg(CWnd* pParentWnd = nullptr) : CDialog(IDD_OPEN_INTERNET, pParentWnd) {}

    void OnOK() override
    {
        m_calls.push_back("OK");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        m_calls.push_back("Cancel");
        CDialog::OnCancel();
    }

    std::string m_strText;
    bool m_bRequireText = false;
    std::vector<std::string> m_calls;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_URL, m_strText);
        if (pDX->m_bSaveAndValidate && m_bRequireText && m_strText.empty())
            pDX->Fail();
    }
};

TEST(ModalDialog, OkAndCancelReachTheirHandlersFromButtonsKeysAndTheCloseBox)
{
    struct Case {
        const char* name;
        std::function<void(HWND)> act;
        INT_PTR nResult;
        const char* handler;
    };
    const Case cases[] = {
        {"OK button", [](HWND hDlg) { Press(hDlg, IDOK); }, IDOK, "OK"},
        {"Cancel button", [](HWND hDlg) { Press(hDlg, IDCANCEL); }, IDCANCEL, "Cancel"},
        {"Enter",
         [](HWND hDlg) { PostMessageA(GetDlgItem(hDlg, IDC_URL), WM_KEYDOWN, VK_RETURN, 1); },
         IDOK, "OK"},
        {"Esc",
         [](HWND hDlg) { PostMessageA(GetDlgItem(hDlg, IDC_URL), WM_KEYDOWN, VK_ESCAPE, 1); },
         IDCANCEL, "Cancel"},
        {"close box", [](HWND hDlg) { PostMessageA(hDlg, WM_CLOSE, 0, 0); }, IDCANCEL, "Cancel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRecordingDlg dlg;
        dlg.m_strText = "before";
        CDialogDriver driver("Open", [&](HWND hDlg) {
            Type(GetDlgItem(hDlg, IDC_URL), "after");
            c.act(hDlg);
        });
        INT_PTR nResult = dlg.DoModal();
        driver.Join();

        ASSERT_TRUE(driver.m_bFound);
        EXPECT_FALSE(driver.m_bLeftOpen);
        EXPECT_EQ(nResult, c.nResult);
        EXPECT_EQ(dlg.m_calls, std::vector<std::string>{c.handler});
        EXPECT_EQ(dlg.m_strText, c.nResult == IDOK ? "after" : "before");
    }
}

TEST(ModalDialog, FailedValidationKeepsTheDialogOpenWithTheFocusOnTheControl)
{
    CRecordingDlg dlg;
    dlg.m_bRequireText = true;
    bool bOpenAfterEmpty = false;
    bool bFocusOnEdit = false;
    DWORD dwDialogThread = GetCurrentThreadId();
    CDialogDriver driver("Open", [&](HWND hDlg) {
        // Pressing OK takes the focus to the button; a failed exchange gives it back.
        Type(GetDlgItem(hDlg, IDC_URL), "");
        Press(hDlg, IDOK);
        Sleep(200);
        bOpenAfterEmpty = IsWindow(hDlg) && IsWindowVisible(hDlg);
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof(gui);
        GetGUIThreadInfo(dwDialogThread, &gui);
        bFocusOnEdit = gui.hwndFocus == GetDlgItem(hDlg, IDC_URL);
        Type(GetDlgItem(hDlg, IDC_URL), "now filled");
        Press(hDlg, IDOK);
    });
    INT_PTR nResult = dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_TRUE(bOpenAfterEmpty);
    EXPECT_TRUE(bFocusOnEdit);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(dlg.m_calls, (std::vector<std::string>{"OK", "OK"}));
    EXPECT_EQ(dlg.m_strText, "now filled");
}

TEST(ModalDialog, TextOfAnyLengthMovesBothWays)
{
    std::string shownFirst;
    std::string typed;
    for (int i = 0; i < 6000; ++i)
        typed.push_back(static_cast<char>('a' + i % 26));
    CRecordingDlg dlg;
    dlg.m_strText = std::string(3000, 'x') + "end";
    CDialogDriver driver("Open", [&](HWND hDlg) {
        shownFirst = WindowText(GetDlgItem(hDlg, IDC_URL));
        Type(GetDlgItem(hDlg, IDC_URL), typed);
        Press(hDlg, IDOK);
    });
    INT_PTR nResult = dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(shownFirst, std::string(3000, 'x') + "end");
    EXPECT_EQ(dlg.m_strText, typed);
}

TEST(ModalDialog, IsModalToItsParentAndCentredOverIt)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 520,
                               400, nullptr, nullptr));
    bool bOwnerEnabled = true;
    HWND hwndOwnerSeen = nullptr;
    RECT rcDlg = {}, rcOwner = {};
    CRecordingDlg dlg(&owner);
    CDialogDriver driver("Open", [&](HWND hDlg) {
        bOwnerEnabled = IsWindowEnabled(owner.m_hWnd) != FALSE;
        hwndOwnerSeen = GetWindow(hDlg, GW_OWNER);
        GetWindowRect(hDlg, &rcDlg);
        GetWindowRect(owner.m_hWnd, &rcOwner);
        Press(hDlg, IDCANCEL);
    });
    dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_FALSE(bOwnerEnabled);
    EXPECT_EQ(hwndOwnerSeen, owner.m_hWnd);
    EXPECT_TRUE(IsWindowEnabled(owner.m_hWnd));
    EXPECT_NEAR((rcDlg.left + rcDlg.right) / 2, (rcOwner.left + rcOwner.right) / 2, 1);
    EXPECT_NEAR((rcDlg.top + rcDlg.bottom) / 2, (rcOwner.top + rcOwner.bottom) / 2, 1);
    owner.DestroyWindow();
}

TEST(ModalDialog, MissingTemplateFailsAtOnce)
{
    CDialog dlg(4242);
    EXPECT_EQ(dlg.DoModal(), -1);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

// ---------------------------------------------------------------------------------------
// The walk over a file dialog's result

class FileDialogResult : public testing::Test {
protected:
    // Puts raw result bytes (NULs included) in a buffer of exactly nMax characters.
    void SetResult(const std::string& bytes, size_t nMax)
    {
        m_buffer.assign(nMax, '\0');
        m_buffer.replace(0, std::min(bytes.size(), nMax), bytes.substr(0, nMax));
        m_dlg.m_ofn.lpstrFile = &m_buffer[0];
        m_dlg.m_ofn.nMaxFile = static_cast<DWORD>(nMax);
    }
    std::vector<std::string> Walk() const
    {
        std::vector<std::string> paths;
        for (POSITION pos = m_dlg.GetStartPosition(); pos != nullptr && paths.size() < 10;)
            paths.push_back(m_dlg.GetNextPathName(pos));
        return paths;
    }

    CFileDialog m_dlg{TRUE, "*.*", nullptr, kOpenFlags, kMediaFilter, nullptr};
    std::string m_buffer;
};

TEST_F(FileDialogResult, FolderAndNamesGiveFullPaths)
{
    SetResult(std::string("C:\\media\0a.mpg\0b two.mpg\0c.mpg\0\0", 32), 4096);
    EXPECT_EQ(Walk(), (std::vector<std::string>{"C:\\media\\a.mpg", "C:\\media\\b two.mpg",
                                                 "C:\\media\\c.mpg"}));
    EXPECT_EQ(m_dlg.GetPathName(), "C:\\media");

    // A drive root keeps its one separator.
    SetResult(std::string("C:\\\0a.mpg\0b.mpg\0\0", 17), 4096);
    EXPECT_EQ(Walk(), (std::vector<std::string>{"C:\\a.mpg", "C:\\b.mpg"}));

    // One file chosen: its full path alone.
    SetResult(std::string("C:\\media\\one.mpg\0\0", 18), 4096);
    EXPECT_EQ(Walk(), std::vector<std::string>{"C:\\media\\one.mpg"});
    EXPECT_EQ(m_dlg.GetPathName(), "C:\\media\\one.mpg");

    SetResult("", 4096);
    EXPECT_EQ(m_dlg.GetStartPosition(), nullptr);
}

TEST_F(FileDialogResult, StoredPositionsGiveTheirEntryAgain)
{
    SetResult(std::string("D:\\clips\0one.mpg\0two.mpg\0three.mpg\0\0", 36), 4096);
    std::vector<POSITION> stored;
    for (POSITION pos = m_dlg.GetStartPosition(); pos != nullptr && stored.size() < 10;) {
        stored.push_back(pos);
        m_dlg.GetNextPathName(pos);
    }
    ASSERT_EQ(stored.size(), 3u);
    std::swap(stored.front(), stored.back());
    std::vector<std::string> paths;
    for (POSITION pos : stored)
        paths.push_back(m_dlg.GetNextPathName(pos));
    EXPECT_EQ(paths, (std::vector<std::string>{"D:\\clips\\three.mpg", "D:\\clips\\two.mpg",
                                                "D:\\clips\\one.mpg"}));
}

TEST_F(FileDialogResult, NothingIsReadPastTheBufferAndLongPathsStayWhole)
{
    // The last name runs into the buffer's end without its NUL: it is not an entry.
    SetResult(std::string("C:\\d\0a.mpg\0bbbbbbbb", 19), 14);
    m_buffer.append("\0zz.mpg\0\0", 9);  // beyond nMaxFile: must stay unseen
    m_dlg.m_ofn.lpstrFile = &m_buffer[0];
    EXPECT_EQ(Walk(), std::vector<std::string>{"C:\\d\\a.mpg"});

    // A folder that fills the buffer is no result.
    SetResult(std::string(20, 'f'), 20);
    m_buffer.append(std::string("\0x\0\0", 4));
    m_dlg.m_ofn.lpstrFile = &m_buffer[0];
    POSITION pos = m_dlg.GetStartPosition();
    EXPECT_EQ(m_dlg.GetNextPathName(pos), "");
    EXPECT_EQ(pos, nullptr);

    // Paths longer than MAX_PATH come back whole.
    std::string folder = "C:\\" + std::string(300, 'L');
    SetResult(folder + std::string("\0a.mpg\0", 7) + std::string(280, 'n') + std::string("\0\0", 2),
              4096);
    std::vector<std::string> paths = Walk();
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], folder + "\\a.mpg");
    EXPECT_EQ(paths[1], folder + "\\" + std::string(280, 'n'));
}

TEST_F(FileDialogResult, WithoutMultipleSelectionTheWholeResultIsOnePath)
{
    CFileDialog single(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, nullptr, nullptr);
    char szResult[64] = "C:\\media\\one.mpg\0stale.mpg";
    single.m_ofn.lpstrFile = szResult;
    single.m_ofn.nMaxFile = sizeof(szResult);
    POSITION pos = single.GetStartPosition();
    EXPECT_EQ(single.GetNextPathName(pos), "C:\\media\\one.mpg");
    EXPECT_EQ(pos, nullptr);
}

// ---------------------------------------------------------------------------------------
// The platform's Open and Save dialogs

class OpenFileDialog : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = ScratchDir("dialogs");
        for (const char* pszName : {"a.mpg", "b.mpg", "c.mpg"})
            WriteFileBytes(m_dir + "\\" + pszName, std::vector<BYTE>(16, 0x42));
        m_dlg.m_ofn.lpstrTitle = kOpenTitle;
        m_dlg.m_ofn.lpstrFile = m_szOpenFiles;
        m_dlg.m_ofn.nMaxFile = sizeof(m_szOpenFiles);
        m_dlg.m_ofn.lpstrInitialDir = m_dir.c_str();
    }

    // Types text into the dialog's file name box and presses its OK button.
    static void Choose(HWND hDlg, const std::string& text)
    {
        Type(FileNameBox(hDlg), text);
        Press(hDlg, IDOK);
    }

    std::vector<std::string> Walk() const
    {
        std::vector<std::string> paths;
        for (POSITION pos = m_dlg.GetStartPosition(); pos != nullptr && paths.size() < 10;)
            paths.push_back(m_dlg.GetNextPathName(pos));
        return paths;
    }

    std::string m_dir;
    char m_szOpenFiles[4096] = "";
    CFileDialog m_dlg{TRUE, "*.*", m_szOpenFiles, kOpenFlags, kMediaFilter, nullptr};
};

TEST_F(OpenFileDialog, MultipleSelectionGivesEveryFullPathInTheListedOrder)
{
    std::vector<std::string> filters;
    CDialogDriver driver(kOpenTitle, [&](HWND hDlg) {
        HWND hTypes = GetDlgItem(hDlg, cmb1);
        LRESULT nCount = SendMessageA(hTypes, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < nCount; ++i) {
            char szItem[256] = "";
            if (SendMessageA(hTypes, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof(szItem)))
                SendMessageA(hTypes, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(szItem));
            filters.push_back(szItem);
        }
        Choose(hDlg, "\"c.mpg\" \"a.mpg\" \"b.mpg\"");
    });
    INT_PTR nResult = m_dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_FALSE(driver.m_bLeftOpen);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(Walk(), (std::vector<std::string>{m_dir + "\\c.mpg", m_dir + "\\a.mpg",
                                                 m_dir + "\\b.mpg"}));
    // The filter's descriptions, TABs and all.
    const std::string media = "Media Files (*.mpg;*.dat;*.avi;*.mov;*.mid;*.wav;*.au;*.aif)";
    EXPECT_EQ(filters, (std::vector<std::string>{media + "\t\t\t\t\t\t", "All Files (*.*)"}));
}

TEST_F(OpenFileDialog, SingleSelectionGivesOnePath)
{
    CDialogDriver driver(kOpenTitle, [&](HWND hDlg) { Choose(hDlg, "b.mpg"); });
    INT_PTR nResult = m_dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(m_dlg.GetPathName(), m_dir + "\\b.mpg");
    EXPECT_EQ(Walk(), std::vector<std::string>{m_dir + "\\b.mpg"});
}

TEST_F(OpenFileDialog, CancelLeavesThePreviousResult)
{
    const std::string previous = m_dir + std::string("\0x.mpg\0y.mpg\0\0", 14);
    previous.copy(m_szOpenFiles, previous.size());
    CDialogDriver driver(kOpenTitle, [&](HWND hDlg) {
        Type(FileNameBox(hDlg), "a.mpg");
        Press(hDlg, IDCANCEL);
    });
    INT_PTR nResult = m_dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(Walk(), (std::vector<std::string>{m_dir + "\\x.mpg", m_dir + "\\y.mpg"}));
}

TEST_F(OpenFileDialog, NextUseStartsInTheFolderOfAMultipleSelectionAndCancelKeepsIt)
{
    CDialogDriver first(kOpenTitle, [&](HWND hDlg) { Choose(hDlg, "\"a.mpg\" \"b.mpg\""); });
    ASSERT_EQ(m_dlg.DoModal(), IDOK);
    first.Join();
    ASSERT_TRUE(first.m_bFound);

    // Elsewhere by default: only the previous result can lead the dialog back.
    m_dlg.m_ofn.lpstrInitialDir = nullptr;
    std::string folder, name;
    CDialogDriver again(kOpenTitle, [&](HWND hDlg) {
        char szFolder[MAX_PATH] = "";
        SendMessageA(hDlg, CDM_GETFOLDERPATH, sizeof(szFolder), reinterpret_cast<LPARAM>(szFolder));
        folder = szFolder;
        name = WindowText(FileNameBox(hDlg));
        Press(hDlg, IDCANCEL);
    });
    INT_PTR nResult = m_dlg.DoModal();
    again.Join();

    ASSERT_TRUE(again.m_bFound);
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(folder, m_dir);
    EXPECT_EQ(name, "");
    EXPECT_EQ(m_dlg.m_ofn.lpstrInitialDir, nullptr);
    EXPECT_EQ(Walk(), (std::vector<std::string>{m_dir + "\\a.mpg", m_dir + "\\b.mpg"}));
}

TEST_F(OpenFileDialog, ChoiceThatDoesNotFitKeepsThePreviousResult)
{
    const std::string previous = m_dir + std::string("\0x.mpg\0\0", 8);
    struct Case {
        const char* typed;
        size_t nMax;
    };
    // A single path longer than the buffer, and several names that overflow it.
    const Case cases[] = {{"a-name-longer-than-the-room-left.mpg", previous.size() + 4},
                          {"\"a.mpg\" \"b.mpg\" \"c.mpg\"", previous.size() + 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        std::string buffer(c.nMax, '\0');
        buffer.replace(0, previous.size(), previous);
        m_dlg.m_ofn.lpstrFile = &buffer[0];
        m_dlg.m_ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        CDialogDriver driver(kOpenTitle, [&](HWND hDlg) { Choose(hDlg, c.typed); });
        INT_PTR nResult = m_dlg.DoModal();
        driver.Join();

        ASSERT_TRUE(driver.m_bFound);
        EXPECT_FALSE(driver.m_bLeftOpen);
        EXPECT_EQ(nResult, IDCANCEL);
        EXPECT_EQ(buffer.substr(0, previous.size()), previous);
        EXPECT_EQ(Walk(), std::vector<std::string>{m_dir + "\\x.mpg"});
    }
}

TEST(SaveFileDialog, PatternDefaultExtensionIsAppendedBare)
{
    std::string dir = ScratchDir("dialogs-save");
    char szName[MAX_PATH] = "Backup.mpg";
    CFileDialog dlg(FALSE, "*.mpg", szName, OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER,
                    "All Files (*.*)|*.*||", nullptr);
    dlg.m_ofn.lpstrTitle = "Save Copy";
    dlg.m_ofn.lpstrInitialDir = dir.c_str();
    std::string shown;
    CDialogDriver driver("Save Copy", [&](HWND hDlg) {
        shown = WindowText(FileNameBox(hDlg));
        Type(FileNameBox(hDlg), "Copy");
        Press(hDlg, IDOK);
    });
    INT_PTR nResult = dlg.DoModal();
    driver.Join();

    ASSERT_TRUE(driver.m_bFound);
    EXPECT_EQ(nResult, IDOK);
    EXPECT_EQ(shown, "Backup.mpg");
    EXPECT_EQ(dlg.GetPathName(), dir + "\\Copy.mpg");
}

}  // namespace
