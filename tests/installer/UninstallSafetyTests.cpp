// The real uninstaller and its batch file against recorded install directories of every
// awkward kind: each row lays out an installation (or none), records a directory, runs
// Uninstall.exe from a folder holding another product's files, and checks what is gone
// and what is left once the batch file has ended.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "Holders.h"
#include "InstallFixture.h"
#include "InstallLayout.h"
#include "TestEnv.h"

namespace {

const char kBase[] = "C:\\tandrel-safety";
// Another drive, mapped to a folder of its own for the test.
const char kDrive[] = "Q:";
const char kDriveFolder[] = "tandrel-drive-q";
const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// "é" in the ANSI code page: one byte here, another one in the OEM code page.
#define E_ACUTE "\xE9"

// Which Uninstall.exe runs, and in which folder.
enum Started {
    COPY_IN_WORK,        // a copy from elsewhere, in a folder of another product
    OWN_IN_WORK,         // the installation's own Help\Uninstall.exe, in that folder
    OWN_IN_HELP,         // the installation's own, in its Help folder, as a file manager starts it
};

struct SafetyRow {
    const char* pszName;
    // Where an installation is laid out; null for none.
    const char* pszInstall;
    // The recorded directory as stored; null: the installation's own path.
    const char* pszValue;
    DWORD dwType;
    Started nStarted;
    bool bRemoved;
    // The user's desktop folder, when the row gives it one of its own.
    const char* pszDesktop;
    // A second installation, uninstalled from its Help folder while the first one's batch
    // file still waits for its Uninstall.exe; null for none.
    const char* pszThen = nullptr;
};

const SafetyRow kRows[] = {
    {"plain", "C:\\tandrel-safety\\Plain", nullptr, REG_SZ, OWN_IN_WORK, true, nullptr},
    {"started in its Help folder, then another uninstalled while the first batch file waits",
     "C:\\tandrel-safety\\Tan & 100% " E_ACUTE, nullptr, REG_SZ, OWN_IN_HELP, true, nullptr,
     "C:\\tandrel-safety\\Again & 50%"},
    {"spaces, ampersand, percent and e-acute", "C:\\tandrel-safety\\My Apps & Co %PATH% caf" E_ACUTE,
     nullptr, REG_SZ, OWN_IN_WORK, true, "C:\\tandrel-safety\\Desk & Top %TEMP%"},
    {"another drive", "Q:\\Tandrel 98", nullptr, REG_SZ, OWN_IN_WORK, true, nullptr},
    {"dots and a trailing backslash", "C:\\tandrel-safety\\Plain",
     "C:\\tandrel-safety\\work\\..\\Plain\\", REG_SZ, OWN_IN_WORK, true, nullptr},
    {"run from a copy, the folder holds the installation", "C:\\tandrel-safety\\Plain", nullptr,
     REG_SZ, COPY_IN_WORK, true, nullptr},
    {"relative", "C:\\tandrel-safety\\Plain", "..\\Plain", REG_SZ, OWN_IN_WORK, false, nullptr},
    {"wrong type", "C:\\tandrel-safety\\Plain", nullptr, REG_EXPAND_SZ, OWN_IN_WORK, false, nullptr},
    {"empty", "C:\\tandrel-safety\\Plain", "", REG_SZ, OWN_IN_WORK, false, nullptr},
    {"raw form", "C:\\tandrel-safety\\Plain", "\\\\?\\C:\\tandrel-safety\\Plain", REG_SZ,
     OWN_IN_WORK, false, nullptr},
    {"a drive root holding the installation", "Q:\\", "Q:\\", REG_SZ, OWN_IN_WORK, false, nullptr},
    {"drive root C", nullptr, "C:\\", REG_SZ, COPY_IN_WORK, false, nullptr},
    {"network share root", nullptr, "\\\\tandrel\\share", REG_SZ, COPY_IN_WORK, false, nullptr},
    {"the Windows folder", nullptr, "C:\\windows", REG_SZ, COPY_IN_WORK, false, nullptr},
    {"missing", nullptr, "C:\\tandrel-safety\\Gone", REG_SZ, COPY_IN_WORK, false, nullptr},
    {"the current folder, not an installation", nullptr, "C:\\tandrel-safety\\work", REG_SZ,
     COPY_IN_WORK, false, nullptr},
};

// Row names in test listings.
void PrintTo(const SafetyRow& row, std::ostream* pStream)
{
    *pStream << row.pszName;
}

// Another product's files in the folders the uninstaller might wrongly act on: its
// current folder, the parent of every installation, C:\ and the Windows folder.
const char* const kBaitFolders[] = {"C:\\tandrel-safety\\work", "C:\\tandrel-safety",
                                    "C:\\tandrel-safety\\My Apps", "C:"};
const char* const kBaitFiles[] = {"Uninstall.exe", "readme.txt", "vost.mpg", "Tandrel98.ini"};
const std::vector<BYTE> kBait = {'o', 't', 'h', 'e', 'r'};

std::string WindowsDir()
{
    char szDir[MAX_PATH] = "";
    GetWindowsDirectoryA(szDir, MAX_PATH);
    return szDir;
}

// Whether the test drive is there (bShown) or gone, within a few seconds: the host
// program that maps it runs on after the command that started it.
bool WaitForDrive(bool bShown)
{
    return WaitFor([&]() { return FileExists(std::string(kDrive) + "\\") == bShown; }, 5000);
}

// Runs a program of the host (outside the Windows prefix).
bool RunHostCommand(const std::string& command)
{
    CProcessDriver host;
    return host.Start("cmd.exe /c start /wait /unix " + command, "C:\\") &&
           host.WaitForExit(20000) == 0;
}

class UninstallSafety : public CInstallTest, public ::testing::WithParamInterface<SafetyRow> {
protected:
    void SetUp() override
    {
        CInstallTest::SetUp();
        // Only the rows that install on the other drive map it: a host program each way.
        const char* pszInstall = GetParam().pszInstall;
        if (pszInstall != nullptr && std::strncmp(pszInstall, kDrive, 2) == 0) {
            const char* pszPrefix = std::getenv("WINEPREFIX");
            ASSERT_NE(pszPrefix, nullptr) << "the tests run in a Wine prefix named by WINEPREFIX";
            m_driveLink = std::string(pszPrefix) + "/dosdevices/q:";
            std::string target = "../drive_c/" + std::string(kDriveFolder);
            RemoveTree(std::string("C:\\") + kDriveFolder);
            ASSERT_TRUE(CreateDirectoryA((std::string("C:\\") + kDriveFolder).c_str(), nullptr));
            ASSERT_TRUE(RunHostCommand("/bin/ln -sfn " + target + " " + m_driveLink));
            ASSERT_TRUE(WaitForDrive(true)) << "drive " << kDrive << " did not appear";
        }
        ASSERT_TRUE(PlaceRemovalTool());
        ASSERT_TRUE(ReadRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", &m_desktop));
        m_uninstallCopy = ScratchDir("safety-copy") + "\\Uninstall.exe";
        ASSERT_TRUE(CopyFileA((DistDir() + "\\Uninstall.exe").c_str(), m_uninstallCopy.c_str(),
                              FALSE));
    }

    void TearDown() override
    {
        m_uninstall.Kill();
        m_uninstallThen.Kill();
        if (!m_desktop.empty())
            WriteRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", m_desktop.c_str());
        RemoveTree(kBase);
        if (!m_driveLink.empty()) {
            RemoveTree(std::string("C:\\") + kDriveFolder);
            RunHostCommand("/bin/rm -f " + m_driveLink);
            EXPECT_TRUE(WaitForDrive(false)) << "drive " << kDrive << " stayed";
        }
        for (const char* pszName : kBaitFiles)
            DeleteFileA(("C:\\" + std::string(pszName)).c_str());
        DeleteFileA((WindowsDir() + "\\Tandrel98.ini").c_str());
        CInstallTest::TearDown();
    }

    std::string m_desktop;
    std::string m_driveLink;
    std::string m_uninstallCopy;
    CProcessDriver m_uninstall;
    CProcessDriver m_uninstallThen;
};

void PlaceBait(const std::string& dir)
{
    CreateDirectoryA(dir.c_str(), nullptr);
    for (const char* pszName : kBaitFiles)
        WriteFileBytes(JoinPath(dir, pszName), kBait);
}

void ExpectBaitKept(const std::string& dir)
{
    for (const char* pszName : kBaitFiles)
        EXPECT_EQ(ReadFileBytes(JoinPath(dir, pszName)), kBait) << JoinPath(dir, pszName);
}

}  // namespace

TEST_P(UninstallSafety, OnlyARecordedFolderHoldingThisInstallationIsRemoved)
{
    const SafetyRow& row = GetParam();
    RemoveTree(kBase);
    CreateDirectoryA(kBase, nullptr);
    for (const char* pszFolder : kBaitFolders)
        PlaceBait(pszFolder);
    WriteFileBytes(WindowsDir() + "\\Tandrel98.ini", kBait);
    std::string install = row.pszInstall != nullptr ? row.pszInstall : "";
    if (!install.empty())
        LayOutInstallation(install);
    // A desktop shortcut, removed by the batch file in every case.
    if (row.pszDesktop != nullptr) {
        CreateDirectoryA(row.pszDesktop, nullptr);
        WriteRegistryText(HKEY_CURRENT_USER, kShellFoldersKey, "Desktop", row.pszDesktop);
    }
    WriteFileBytes(DesktopShortcut(), {'l', 'n', 'k'});

    auto record = [&row](const std::string& value) {
        CRegKeyHolder key;
        RegCreateKeyA(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, &key);
        return RegSetValueExA(key.Get(), nullptr, 0, row.dwType,
                              reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    };
    ASSERT_TRUE(record(row.pszValue == nullptr ? install : row.pszValue));

    std::string help = JoinPath(install, "Help");
    std::string exe = row.nStarted == COPY_IN_WORK ? m_uninstallCopy : help + "\\Uninstall.exe";
    {
        // While the first batch file waits for its Uninstall.exe, held here, the second
        // uninstall runs to its end.
        CHandleHolder held;
        if (row.pszThen != nullptr)
            held.Reset(CreateFileA(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(m_uninstall.Start("\"" + exe + "\"",
                                      row.nStarted == OWN_IN_HELP ? help : std::string(kBase) + "\\work"));
        EXPECT_EQ(m_uninstall.WaitForExit(20000), 0u);
        if (row.pszThen != nullptr) {
            ASSERT_TRUE(held.IsValid());
            ASSERT_TRUE(WaitFor([] { return ProcessRuns("ping.exe"); }, 10000))
                << "the first batch file did not wait for its Uninstall.exe";
            LayOutInstallation(row.pszThen);
            WriteFileBytes(DesktopShortcut(), {'l', 'n', 'k'});
            ASSERT_TRUE(record(row.pszThen));
            std::string thenHelp = JoinPath(row.pszThen, "Help");
            ASSERT_TRUE(m_uninstallThen.Start("\"" + thenHelp + "\\Uninstall.exe\"", thenHelp));
            EXPECT_EQ(m_uninstallThen.WaitForExit(20000), 0u);
        }
    }
    ASSERT_TRUE(WaitFor([] { return CleanupBatchFiles().empty(); }, 30000))
        << "the batch file did not end";

    if (!install.empty()) {
        if (row.bRemoved) {
            EXPECT_FALSE(FileExists(install)) << install;
            if (row.pszThen != nullptr) {
                EXPECT_FALSE(FileExists(row.pszThen)) << row.pszThen;
            }
        } else {
            for (const std::string& name : InstalledNames())
                EXPECT_TRUE(FileExists(JoinPath(install, name))) << JoinPath(install, name);
        }
    }
    for (const char* pszFolder : kBaitFolders)
        ExpectBaitKept(pszFolder);
    EXPECT_EQ(ReadFileBytes(WindowsDir() + "\\Tandrel98.ini"), kBait);
    EXPECT_FALSE(FileExists(DesktopShortcut())) << DesktopShortcut();
}

INSTANTIATE_TEST_SUITE_P(RecordedDirectories, UninstallSafety, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<SafetyRow>& info) {
                             return TestNameOf(info.param.pszName);
                         });
