// The installer run through its real dialogs: every way through them, what each leaves on
// disk and the exit code.
#include <gtest/gtest.h>

#include "DefSetting.h"
#include "Holders.h"
#include "InstallFixture.h"
#include "InstallLayout.h"
#include "TestEnv.h"
#include "resource.h"

namespace {

// The parent of the long directories, 200 characters.
const std::string kLongParent = "C:\\" + std::string(197, 'p');

class SetupFlow : public CInstallTest {
protected:
    void TearDown() override
    {
        CInstallTest::TearDown();
        RemoveTree(kLongParent);
    }
};

// Nothing of an installation exists.
void ExpectNothingWritten()
{
    EXPECT_FALSE(FileExists(kDefaultInstallDir));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vostrane"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Vostrane"));
    EXPECT_FALSE(FileExists(StartMenuShortcut()));
}

}  // namespace

TEST_F(SetupFlow, CancelAtWelcomeExitsWithOneAndWritesNothing)
{
    ASSERT_NO_FATAL_FAILURE(StartSetup(DistDir()));
    HWND hWelcome = m_setup.WaitForDialog("Welcome");
    ASSERT_NE(hWelcome, nullptr);
    PressButton(hWelcome, IDCANCEL);
    EXPECT_EQ(m_setup.WaitForExit(), 1u);
    ExpectNothingWritten();
}

TEST_F(SetupFlow, ARefusedDirectoryIsReportedAndTheDefaultShownAgainUntilEscapeEnds)
{
    // The longest installed path is the directory + "\\Help\\ctrl.video.gif" (20
    // characters), which must stay within 259: a directory of 240 characters is refused
    // (one of 239 is taken, below). A typed text beyond 259 characters is cut and refused too.
    std::string existing = ScratchDir("existing-dir");
    RemoveTree(kLongParent);
    ASSERT_TRUE(CreateDirectoryA(kLongParent.c_str(), nullptr));
    std::string tooLong = kLongParent + "\\" + std::string(240 - kLongParent.size() - 1, 'k');
    ASSERT_EQ(tooLong.size(), 240u);
    const std::string refused[] = {
        existing,
        // Two missing levels: only the last one would be created.
        existing + "\\missing\\Tandrel98",
        tooLong,
        kLongParent + "\\" + std::string(70, 'x'),
    };
    ASSERT_NO_FATAL_FAILURE(StartSetup(DistDir()));
    HWND hWelcome = m_setup.WaitForDialog("Welcome");
    ASSERT_NE(hWelcome, nullptr);
    PressButton(hWelcome, IDOK);
    for (const std::string& dir : refused) {
        SCOPED_TRACE(dir);
        HWND hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
        ASSERT_NE(hDirectory, nullptr);
        EXPECT_EQ(ControlText(hDirectory, IDC_INSTALL_DIR), kDefaultInstallDir);
        SetControlText(hDirectory, IDC_INSTALL_DIR, dir);
        PressButton(hDirectory, IDOK);
        EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Error"),
                  "Create Directory Error!\nSelect Another Directory.");
    }

    HWND hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
    ASSERT_NE(hDirectory, nullptr);
    EXPECT_EQ(ControlText(hDirectory, IDC_INSTALL_DIR), kDefaultInstallDir);
    // Escape sends the Cancel command.
    PressButton(hDirectory, IDCANCEL);
    EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Unsuccess"),
              "Installation did not complete! Exit.");
    EXPECT_EQ(m_setup.WaitForExit(), 1u);
    EXPECT_FALSE(FileExists(existing + "\\missing"));
    EXPECT_FALSE(FileExists(tooLong));
    ExpectNothingWritten();
}

namespace {

// Whole installations into the directories a user may type. Each leaves the
// distribution's files there, that directory recorded as a full path without a trailing
// backslash, in the uninstall entry and in the shortcut, and the default settings.
struct InstalledRow {
    const char* pszName;
    std::string source;  // where Setup starts, given a copy of the distribution; empty: the distribution
    std::string typed;
    std::string dir;     // the directory that must be recorded
    std::string made;    // a folder the row makes before and removes after; empty: none
    bool bEarlier;       // over an earlier installation whose settings the user changed
    bool bYes;           // "Yes" at the end, which opens the source folder's own readme
};

const InstalledRow kInstalls[] = {
    {"a relative directory, taken from the folder Setup was started in, whose readme Yes opens",
     "C:\\tandrel-relative", "Tandrel Rel\\", "C:\\tandrel-relative\\Tandrel Rel",
     "C:\\tandrel-relative", false, true},
    // C:\ is a drive root as much as a CD's D:\ is.
    {"from a drive root, the sources read with one separator", "C:\\", kDefaultInstallDir,
     kDefaultInstallDir, "", false, false},
    // 239 characters.
    {"the longest directory that fits", "", kLongParent + "\\" + std::string(38, 'k'),
     kLongParent + "\\" + std::string(38, 'k'), kLongParent, false, false},
    {"a second installation, after the user changed the settings", "", kDefaultInstallDir,
     kDefaultInstallDir, "", true, false},
};

void PrintTo(const InstalledRow& row, std::ostream* pStream)
{
    *pStream << row.pszName;
}

class Installed : public CInstallTest, public ::testing::WithParamInterface<InstalledRow> {
protected:
    void TearDown() override
    {
        CInstallTest::TearDown();
        if (GetParam().source == "C:\\") {
            for (const std::string& name : DistributionNames())
                DeleteFileA(JoinPath("C:\\", name).c_str());
        }
        if (!GetParam().made.empty())
            RemoveTree(GetParam().made);
        if (m_bLentAssociation)
            DeleteRegistryTree(HKEY_CLASSES_ROOT, ".txt");
    }

    bool m_bLentAssociation = false;
};

}  // namespace

TEST_P(Installed, RecordsTheFullDirectoryAndStoresTheDefaultSettings)
{
    const InstalledRow& row = GetParam();
    if (row.bEarlier) {
        ASSERT_NO_FATAL_FAILURE(Install());
        DEFSETTING_RECORD changed = {1, 1, 0, 0, 0, 1, 3, 0, 1.44, -10000, -500, -700, 2000};
        const BYTE* pChanged = reinterpret_cast<const BYTE*>(&changed);
        WriteSettingsBytes(std::vector<BYTE>(pChanged, pChanged + sizeof(changed)));
        RemoveTree(kDefaultInstallDir);
    }
    if (!row.made.empty()) {
        RemoveTree(row.made);
        ASSERT_TRUE(CreateDirectoryA(row.made.c_str(), nullptr));
    }
    std::string source = DistDir();
    if (!row.source.empty()) {
        source = row.source;
        CopyDistribution(source);
    }
    if (row.bYes) {
        // A readme that only the source folder has, under a title no other window carries.
        WriteFileBytes(source + "\\readme.txt", {'s', 'o', 'u', 'r', 'c', 'e'});
        // A fresh prefix may have no association for .txt; lend it the system's text editor.
        m_bLentAssociation = !RegistryKeyExists(HKEY_CLASSES_ROOT, ".txt");
        if (m_bLentAssociation)
            WriteRegistryText(HKEY_CLASSES_ROOT, ".txt", nullptr, "txtfile");
    }
    ASSERT_NO_FATAL_FAILURE(Install(source, row.typed, row.bYes));

    ExpectInstalledFrom(source, row.dir);
    std::string recorded;
    EXPECT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, nullptr, &recorded));
    EXPECT_EQ(recorded, row.dir);
    std::string uninstall;
    EXPECT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, "UninstallString",
                                 &uninstall));
    EXPECT_EQ(uninstall, "\"" + row.dir + "\\Help\\uninstall.exe\"");
    EXPECT_EQ(ShortcutTarget(StartMenuShortcut()), row.dir);

    const DEFSETTING_RECORD defaults = {0, 0, 1, 1, 0, 0, 0, 0, 1.0, -1000, 0, 0, 0};
    const BYTE* pDefaults = reinterpret_cast<const BYTE*>(&defaults);
    std::vector<BYTE> bytes;
    DWORD dwType = 0;
    ASSERT_TRUE(ReadSettingsBytes(&bytes, &dwType));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(bytes, std::vector<BYTE>(pDefaults, pDefaults + sizeof(defaults)));

    if (row.bYes) {
        // The readme opens in the text editor the system associates with .txt files,
        // started by Setup through the command interpreter (both end with Setup's job).
        EXPECT_FALSE(m_setup.RunningInJob().empty()) << "Setup started no process for the readme";
        std::vector<HWND> editors;
        WaitFor([&]() { return !(editors = FindWindowsWithTitle("readme")).empty(); }, 20000);
        ASSERT_FALSE(editors.empty()) << "the readme did not open";
        HWND hEdit = FindWindowExA(editors[0], nullptr, "Edit", nullptr);
        char szText[64] = "";
        DWORD_PTR dwResult = 0;
        SendMessageTimeoutA(hEdit, WM_GETTEXT, sizeof(szText), reinterpret_cast<LPARAM>(szText),
                            SMTO_ABORTIFHUNG, 5000, &dwResult);
        EXPECT_STREQ(szText, "source");
    }
}

INSTANTIATE_TEST_SUITE_P(Typed, Installed, ::testing::ValuesIn(kInstalls),
                         [](const ::testing::TestParamInfo<InstalledRow>& info) {
                             return TestNameOf(info.param.pszName);
                         });

namespace {

// Installations that can't be whole. Each ends, after every step has run, with the failure
// message instead of "Congratulation!", and the uninstaller the entry names then removes
// all of it.
struct FailedInstallRow {
    const char* pszName;
    std::vector<std::string> leaveOut;  // distribution files that are missing
    bool bRuntimeExitsOne;              // dxmedia.exe is one that exits 1
    bool bSettingsKeyRefused;           // the settings key can't be created
    // A message shown before the final one: its caption and a part of its text.
    const char* pszFirstCaption;
    const char* pszFirstText;
};

const FailedInstallRow kFailedInstalls[] = {
    {"a help image and the readme missing", {"Get_It_Now.gif", "readme.txt"}, false, false,
     nullptr, nullptr},
    {"no runtime setup", {"dxmedia.exe"}, false, false, "Error", "Install Not Success!"},
    {"the runtime setup exits 1", {}, true, false, nullptr, nullptr},
    // Without its removal tool beside it the runtime setup says so and exits with 4.
    {"the runtime setup can't place its removal tool", {"purgedxm.exe"}, false, false,
     "DirectX Media Setup", "purgedxm.exe could not be copied"},
    // Another program left the parent key volatile: no lasting key can be made under it.
    {"the settings key can't be created", {}, false, true, nullptr, nullptr},
};

void PrintTo(const FailedInstallRow& row, std::ostream* pStream)
{
    *pStream << row.pszName;
}

class FailedInstall : public CInstallTest,
                      public ::testing::WithParamInterface<FailedInstallRow> {};

}  // namespace

TEST_P(FailedInstall, EndsWithTheFailureMessageAndTheUninstallerRemovesAll)
{
    const FailedInstallRow& row = GetParam();
    std::string source = ScratchDir("source-failed");
    CopyDistribution(source, row.leaveOut);
    if (row.bRuntimeExitsOne) {
        ASSERT_TRUE(CopyFileA(WindowsPath(TANDREL_FAILING_RUNTIME_SETUP).c_str(),
                              (source + "\\dxmedia.exe").c_str(), FALSE));
    }
    if (row.bSettingsKeyRefused) {
        CRegKeyHolder key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vostrane\\Tandrel98", 0, nullptr,
                                  REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    ASSERT_NO_FATAL_FAILURE(StartSetup(source));
    ASSERT_NO_FATAL_FAILURE(ContinueToDirectory(kDefaultInstallDir));
    if (row.pszFirstCaption != nullptr) {
        std::string first = AnswerMessageBox(0, row.pszFirstCaption, 30000);
        EXPECT_NE(first.find(row.pszFirstText), std::string::npos) << first;
    }
    EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Error", kInstallTimeoutMs),
              "Installation Failed! Run Uninstall and Redo.");
    EXPECT_EQ(m_setup.WaitForExit(), 0u);
    EXPECT_EQ(FindDialog(m_setup.ProcessId(), "Congratulation!"), nullptr);

    // Every step ran: what could be copied is there, and so is the registration.
    ExpectInstalledFrom(source, kDefaultInstallDir);
    EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE "\\shell\\open\\command"));
    EXPECT_TRUE(FileExists(StartMenuShortcut()));
    EXPECT_TRUE(FileExists(DesktopShortcut()));
    std::string command;
    ASSERT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, "UninstallString",
                                 &command));

    bool bRemovalTool = FileExists(RemovalToolPath());
    CProcessDriver uninstall;
    ASSERT_TRUE(uninstall.Start(command, ScratchDir("failed-uninstall-cwd")));
    if (!bRemovalTool) {
        EXPECT_EQ(AnswerMessageBox(uninstall.ProcessId(), "Error"), "Install Not Success!");
    }
    EXPECT_EQ(uninstall.WaitForExit(60000), 0u);
    ASSERT_TRUE(WaitForFileGone(CleanupBatchFile(), 30000)) << "the batch file did not end";
    ExpectNothingWritten();
    EXPECT_FALSE(FileExists(DesktopShortcut()));
}

INSTANTIATE_TEST_SUITE_P(Incomplete, FailedInstall, ::testing::ValuesIn(kFailedInstalls),
                         [](const ::testing::TestParamInfo<FailedInstallRow>& info) {
                             return TestNameOf(info.param.pszName);
                         });
