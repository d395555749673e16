#include "Xdo.h"

#include <cstdio>

namespace {

// Unix processes started from here give no handle to wait on: the shell around the
// command leaves its status in a file, which is waited for instead.
std::string UniqueName()
{
    static LONG s_nCount = 0;
    char szName[96];
    snprintf(szName, sizeof(szName), "/tmp/tandrel-xdo-%lu-%ld", GetCurrentProcessId(),
             InterlockedIncrement(&s_nCount));
    return szName;
}

std::string DosPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

}  // namespace

bool Xdo(const std::string& args, DWORD dwMilliseconds)
{
    const std::string status = UniqueName();
    const std::string dosStatus = DosPath(status);
    DeleteFileA(dosStatus.c_str());
    std::string command = "/bin/sh -c \"xdotool " + args + "; echo $? > " + status + ".tmp; mv " +
                          status + ".tmp " + status + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string buffer = command;
    if (!CreateProcessA("Z:\\bin\\sh", &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return false;
    if (pi.hProcess != nullptr)
        CloseHandle(pi.hProcess);
    if (pi.hThread != nullptr)
        CloseHandle(pi.hThread);

    DWORD dwStart = GetTickCount();
    for (;;) {
        HANDLE hFile = CreateFileA(dosStatus.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        if (hFile != INVALID_HANDLE_VALUE) {
            char szStatus[16] = "";
            DWORD cbRead = 0;
            ReadFile(hFile, szStatus, sizeof(szStatus) - 1, &cbRead, nullptr);
            CloseHandle(hFile);
            DeleteFileA(dosStatus.c_str());
            return szStatus[0] == '0';
        }
        if (GetTickCount() - dwStart >= dwMilliseconds)
            return false;
        Sleep(10);
    }
}

bool XdoKey(const char* pszKey, HWND hWnd)
{
    // The display's own window behind a window of any process, which the platform
    // keeps as a property of it.
    HANDLE hXWindow = hWnd != nullptr ? GetPropA(hWnd, "__wine_x11_whole_window") : nullptr;
    std::string focus;
    if (hXWindow != nullptr)
        focus = "windowfocus --sync " + std::to_string(reinterpret_cast<UINT_PTR>(hXWindow)) + " ";
    return Xdo(focus + "key " + pszKey);
}

bool XdoClick(POINT ptScreen)
{
    return Xdo("mousemove " + std::to_string(ptScreen.x) + " " + std::to_string(ptScreen.y) +
               " click 1");
}
