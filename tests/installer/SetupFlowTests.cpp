// The installer run through its real dialogs: every way through them, what each leaves on
// disk and the exit code.
#include <gtest/gtest.h>

#include <cstring>

#include "DefSetting.h"
#include "Holders.h"
#include "InstallFixture.h"
#include "InstallLayout.h"
#include "TestEnv.h"
#include "resource.h"

namespace {

class SetupFlow : public CInstallTest {};

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
    StartSetup(DistDir());
    HWND hWelcome = m_setup.WaitForDialog("Welcome");
    ASSERT_NE(hWelcome, nullptr);
    PressButton(hWelcome, IDCANCEL);
    EXPECT_EQ(m_setup.WaitForExit(), 1u);
    ExpectNothingWritten();
}

TEST_F(SetupFlow, EscapeInTheDirectoryDialogSaysUnsuccessAndExitsWithOne)
{
    StartSetup(DistDir());
    HWND hWelcome = m_setup.WaitForDialog("Welcome");
    ASSERT_NE(hWelcome, nullptr);
    PressButton(hWelcome, IDOK);
    HWND hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
    ASSERT_NE(hDirectory, nullptr);
    // Escape sends the Cancel command.
    PressButton(hDirectory, IDCANCEL);
    EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Unsuccess"),
              "Installation did not complete! Exit.");
    EXPECT_EQ(m_setup.WaitForExit(), 1u);
    ExpectNothingWritten();
}

TEST_F(SetupFlow, ARefusedDirectoryIsReportedAndTheDefaultShownAgain)
{
    std::string existing = ScratchDir("existing-dir");
    StartSetup(DistDir());
    ASSERT_NO_FATAL_FAILURE(ContinueToDirectory(existing));
    EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Error"),
              "Create Directory Error!\nSelect Another Directory.");

    // Two missing levels: only the last one would be created, so this fails too.
    HWND hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
    ASSERT_NE(hDirectory, nullptr);
    EXPECT_EQ(ControlText(hDirectory, IDC_INSTALL_DIR), kDefaultInstallDir);
    SetControlText(hDirectory, IDC_INSTALL_DIR, existing + "\\missing\\Tandrel98");
    PressButton(hDirectory, IDOK);
    EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Error"),
              "Create Directory Error!\nSelect Another Directory.");

    hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
    ASSERT_NE(hDirectory, nullptr);
    EXPECT_EQ(ControlText(hDirectory, IDC_INSTALL_DIR), kDefaultInstallDir);
    PressButton(hDirectory, IDCANCEL);
    EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Unsuccess"),
              "Installation did not complete! Exit.");
    EXPECT_EQ(m_setup.WaitForExit(), 1u);
    EXPECT_FALSE(FileExists(existing + "\\missing"));
    ExpectNothingWritten();
}

TEST_F(SetupFlow, ADirectoryTooLongForTheInstalledFilesIsRefusedAndTheLongestThatFitsIsTaken)
{
    // The longest installed path is the directory + "\\Help\\ctrl.video.gif" (20
    // characters), which must stay within 259: a directory of 240 characters is refused,
    // one of 239 is taken. A typed text beyond 259 characters is cut and refused too.
    std::string parent = "C:\\" + std::string(197, 'p');
    RemoveTree(parent);
    ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
    std::string tooLong = parent + "\\" + std::string(240 - parent.size() - 1, 'k');
    std::string longest = parent + "\\" + std::string(239 - parent.size() - 1, 'k');
    ASSERT_EQ(tooLong.size(), 240u);
    ASSERT_EQ(longest.size(), 239u);

    StartSetup(DistDir());
    ASSERT_NO_FATAL_FAILURE(ContinueToDirectory(tooLong));
    EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Error"),
              "Create Directory Error!\nSelect Another Directory.");
    HWND hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
    ASSERT_NE(hDirectory, nullptr);
    SetControlText(hDirectory, IDC_INSTALL_DIR, parent + "\\" + std::string(70, 'x'));
    PressButton(hDirectory, IDOK);
    EXPECT_EQ(AnswerMessageBox(m_setup.ProcessId(), "Error"),
              "Create Directory Error!\nSelect Another Directory.");
    EXPECT_FALSE(FileExists(tooLong));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vostrane"));

    hDirectory = m_setup.WaitForDialog("Tandrel98 Directory");
    ASSERT_NE(hDirectory, nullptr);
    SetControlText(hDirectory, IDC_INSTALL_DIR, longest);
    PressButton(hDirectory, IDOK);
    HWND hDone = m_setup.WaitForDialog("Congratulation!", kInstallTimeoutMs);
    ASSERT_NE(hDone, nullptr);
    PressButton(hDone, IDC_ANSWER_NO);
    EXPECT_EQ(m_setup.WaitForExit(), 0u);

    std::string recorded;
    EXPECT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, nullptr, &recorded));
    EXPECT_EQ(recorded, longest);
    ExpectInstalledFrom(DistDir(), longest);
    RemoveTree(parent);
}

TEST_F(SetupFlow, ARelativeDirectoryIsCreatedAndRecordedAsAFullPath)
{
    // Taken from the current directory, the folder Setup was started in.
    std::string source = ScratchDir("source-relative");
    RemoveTree(source + "\\Tandrel Rel");
    CopyDistribution(source);
    ASSERT_NO_FATAL_FAILURE(Install(source, "Tandrel Rel\\"));
    std::string full = source + "\\Tandrel Rel";
    ExpectInstalledFrom(source, full);
    std::string recorded;
    EXPECT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, nullptr, &recorded));
    EXPECT_EQ(recorded, full);
    std::string uninstall;
    EXPECT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, "UninstallString",
                                 &uninstall));
    EXPECT_EQ(uninstall, "\"" + full + "\\Help\\uninstall.exe\"");
    EXPECT_EQ(ShortcutTarget(StartMenuShortcut()), full);
    RemoveTree(full);
}

TEST_F(SetupFlow, FromADriveRootTheSourcesAreReadWithOneSeparator)
{
    // C:\ is a drive root as much as a CD's D:\ is.
    std::vector<std::string> names = {"Setup.exe", "dxmedia.exe", "purgedxm.exe"};
    names.insert(names.end(), std::begin(kMainFiles), std::end(kMainFiles));
    names.insert(names.end(), std::begin(kHelpFiles), std::end(kHelpFiles));
    CopyDistribution("C:");
    ASSERT_NO_FATAL_FAILURE(Install("C:\\", kDefaultInstallDir));
    ExpectInstalledFrom("C:", kDefaultInstallDir);
    EXPECT_TRUE(FileExists(std::string(kDefaultInstallDir) + "\\vost.mpg"));
    for (const std::string& name : names)
        DeleteFileA(("C:\\" + name).c_str());
}

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

bool RemovalToolPlaced()
{
    char szSystem[MAX_PATH] = "";
    GetSystemDirectoryA(szSystem, MAX_PATH);
    return FileExists(std::string(szSystem) + "\\purgedxm.exe");
}

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
    StartSetup(source);
    ContinueToDirectory(kDefaultInstallDir);
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

    bool bRemovalTool = RemovalToolPlaced();
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

TEST_F(SetupFlow, YesOpensTheReadmeOfTheSourceFolder)
{
    std::string source = ScratchDir("source-readme");
    CopyDistribution(source);
    // A readme that only the source folder has, under a title no other window carries.
    WriteFileBytes(source + "\\readme.txt", {'s', 'o', 'u', 'r', 'c', 'e'});
    // A fresh prefix may have no association for .txt; lend it the system's text editor.
    bool bLentAssociation = !RegistryKeyExists(HKEY_CLASSES_ROOT, ".txt");
    if (bLentAssociation)
        WriteRegistryText(HKEY_CLASSES_ROOT, ".txt", nullptr, "txtfile");
    StartSetup(source);
    ContinueToDirectory(kDefaultInstallDir);
    HWND hDone = m_setup.WaitForDialog("Congratulation!", kInstallTimeoutMs);
    ASSERT_NE(hDone, nullptr);
    PressButton(hDone, IDOK);
    EXPECT_EQ(m_setup.WaitForExit(), 0u);

    // The readme opens in the text editor the system associates with .txt files, started
    // by Setup through the command interpreter (both end with Setup's job).
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
    if (bLentAssociation)
        DeleteRegistryTree(HKEY_CLASSES_ROOT, ".txt");
}

TEST_F(SetupFlow, ASecondInstallationResetsTheSettingsToTheDefaults)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    // The user changes everything, then the program is installed again elsewhere.
    DEFSETTING_RECORD changed = {1, 1, 0, 0, 0, 1, 3, 0, 1.44, -10000, -500, -700, 2000};
    const BYTE* pChanged = reinterpret_cast<const BYTE*>(&changed);
    WriteSettingsBytes(std::vector<BYTE>(pChanged, pChanged + sizeof(changed)));
    RemoveTree(kDefaultInstallDir);
    ASSERT_NO_FATAL_FAILURE(Install());

    std::vector<BYTE> bytes;
    DWORD dwType = 0;
    ASSERT_TRUE(ReadSettingsBytes(&bytes, &dwType));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_BINARY));
    ASSERT_EQ(bytes.size(), 56u);
    DEFSETTING_RECORD record;
    std::memcpy(&record, bytes.data(), sizeof(record));
    EXPECT_EQ(record.bLoop, 0);
    EXPECT_EQ(record.bGroupLoop, 0);
    EXPECT_EQ(record.bCaption, 1);
    EXPECT_EQ(record.bThickFrame, 1);
    EXPECT_EQ(record.bMute, 0);
    EXPECT_EQ(record.nStartPage, 0);
    EXPECT_EQ(record.dRate, 1.0);
    EXPECT_EQ(record.lVolume, -1000);
    EXPECT_EQ(record.lTreble, 0);
    EXPECT_EQ(record.lBass, 0);
    EXPECT_EQ(record.lBalance, 0);
}
