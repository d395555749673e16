#include "RuntimeRemoval.h"

#include <windows.h>

#include <cstdio>

#include "Holders.h"
#include "InstallLayout.h"
#include "UninstallMessages.h"

void RunRuntimeRemoval()
{
    char szSystem[MAX_PATH] = "";
    UINT cch = GetSystemDirectoryA(szSystem, MAX_PATH);
    char szTool[MAX_PATH] = "";
    int n = std::snprintf(szTool, sizeof(szTool), "%s\\purgedxm.exe", szSystem);
    // The tool's command line is the client identifier alone, with no program name.
    char szCommand[] = TANDREL_RUNTIME_CLIENT;
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
    si.wShowWindow = SW_SHOWDEFAULT;
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    if (cch == 0 || cch >= MAX_PATH || n < 0 || n >= MAX_PATH ||
        !CreateProcessA(szTool, szCommand, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &si, &pi)) {
        ShowRemovalNotStarted();
        return;
    }
    CHandleHolder process(pi.hProcess);
    CloseHandle(pi.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD dwExitCode = 0;
    GetExitCodeProcess(process.Get(), &dwExitCode);
}
