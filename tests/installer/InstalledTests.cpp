// The shared installation from outside its directory: the registry rows, the settings
// record and the two shortcuts, read back with the system's own tools, and an MPEG file
// opened through the shell in the installed player.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <winternl.h>

#include <cstring>

#include "Holders.h"
#include "InstallFixture.h"
#include "InstallLayout.h"
#include "TestEnv.h"

namespace {

class InstallRegistry : public CInstalledTest {};

const char* const kExportedKeys[] = {
    "HKEY_LOCAL_MACHINE\\Software\\Vostrane",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Tandrel98.exe",
    "HKEY_CLASSES_ROOT\\.mpg",
    "HKEY_CLASSES_ROOT\\.mpeg",
    "HKEY_CLASSES_ROOT\\.mp2",
    "HKEY_CLASSES_ROOT\\.mpv",
    "HKEY_CLASSES_ROOT\\.mpa",
    "HKEY_CLASSES_ROOT\\Tandrel",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tandrel98.Pro",
    "HKEY_CURRENT_USER\\Software\\Vostrane",
};

std::string ExportInstalledRows()
{
    std::string text;
    for (const char* pszKey : kExportedKeys)
        text += ExportKey(pszKey);
    return text;
}

// Another process's command line, read from its process parameters.
std::string ProcessCommandLine(HANDLE hProcess)
{
    // Looked up at run time, as the platform documents for this function.
    HMODULE hNtdll = GetModuleHandleA("ntdll.dll");
    auto pfnQuery = reinterpret_cast<decltype(&NtQueryInformationProcess)>(
        reinterpret_cast<void*>(GetProcAddress(hNtdll, "NtQueryInformationProcess")));
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

class ShellOpen : public CInstalledTest {};

}  // namespace

TEST_F(InstallRegistry, EveryRowMatchesTheGoldenExport)
{
    // Before the installation ".mpg" named another program and the settings held another
    // user's record: both are replaced.
    std::string exported = ExportInstalledRows();
    std::string golden = ReadTextFile(GoldenPath("install.reg"));
    EXPECT_EQ(exported, golden) << "regedit's export differs from golden/install.reg:\n"
                                << exported;
}

TEST_F(InstallRegistry, TextValuesAreStoredWithTheirZeroTheCommandsQuotedAndShortcutsMade)
{
    std::vector<BYTE> data;
    DWORD dwType = 0;
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, "DisplayName", &data,
                                  &dwType));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(data.begin(), data.end()), std::string("Vostrane Tandrel98", 19));

    // The program path in quotation marks: a "C:\Program.exe" can't take its place.
    std::string command;
    ASSERT_TRUE(ReadRegistryText(HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE "\\shell\\open\\command",
                                 nullptr, &command));
    EXPECT_EQ(command, "\"C:\\Program Files\\Tandrel98\\Tandrel98.exe\" %1");
    std::string uninstall;
    ASSERT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, "UninstallString",
                                 &uninstall));
    EXPECT_EQ(uninstall, "\"C:\\Program Files\\Tandrel98\\Help\\uninstall.exe\"");

    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, nullptr, &data,
                                  &dwType));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data.size(), std::strlen(kDefaultInstallDir) + 1);
    EXPECT_EQ(data.back(), 0);

    // Both shortcuts open the install directory, found in the user's own Start Menu and
    // desktop folders, where the shell shows them.
    std::string startMenu = StartMenuShortcut();
    std::string desktop = DesktopShortcut();
    EXPECT_NE(startMenu.find("Start Menu\\Programs\\Tandrel98.lnk"), std::string::npos)
        << startMenu;
    EXPECT_NE(desktop.find("\\Desktop\\Tandrel98.lnk"), std::string::npos) << desktop;
    ASSERT_TRUE(FileExists(startMenu)) << startMenu;
    ASSERT_TRUE(FileExists(desktop)) << desktop;
    EXPECT_EQ(ShortcutTarget(startMenu), kDefaultInstallDir);
    EXPECT_EQ(ShortcutTarget(desktop), kDefaultInstallDir);
}

TEST_F(ShellOpen, AnMpegStartsTheInstalledPlayerWithIt)
{
    ASSERT_TRUE(FileExists(DistDir() + "\\Tandrel98.exe")) << "the distribution has no Tandrel98.exe";
    std::string clip = ScratchDir("roundtrip-open") + "\\clip.mpg";
    ASSERT_TRUE(CopyFileA(MediaPath("clip.mpg").c_str(), clip.c_str(), FALSE));
    SHELLEXECUTEINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    info.lpFile = clip.c_str();
    info.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&info));
    CHandleHolder player(info.hProcess);
    ASSERT_TRUE(player.IsValid()) << "the shell started no program";
    // The player ends with this test, whatever way the test ends.
    CHandleHolder job(CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits;
    ZeroMemory(&limits, sizeof(limits));
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    ASSERT_TRUE(SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits,
                                        sizeof(limits)));
    ASSERT_TRUE(AssignProcessToJobObject(job.Get(), player.Get()));
    // The installed copy runs, with the clip as its command line.
    std::string commandLine = ProcessCommandLine(player.Get());
    EXPECT_EQ(commandLine.find("\"" + std::string(kDefaultInstallDir) + "\\Tandrel98.exe\""), 0u)
        << commandLine;
    EXPECT_NE(commandLine.find(clip), std::string::npos) << commandLine;

    // Closed as its close box does, it must end cleanly: a crash after the start fails.
    HWND hwndMain = nullptr;
    ASSERT_TRUE(WaitFor([&]() {
        for (HWND hwnd : FindWindowsWithTitle("clip.mpg")) {
            DWORD dwProcess = 0;
            GetWindowThreadProcessId(hwnd, &dwProcess);
            if (dwProcess == GetProcessId(player.Get()))
                hwndMain = hwnd;
        }
        return hwndMain != nullptr;
    }, 15000)) << "the player showed no window for the clip";
    PostMessageA(hwndMain, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(player.Get(), 10000), WAIT_OBJECT_0) << "the player did not end";
    DWORD dwExitCode = STILL_ACTIVE;
    GetExitCodeProcess(player.Get(), &dwExitCode);
    EXPECT_EQ(dwExitCode, 0u);
}
