// The uninstaller's batch file: its bytes, its wait for the uninstaller's file, and what
// it leaves out when the install directory can't be trusted.
#include <gtest/gtest.h>

#include "CleanupBatch.h"
#include "Holders.h"
#include "InstallFixture.h"
#include "InstallLayout.h"
#include "ShellFolders.h"
#include "TestEnv.h"

namespace {

std::string BatchPath()
{
    char szBatch[MAX_PATH] = "";
    GetCleanupBatchPath(szBatch, sizeof(szBatch));
    return szBatch;
}

std::string TempDir()
{
    char szTemp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, szTemp);
    return szTemp;
}

// The golden file with this machine's folders put in for its placeholders.
std::string ExpectedBatch(const char* pszGolden, const std::string& installDir)
{
    std::string text = ReadTextFile(GoldenPath(pszGolden));
    auto replace = [&text](const std::string& from, const std::string& to) {
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    };
    replace("@INSTALL@", installDir);
    replace("@DESKTOP@", DesktopShortcut());
    replace("@TEMP@", TempDir());
    return text;
}

bool WaitUntil(bool (*pfnDone)(), DWORD dwTimeoutMs)
{
    DWORD dwStart = GetTickCount();
    while (!pfnDone()) {
        if (GetTickCount() - dwStart > dwTimeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

class CleanupBatch : public CInstallTest {
protected:
    void TearDown() override
    {
        m_uninstall.Kill();
        WaitUntil([] { return !FileExists(BatchPath()); }, 10000);
        CInstallTest::TearDown();
    }
    CProcessDriver m_uninstall;
};

}  // namespace

TEST_F(CleanupBatch, WaitsForTheUninstallerFileThenRemovesItselfAndTheFolders)
{
    ASSERT_NO_FATAL_FAILURE(Install());
    std::string uninstaller = std::string(kDefaultInstallDir) + "\\Help\\Uninstall.exe";
    {
        // While another program holds the uninstaller's file, the batch file keeps trying.
        CHandleHolder held(CreateFileA(uninstaller.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        ASSERT_TRUE(m_uninstall.Start("\"" + uninstaller + "\"", ScratchDir("batch-cwd")));
        ASSERT_EQ(m_uninstall.WaitForExit(60000), 0u);
        ASSERT_TRUE(WaitUntil([] { return FileExists(BatchPath()); }, 10000));
        Sleep(1000);
        EXPECT_TRUE(FileExists(BatchPath()));
        EXPECT_TRUE(FileExists(uninstaller));

        // Carriage return and line feed, the quoted folders with a space after them, and
        // the two backslashes before the batch file's own name.
        EXPECT_EQ(ReadTextFile(BatchPath()), ExpectedBatch("cleanup.bat", kDefaultInstallDir));
    }
    ASSERT_TRUE(WaitUntil([] { return !FileExists(BatchPath()); }, 30000));
    EXPECT_FALSE(FileExists(uninstaller));
    EXPECT_FALSE(FileExists(DesktopShortcut()));
    EXPECT_FALSE(FileExists(std::string(kDefaultInstallDir) + "\\Help"));
    EXPECT_FALSE(FileExists(kDefaultInstallDir));
}

TEST_F(CleanupBatch, AnInstallDirectoryThatIsEmptyRelativeOrMissingIsNotTouched)
{
    // The uninstaller's current folder is where a relative directory leads; it holds files
    // of the installed names and an empty "Help", and must keep them all.
    std::string copy = ScratchDir("batch-copy") + "\\Uninstall.exe";
    ASSERT_TRUE(CopyFileA((DistDir() + "\\Uninstall.exe").c_str(), copy.c_str(), FALSE));
    for (const char* pszRecorded : {"", ".", "Tandrel98", "C:\\no-such-folder\\Tandrel98"}) {
        SCOPED_TRACE(pszRecorded);
        std::string work = ScratchDir("batch-work");
        CreateDirectoryA((work + "\\Help").c_str(), nullptr);
        WriteFileBytes(work + "\\readme.txt", {'x'});
        WriteFileBytes(work + "\\Tandrel98.ini", {'x'});
        WriteRegistryText(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, nullptr, pszRecorded);

        ASSERT_TRUE(m_uninstall.Start("\"" + copy + "\"", work));
        // Nothing was installed, so the runtime's removal tool is not there either.
        EXPECT_EQ(AnswerMessageBox(m_uninstall.ProcessId(), "Error"), "Install Not Success!");
        EXPECT_EQ(m_uninstall.WaitForExit(60000), 0u);
        ASSERT_TRUE(WaitUntil([] { return !FileExists(BatchPath()); }, 30000));
        EXPECT_TRUE(FileExists(work + "\\readme.txt"));
        EXPECT_TRUE(FileExists(work + "\\Tandrel98.ini"));
        EXPECT_TRUE(FileExists(work + "\\Help"));
        RemoveDirectoryA((work + "\\Help").c_str());
    }
}
