// The benchmarks' run of a program of their own: its command line, waited for at most
// dwMilliseconds; one that outlives that is ended. Whether it ended by itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

inline bool RunToEnd(const std::string& commandLine, DWORD dwMilliseconds)
{
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    const bool bEnded = WaitForSingleObject(pi.hProcess, dwMilliseconds) == WAIT_OBJECT_0;
    if (!bEnded)
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return bEnded;
}
