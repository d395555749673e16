// Install, use through the shell, uninstall: the system's own clients see the program
// come and go.
#include <windows.h>

#include <gtest/gtest.h>


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

class RoundTrip : public CInstallTest {};

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
    // The batch file's last line deletes it: then its folders are removed too.
    EXPECT_TRUE(WaitForFileGone(CleanupBatchFile(), 30000)) << "the batch file did not end";
    EXPECT_FALSE(FileExists(kDefaultInstallDir));
}
