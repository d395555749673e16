// The uninstaller after a real installation: what it removes, what it keeps, what its
// batch file finishes after it has ended, and what the system's own program list shows.
#include <gtest/gtest.h>

#include "Holders.h"
#include "InstallFixture.h"
#include "InstallLayout.h"
#include "TestEnv.h"

namespace {

const char* const kExtensions[] = {".mpg", ".mpeg", ".mp2", ".mpv", ".mpa"};

std::string InstallPath(const char* pszName)
{
    return std::string(kDefaultInstallDir) + "\\" + pszName;
}

// Whether Wine's own list of installed programs names the player.
bool Listed()
{
    std::string list = ScratchDir("program-list") + "\\list.txt";
    CProcessDriver lister;
    EXPECT_TRUE(lister.Start("cmd.exe /c uninstaller.exe --list > \"" + list + "\"", "C:\\"));
    EXPECT_EQ(lister.WaitForExit(), 0u);
    return ReadTextFile(list).find("Vostrane Tandrel98") != std::string::npos;
}

class UninstallFlow : public CInstallTest {
protected:
    // Runs an uninstaller in dir, as the system's uninstall entry would from another folder:
    // it ends with 0, and so does its batch file.
    void Uninstall(const std::string& commandLine, const std::string& dir)
    {
        ASSERT_TRUE(m_uninstall.Start(commandLine, dir));
        EXPECT_EQ(m_uninstall.WaitForExit(60000), 0u);
        ASSERT_TRUE(WaitForFileGone(CleanupBatchFile(), 30000)) << "the batch file did not end";
    }

    void TearDown() override
    {
        m_uninstall.Kill();
        WaitForFileGone(CleanupBatchFile(), 10000);
        CInstallTest::TearDown();
    }

    CProcessDriver m_uninstall;
};

}  // namespace

TEST_F(UninstallFlow, RemovesEverythingButTheExtensionKeysWhatOthersOwnAndAFileHeldOpen)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    // Another product of the same maker, a file of the user's, and an association that
    // another program changed after the installation.
    WriteRegistryText(HKEY_LOCAL_MACHINE, "Software\\Vostrane\\Other", nullptr, "kept");
    WriteRegistryText(HKEY_CURRENT_USER, "Software\\Vostrane\\Other", nullptr, "kept");
    WriteFileBytes(InstallPath("notes.txt"), {'m', 'i', 'n', 'e'});
    WriteRegistryText(HKEY_CLASSES_ROOT, ".mpeg", nullptr, "OtherPlayer.Movie");
    ASSERT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\DirectX Media Runtime\\Clients"));
    {
        // Another program has the sample clip open and does not let it be deleted: it is
        // named once, and the rest is removed all the same.
        CHandleHolder held(CreateFileA(InstallPath("vost.mpg").c_str(), GENERIC_READ,
                                       FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        ASSERT_TRUE(m_uninstall.Start("\"" + InstallPath("Help\\Uninstall.exe") + "\"",
                                      ScratchDir("uninstall-cwd")));
        EXPECT_EQ(AnswerMessageBox(m_uninstall.ProcessId(), "Error"),
                  "Can't Delete File vost.mpg !");
        EXPECT_EQ(m_uninstall.WaitForExit(60000), 0u);
    }
    ASSERT_TRUE(WaitForFileGone(CleanupBatchFile(), 30000));

    EXPECT_TRUE(FileExists(InstallPath("vost.mpg")));
    EXPECT_FALSE(FileExists(InstallPath(TANDREL_PROGRAM_FILE)));
    EXPECT_FALSE(FileExists(InstallPath("readme.txt")));
    EXPECT_FALSE(FileExists(InstallPath("Help")));
    EXPECT_TRUE(FileExists(InstallPath("notes.txt")));
    EXPECT_FALSE(FileExists(StartMenuShortcut()));
    EXPECT_FALSE(FileExists(DesktopShortcut()));

    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vostrane\\Tandrel98"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vostrane\\Other"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Vostrane\\Other"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, "Software\\Vostrane\\Tandrel98"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY));
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE,
                                   TANDREL_APP_PATHS_BASE "\\" TANDREL_PROGRAM_FILE));
    for (const char* pszExtension : kExtensions) {
        SCOPED_TRACE(pszExtension);
        EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, pszExtension));
        std::vector<BYTE> data;
        EXPECT_FALSE(ReadRegistryValue(HKEY_CLASSES_ROOT, pszExtension, nullptr, &data));
    }
    // The removal tool ran for this client.
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, "Software\\DirectX Media Runtime"));
}

TEST_F(UninstallFlow, TheProgramListShowsTheEntryUntilItIsUninstalledAndASecondRunTouchesNothing)
{
    EXPECT_FALSE(Listed());
    ASSERT_NO_FATAL_FAILURE(Install());
    EXPECT_TRUE(Listed());
    // A copy of the uninstaller outside the installation, for the second run.
    std::string copy = ScratchDir("uninstall-copy") + "\\Uninstall.exe";
    ASSERT_TRUE(CopyFileA(InstallPath("Help\\Uninstall.exe").c_str(), copy.c_str(), FALSE));

    // Removed through the command the entry gives the system. With nothing else in it, the
    // install directory goes too, once the batch file's last line has deleted it.
    std::string command;
    ASSERT_TRUE(ReadRegistryText(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, "UninstallString",
                                 &command));
    ASSERT_NO_FATAL_FAILURE(Uninstall(command, ScratchDir("uninstall-cwd")));
    EXPECT_FALSE(Listed());
    EXPECT_FALSE(FileExists(kDefaultInstallDir));

    // The second run's current folder holds files with the installed names and nothing else.
    std::string work = ScratchDir("uninstall-cwd");
    WriteFileBytes(work + "\\readme.txt", {'x'});
    WriteFileBytes(work + "\\vost.mpg", {'x'});
    ASSERT_NO_FATAL_FAILURE(Uninstall("\"" + copy + "\"", work));
    EXPECT_TRUE(FileExists(work + "\\readme.txt"));
    EXPECT_TRUE(FileExists(work + "\\vost.mpg"));
}
