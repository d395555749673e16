#include "XInput.h"

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

bool XKey(const std::string& keys, HWND hWnd)
{
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
    const int kSide = 16;
    RECT rc = {};
    if (hWnd == nullptr || !GetWindowRect(hWnd, &rc))
        return CLR_INVALID;
    CDCHolder screen(nullptr);
    HDC hdcMem = CreateCompatibleDC(screen.Get());
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = kSide;
    bmi.bmiHeader.biHeight = -kSide;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pvBits = nullptr;
    HBITMAP hbm = CreateDIBSection(screen.Get(), &bmi, DIB_RGB_COLORS, &pvBits, nullptr, 0);
    COLORREF cr = CLR_INVALID;
    if (hdcMem != nullptr && hbm != nullptr) {
        HGDIOBJ hOld = SelectObject(hdcMem, hbm);
        if (BitBlt(hdcMem, 0, 0, kSide, kSide, screen.Get(), (rc.left + rc.right - kSide) / 2,
                   (rc.top + rc.bottom - kSide) / 2, SRCCOPY)) {
            GdiFlush();
            const BYTE* p = static_cast<const BYTE*>(pvBits);
            long lBlue = 0, lGreen = 0, lRed = 0;
            for (int i = 0; i < kSide * kSide; ++i, p += 4) {
                lBlue += p[0];
                lGreen += p[1];
                lRed += p[2];
            }
            const long n = kSide * kSide;
            cr = RGB(lRed / n, lGreen / n, lBlue / n);
        }
        SelectObject(hdcMem, hOld);
    }
    if (hbm != nullptr)
        DeleteObject(hbm);
    if (hdcMem != nullptr)
        DeleteDC(hdcMem);
    return cr;
}

bool ColoursNear(COLORREF a, COLORREF b, int nTolerance)
{
    return a != CLR_INVALID && b != CLR_INVALID && abs(GetRValue(a) - GetRValue(b)) <= nTolerance &&
           abs(GetGValue(a) - GetGValue(b)) <= nTolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= nTolerance;
}
