// Install, use through the shell, uninstall: the system's own clients see the program
// come and go.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <tlhelp32.h>
#include <winternl.h>

#include "Holders.h"
#include "InstallFixture.h"
#include "InstallLayout.h"
#include "TestEnv.h"

namespace {

// Runs a console program and returns what it printed.
std::string RunAndCapture(const std::string& commandLine)
{
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE hRead = nullptr;
    HANDLE hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, &sa, 0))
        return std::string();
    CHandleHolder read(hRead);
    CHandleHolder write(hWrite);
    SetHandleInformation(read.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write.Get();
    si.hStdError = write.Get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
        return std::string();
    CHandleHolder process(pi.hProcess);
    CloseHandle(pi.hThread);
    write.Close();
    std::string output;
    char buffer[4096];
    DWORD cbRead = 0;
    while (ReadFile(read.Get(), buffer, sizeof(buffer), &cbRead, nullptr) && cbRead > 0)
        output.append(buffer, cbRead);
    WaitForSingleObject(process.Get(), 30000);
    return output;
}

std::string InstalledPrograms()
{
    return RunAndCapture("uninstaller.exe --list");
}

// The process of that program whose command line names the file, found by its module.
DWORD FindPlayerProcess(const char* pszExe)
{
    CHandleHolder snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    if (!snapshot.IsValid() || !Process32First(snapshot.Get(), &entry))
        return 0;
    do {
        if (lstrcmpiA(entry.szExeFile, pszExe) == 0)
            return entry.th32ProcessID;
    } while (Process32Next(snapshot.Get(), &entry));
    return 0;
}

// Another process's command line, read from its process parameters.
std::string ProcessCommandLine(HANDLE hProcess)
{
    typedef LONG(WINAPI * QueryFn)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    QueryFn pfnQuery = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info;
    if (pfnQuery == nullptr ||
        pfnQuery(hProcess, ProcessBasicInformation, &info, sizeof(info), nullptr) != 0)
        return std::string();
    PEB peb;
    RTL_USER_PROCESS_PARAMETERS parameters;
    if (!ReadProcessMemory(hProcess, info.PebBaseAddress, &peb, sizeof(peb), nullptr) ||
        !ReadProcessMemory(hProcess, peb.ProcessParameters, &parameters, sizeof(parameters),
                           nullptr))
        return std::string();
    std::wstring wide(parameters.CommandLine.Length / sizeof(WCHAR), L'\0');
    if (!ReadProcessMemory(hProcess, parameters.CommandLine.Buffer, &wide[0],
                           parameters.CommandLine.Length, nullptr))
        return std::string();
    char szLine[2 * MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, szLine, sizeof(szLine), nullptr, nullptr);
    return szLine;
}

class RoundTrip : public CInstallTest {};

bool WaitForFileGone(const std::string& path, DWORD dwTimeoutMs)
{
    DWORD dwStart = GetTickCount();
    while (FileExists(path)) {
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

}  // namespace

TEST_F(RoundTrip, TheSystemsProgramListShowsTheEntryUntilItIsUninstalled)
{
    EXPECT_EQ(InstalledPrograms().find("Vostrane Tandrel98"), std::string::npos);
    ASSERT_NO_FATAL_FAILURE(Install());
    std::string listed = InstalledPrograms();
    EXPECT_NE(listed.find("Vostrane Tandrel98"), std::string::npos) << listed;

    // Removed through the command the entry gives the system.
    std::string command;
    ASSERT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, "UninstallString",
                                 &command));
    CProcessDriver uninstall;
    ASSERT_TRUE(uninstall.Start(command, ScratchDir("roundtrip-cwd")));
    EXPECT_EQ(uninstall.WaitForExit(60000), 0u);
    EXPECT_EQ(InstalledPrograms().find("Vostrane Tandrel98"), std::string::npos);
    EXPECT_TRUE(WaitForFileGone(std::string(kDefaultInstallDir) + "\\Help\\Uninstall.exe", 30000));
    EXPECT_FALSE(FileExists(kDefaultInstallDir));
}

TEST_F(RoundTrip, OpeningAnMpegThroughTheShellStartsTheInstalledPlayerWithIt)
{
    if (!DistHasPlayer())
        GTEST_SKIP() << "the distribution has no Tandrel98.exe yet: the player is not built";
    ASSERT_NO_FATAL_FAILURE(Install());
    std::string clip = ScratchDir("roundtrip-open") + "\\clip.mpg";
    ASSERT_TRUE(CopyFileA(MediaPath("clip.mpg").c_str(), clip.c_str(), FALSE));
    HINSTANCE hResult = ShellExecuteA(nullptr, "open", clip.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<INT_PTR>(hResult), 32);

    DWORD dwPlayer = 0;
    for (int i = 0; i < 500 && dwPlayer == 0; ++i) {
        dwPlayer = FindPlayerProcess(TANDREL_PROGRAM_FILE);
        Sleep(20);
    }
    ASSERT_NE(dwPlayer, 0u) << "the player did not start";
    CHandleHolder player(
        OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE,
                    FALSE, dwPlayer));
    ASSERT_TRUE(player.IsValid());
    // The installed copy runs, with the clip as its command line.
    std::string commandLine = ProcessCommandLine(player.Get());
    EXPECT_EQ(commandLine.find("\"" + std::string(kDefaultInstallDir) + "\\Tandrel98.exe\""), 0u)
        << commandLine;
    EXPECT_NE(commandLine.find(clip), std::string::npos) << commandLine;
    TerminateProcess(player.Get(), 0);
    WaitForSingleObject(player.Get(), 5000);
}
