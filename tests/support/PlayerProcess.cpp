#include "PlayerProcess.h"

#include <commctrl.h>

#include <vector>
#include "CallbackType.h"

#ifndef TANDREL_PLAYER_EXE
#error "the build passes the player's path"
#endif

namespace {

const UINT kPlay = 32775, kPause = 32777, kStop = 32781;

struct FindTop {
    DWORD dwProcess;
    const char* pszClass;
    HWND hOwner;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hWnd, LPARAM lParam)
{
    FindTop* p = reinterpret_cast<FindTop*>(lParam);
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    char szClass[64] = "";
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (dwProcess == p->dwProcess && lstrcmpA(szClass, p->pszClass) == 0 &&
        (p->hOwner == nullptr || GetWindow(hWnd, GW_OWNER) == p->hOwner))
        p->found.push_back(hWnd);
    return TRUE;
}
TANDREL_ASSERT_CALLBACK(WNDENUMPROC, CollectTop);

std::vector<HWND> TopWindows(DWORD dwProcess, const char* pszClass, HWND hOwner = nullptr)
{
    FindTop find = {dwProcess, pszClass, hOwner, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

}  // namespace

std::string CPlayerProcess::PlayerPath()
{
    std::string path = TANDREL_PLAYER_EXE;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return "Z:" + path;
}

std::string CPlayerProcess::WindowText(HWND hWnd)
{
    char szText[512] = "";
    GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

CPlayerProcess::~CPlayerProcess()
{
    Kill();
}

bool CPlayerProcess::Start(const std::string& commandLine, const std::string& directory)
{
    std::string full = "\"" + PlayerPath() + "\"";
    if (!commandLine.empty())
        full += " " + commandLine;
    std::vector<char> buffer(full.begin(), full.end());
    buffer.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.empty() ? nullptr : directory.c_str(), &si, &m_pi) != FALSE;
}

HWND CPlayerProcess::WaitMainWindow(DWORD dwMilliseconds, bool bFitted)
{
    WaitFor(
        [&]() {
            for (HWND hWnd : TopWindows(m_pi.dwProcessId, "TandrelFrameworkWnd")) {
                if (GetWindow(hWnd, GW_OWNER) == nullptr && IsWindowVisible(hWnd) &&
                    (!bFitted || WindowText(hWnd) != "Tandrel98")) {
                    m_hwndMain = hWnd;
                    return true;
                }
            }
            return false;
        },
        dwMilliseconds);
    return m_hwndMain;
}

HWND CPlayerProcess::PaletteFrame()
{
    std::vector<HWND> frames = TopWindows(m_pi.dwProcessId, "TandrelFrameworkWnd", m_hwndMain);
    return frames.empty() ? nullptr : frames[0];
}

HWND CPlayerProcess::Palette()
{
    HWND hFrame = PaletteFrame();
    return hFrame != nullptr ? FindWindowExA(hFrame, nullptr, TOOLBARCLASSNAMEA, nullptr) : nullptr;
}

namespace {

// Whether a window is one of the player's own kinds rather than the renderer's.
bool IsPlayersOwn(HWND hWnd)
{
    char szClass[64] = "";
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return lstrcmpA(szClass, "TandrelFrameworkWnd") == 0 ||
           lstrcmpA(szClass, TOOLBARCLASSNAMEA) == 0 || lstrcmpA(szClass, STATUSCLASSNAMEA) == 0 ||
           lstrcmpA(szClass, "IME") == 0 || lstrcmpA(szClass, "#32770") == 0;
}

struct FindForeign {
    DWORD dwProcess;
    HWND hFound;
};

BOOL CALLBACK FindForeignTop(HWND hWnd, LPARAM lParam)
{
    FindForeign* p = reinterpret_cast<FindForeign*>(lParam);
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    if (dwProcess == p->dwProcess && IsWindowVisible(hWnd) && !IsPlayersOwn(hWnd)) {
        p->hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}
TANDREL_ASSERT_CALLBACK(WNDENUMPROC, FindForeignTop);

}  // namespace

HWND CPlayerProcess::VideoWindow()
{
    // The renderer's window is the one window of the player that is not of its own
    // kinds: a child of the main window, or on its own while it fills the screen.
    for (HWND hChild = GetWindow(m_hwndMain, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (!IsPlayersOwn(hChild))
            return hChild;
    }
    FindForeign find = {m_pi.dwProcessId, nullptr};
    EnumWindows(FindForeignTop, reinterpret_cast<LPARAM>(&find));
    return find.hFound;
}

int CPlayerProcess::PlayState()
{
    HWND hPalette = Palette();
    if (hPalette == nullptr)
        return -1;
    bool bPlay = SendMessageA(hPalette, TB_ISBUTTONENABLED, kPlay, 0) != 0;
    bool bPause = SendMessageA(hPalette, TB_ISBUTTONENABLED, kPause, 0) != 0;
    bool bStop = SendMessageA(hPalette, TB_ISBUTTONENABLED, kStop, 0) != 0;
    if (!bPlay && !bPause && !bStop)
        return 0;
    if (bPlay && bPause && !bStop)
        return 1;
    if (bPlay && !bPause && bStop)
        return 2;
    if (!bPlay && bPause && bStop)
        return 3;
    return -1;
}

bool CPlayerProcess::WaitPlayState(int nState, DWORD dwMilliseconds)
{
    return WaitFor([&]() { return PlayState() == nState; }, dwMilliseconds);
}

void CPlayerProcess::PostKey(UINT vk, HWND hWnd)
{
    HWND hTarget = hWnd != nullptr ? hWnd : m_hwndMain;
    UINT nScan = MapVirtualKeyA(vk, 0);
    PostMessageA(hTarget, WM_KEYDOWN, vk, 1 | (nScan << 16));
    PostMessageA(hTarget, WM_KEYUP, vk, 1 | (nScan << 16) | 0xC0000000);
}

void CPlayerProcess::TypeCtrlKey(UINT vk)
{
    // Keys posted before must be taken while Ctrl is still up.
    WaitForInputIdle(m_pi.hProcess, 2000);
    Sleep(300);
    // Share the player's input state for a moment, so that the key arrives with Ctrl
    // held as the accelerators see it, wherever the focus is.
    DWORD dwPlayerThread = GetWindowThreadProcessId(m_hwndMain, nullptr);
    DWORD dwThisThread = GetCurrentThreadId();
    BOOL bAttached = AttachThreadInput(dwThisThread, dwPlayerThread, TRUE);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] |= 0x80;
    keys[VK_LCONTROL] |= 0x80;
    SetKeyboardState(keys);
    PostKey(vk);
    // Give the player time to take the key from its queue.
    Sleep(300);
    keys[VK_CONTROL] &= ~0x80;
    keys[VK_LCONTROL] &= ~0x80;
    SetKeyboardState(keys);
    if (bAttached)
        AttachThreadInput(dwThisThread, dwPlayerThread, FALSE);
}

void CPlayerProcess::PostClick(UINT msgDown, UINT msgUp, POINT pt, HWND hWnd)
{
    HWND hTarget = hWnd != nullptr ? hWnd : m_hwndMain;
    LPARAM lParam = MAKELPARAM(pt.x, pt.y);
    PostMessageA(hTarget, msgDown, msgDown == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, lParam);
    PostMessageA(hTarget, msgUp, 0, lParam);
}

HWND CPlayerProcess::TopDialog(int nChildID)
{
    for (HWND hWnd : TopWindows(m_pi.dwProcessId, "#32770")) {
        if (IsWindowVisible(hWnd) && IsWindowEnabled(hWnd) &&
            (nChildID == 0 || GetDlgItem(hWnd, nChildID) != nullptr))
            return hWnd;
    }
    return nullptr;
}

HWND CPlayerProcess::VisibleDialog(const char* pszTitle)
{
    for (HWND hWnd : TopWindows(m_pi.dwProcessId, "#32770")) {
        if (!IsWindowVisible(hWnd))
            continue;
        char szTitle[256] = "";
        if (pszTitle != nullptr)
            SendMessageA(hWnd, WM_GETTEXT, sizeof(szTitle), reinterpret_cast<LPARAM>(szTitle));
        if (pszTitle == nullptr || lstrcmpA(szTitle, pszTitle) == 0)
            return hWnd;
    }
    return nullptr;
}

bool CPlayerProcess::WaitMessageBox(ShownMessage* pShown, DWORD dwMilliseconds)
{
    HWND hBox = nullptr;
    if (!WaitFor(
            [&]() {
                for (HWND hWnd : TopWindows(m_pi.dwProcessId, "#32770")) {
                    if (IsWindowVisible(hWnd)) {
                        hBox = hWnd;
                        return true;
                    }
                }
                return false;
            },
            dwMilliseconds))
        return false;
    Sleep(100);
    pShown->caption = WindowText(hBox);
    pShown->text.clear();
    HWND hButton = nullptr;
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[32] = "";
        GetClassNameA(hChild, szClass, sizeof(szClass));
        std::string text = WindowText(hChild);
        if (lstrcmpiA(szClass, "Static") == 0 && !text.empty() && pShown->text.empty())
            pShown->text = text;
        else if (lstrcmpiA(szClass, "Button") == 0 && hButton == nullptr)
            hButton = hChild;
    }
    PostMessageA(hBox, WM_COMMAND,
                 MAKEWPARAM(hButton != nullptr ? GetDlgCtrlID(hButton) : IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hButton));
    return true;
}

bool CPlayerProcess::IsRunning() const
{
    return m_pi.hProcess != nullptr && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool CPlayerProcess::WaitExit(DWORD dwMilliseconds, DWORD* pdwExitCode)
{
    if (m_pi.hProcess == nullptr)
        return true;
    bool bExited = WaitFor([&]() { return !IsRunning(); }, dwMilliseconds);
    if (bExited && pdwExitCode != nullptr)
        GetExitCodeProcess(m_pi.hProcess, pdwExitCode);
    return bExited;
}

DWORD CPlayerProcess::CloseAndExitCode(DWORD dwMilliseconds)
{
    if (m_pi.hProcess == nullptr)
        return 0;
    if (IsRunning() && m_hwndMain != nullptr)
        PostMessageA(m_hwndMain, WM_CLOSE, 0, 0);
    DWORD dwCode = 0xDEAD;
    if (!WaitExit(dwMilliseconds, &dwCode))
        dwCode = 0xDEAD;
    Kill();
    return dwCode;
}

void CPlayerProcess::Kill()
{
    if (m_pi.hProcess != nullptr) {
        if (IsRunning()) {
            TerminateProcess(m_pi.hProcess, 99);
            WaitForSingleObject(m_pi.hProcess, 5000);
        }
        CloseHandle(m_pi.hProcess);
        CloseHandle(m_pi.hThread);
        m_pi = PROCESS_INFORMATION();
    }
}
