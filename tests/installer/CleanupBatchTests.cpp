// The uninstaller's batch file: its bytes, its wait for the uninstaller's file, and what
// it does when that file stays.
#include <windows.h>

#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "InstallLayout.h"
#include "TestEnv.h"

namespace {

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

class CleanupBatch : public CInstallTest {
protected:
    // An installation in the default directory as far as the uninstaller looks at one:
    // its files, the recorded directory, the removal tool and a desktop shortcut.
    void LayOutDefaultInstallation()
    {
        LayOutInstallation(kDefaultInstallDir);
        WriteRegistryText(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, nullptr, kDefaultInstallDir);
        ASSERT_TRUE(PlaceRemovalTool());
        WriteFileBytes(DesktopShortcut(), {'l', 'n', 'k'});
        ASSERT_TRUE(FileExists(DesktopShortcut()));
    }

    void TearDown() override
    {
        m_uninstall.Kill();
        WaitFor([] { return !FileExists(CleanupBatchFile()); }, 10000);
        CInstallTest::TearDown();
    }
    CProcessDriver m_uninstall;
};

}  // namespace

// A batch file that waits for the uninstaller's file and is then let go is shown by the
// uninstaller's safety rows (held open, from the Help folder); here the file stays.
TEST_F(CleanupBatch, AnUninstallerFileThatStaysEndsTheWaitAfterItsTries)
{
    ASSERT_NO_FATAL_FAILURE(LayOutDefaultInstallation());
    std::string uninstaller = std::string(kDefaultInstallDir) + "\\Help\\Uninstall.exe";
    // Read-only: "del" refuses it for good.
    ASSERT_TRUE(SetFileAttributesA(uninstaller.c_str(), FILE_ATTRIBUTE_READONLY));
    DWORD dwStart = GetTickCount();
    ASSERT_TRUE(m_uninstall.Start("\"" + uninstaller + "\"", ScratchDir("batch-cwd")));
    ASSERT_EQ(m_uninstall.WaitForExit(30000), 0u);
    // While it keeps trying, it reaches its pause between two tries. Its bytes: carriage
    // return and line feed, quoted absolute paths, and the two backslashes before the
    // batch file's own name.
    ASSERT_TRUE(WaitFor([] { return ProcessRuns("ping.exe"); }, 10000))
        << "the batch file did not wait for the uninstaller's file";
    EXPECT_EQ(ReadTextFile(CleanupBatchFile()), ExpectedBatch("cleanup.bat", kDefaultInstallDir));
    // About a second per try: the batch file gives up after its 20 tries, no sooner,
    // deletes itself and ends.
    ASSERT_TRUE(WaitFor([] { return !FileExists(CleanupBatchFile()); }, 40000))
        << "the batch file is still waiting";
    EXPECT_GE(GetTickCount() - dwStart, 15000u) << "it gave up before its tries were over";
    EXPECT_TRUE(FileExists(uninstaller));
    EXPECT_FALSE(FileExists(DesktopShortcut()));
    SetFileAttributesA(uninstaller.c_str(), FILE_ATTRIBUTE_NORMAL);
}
