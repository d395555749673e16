#include "XInput.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Holders.h"
#include "TestEnv.h"

namespace {

bool FileExistsAt(const char* pszPath)
{
    return GetFileAttributesA(pszPath) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadSmallFile(const char* pszPath)
{
    HANDLE h = CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "";
    char sz[32] = "";
    DWORD cb = 0;
    ReadFile(h, sz, sizeof(sz) - 1, &cb, nullptr);
    CloseHandle(h);
    return std::string(sz, cb);
}

}  // namespace

bool RunHost(const std::string& command, DWORD dwMilliseconds)
{
    // A host program's end cannot be waited for from here: the shell around it leaves
    // its exit code in a file, renamed into place once complete.
    static int s_nRun = 0;
    std::string name = "tandrel-host-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++s_nRun);
    std::string unixDone = "/tmp/" + name;
    std::string winDone = "Z:\\tmp\\" + name;
    DeleteFileA(winDone.c_str());
    std::string line = "\"Z:\\bin\\sh\" -c \"" + command + "; echo $? > " + unixDone +
                       ".tmp && mv " + unixDone + ".tmp " + unixDone + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (!WaitFor([&]() { return FileExistsAt(winDone.c_str()); }, dwMilliseconds))
        return false;
    std::string code = ReadSmallFile(winDone.c_str());
    DeleteFileA(winDone.c_str());
    return code.compare(0, 1, "0") == 0 && (code.size() == 1 || code[1] == '\n');
}

bool Xdo(const std::string& args, DWORD dwMilliseconds)
{
    return RunHost("xdotool " + args, dwMilliseconds);
}

bool XClick(HWND hWnd)
{
    RECT rc;
    if (!GetWindowRect(hWnd, &rc))
        return false;
    return Xdo("mousemove " + std::to_string((rc.left + rc.right) / 2) + " " +
               std::to_string((rc.top + rc.bottom) / 2) + " click 1");
}

bool XType(const std::string& text)
{
    return Xdo("type --delay 60 -- '" + text + "'");
}

namespace {

// Without a window manager the platform can leave the activation with no window of the
// program after one of its windows closed under load (seen after the player's sheet), and
// keys then reach none of them, where a person would click the program's window first.
// The window is brought to the front, as a desktop's window manager would, and the test's
// output says so.
void GiveActivation(HWND hWnd)
{
    HWND hRoot = GetAncestor(hWnd, GA_ROOT);
    DWORD dwTarget = 0, dwFront = 0;
    GetWindowThreadProcessId(hRoot, &dwTarget);
    GetWindowThreadProcessId(GetForegroundWindow(), &dwFront);
    if (hRoot != nullptr && dwTarget != dwFront && IsWindowEnabled(hRoot) && SetForegroundWindow(hRoot))
        fprintf(stderr, "note: no window of the program had the activation; brought it to the front\n");
}

}  // namespace

bool XKey(const std::string& keys, HWND hWnd)
{
    if (hWnd != nullptr)
        GiveActivation(hWnd);
    // The display's own window behind a window of any process, which the platform
    // keeps as a property of it.
    HANDLE hXWindow = hWnd != nullptr ? GetPropA(hWnd, "__wine_x11_whole_window") : nullptr;
    std::string focus;
    if (hXWindow != nullptr)
        focus = "windowfocus --sync " + std::to_string(reinterpret_cast<UINT_PTR>(hXWindow)) + " ";
    return Xdo(focus + "key --delay 60 " + keys);
}

bool XClick(POINT ptScreen)
{
    return Xdo("mousemove " + std::to_string(ptScreen.x) + " " + std::to_string(ptScreen.y) +
               " click 1");
}

COLORREF ShownColour(HWND hWnd)
{
    RECT rc = {};
    if (hWnd == nullptr || !GetWindowRect(hWnd, &rc))
        return CLR_INVALID;
    CDCHolder screen(nullptr);
    return GetPixel(screen.Get(), (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
}

bool ColoursNear(COLORREF a, COLORREF b, int nTolerance)
{
    return a != CLR_INVALID && b != CLR_INVALID && abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
           abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}
