// The batch file's lines, built without running anything.
#include <windows.h>

#include <gtest/gtest.h>

#include "CleanupBatch.h"

TEST(CleanupBatchText, WithoutAnInstallDirectoryOnlyTheShortcutAndTheBatchFileAreDeleted)
{
    std::string text = FormatCleanupBatch("", "C:\\WINDOWS\\Desktop\\Tandrel98.lnk",
                                          "C:\\WINDOWS\\TEMP\\", "C:\\WINDOWS\\TEMP\\\\Tandrel98.bat");
    EXPECT_EQ(text,
              "cd /d \"C:\\WINDOWS\\TEMP\\\" \n"
              "del \"C:\\WINDOWS\\Desktop\\Tandrel98.lnk\"\n"
              "del \"C:\\WINDOWS\\TEMP\\\\Tandrel98.bat\"\n");
}

TEST(CleanupBatchText, EveryPathIsQuotedAndEveryPercentDoubled)
{
    std::string text = FormatCleanupBatch("D:\\A & B %PATH%", "C:\\My Desk\\Tandrel98.lnk",
                                          "C:\\T%x\\", "C:\\T%x\\\\Tandrel98-2.bat");
    EXPECT_EQ(text,
              "cd /d \"C:\\T%%x\\\" \n"
              "set tries=0\n"
              ":tryagain\n"
              "del \"D:\\A & B %%PATH%%\\Help\\Uninstall.exe\"\n"
              "if not exist \"D:\\A & B %%PATH%%\\Help\\Uninstall.exe\" goto removed\n"
              "set /a tries=tries+1\n"
              "if %tries% geq 20 goto removed\n"
              "ping -n 2 127.0.0.1 >nul\n"
              "goto tryagain\n"
              ":removed\n"
              "del \"C:\\My Desk\\Tandrel98.lnk\"\n"
              "rmdir \"D:\\A & B %%PATH%%\\Help\"\n"
              "rmdir \"D:\\A & B %%PATH%%\"\n"
              "del \"C:\\T%%x\\\\Tandrel98-2.bat\"\n");
}

TEST(CleanupBatchText, TheTextIsConvertedToTheOemCodePageOrRefused)
{
    struct Row {
        const char* pszAnsi;
        bool bConverted;
        const char* pszOem;
    };
    // e-acute is 0xE9 in the ANSI code page and 0x82 in the OEM one; the euro sign has no
    // OEM equivalent, and a best-fit letter would name another folder.
    const Row rows[] = {
        {"cd /d \"C:\\plain\"", true, "cd /d \"C:\\plain\""},
        {"rmdir \"C:\\caf\xE9\"", true, "rmdir \"C:\\caf\x82\""},
        {"rmdir \"C:\\\x80\"", false, ""},
    };
    ASSERT_EQ(GetACP(), 1252u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszAnsi);
        std::string oem;
        EXPECT_EQ(ToOemText(row.pszAnsi, &oem), row.bConverted);
        if (row.bConverted) {
            EXPECT_EQ(oem, row.pszOem);
        }
    }
}

// A path the OEM code page can't spell takes the short-form path; without a known
// installation that path, too, writes nothing that names a folder to remove.
TEST(CleanupBatchText, AnUnknownInstallationWithAnUnspellablePathIsRefusedNotRead)
{
    const char* installDirs[] = {nullptr, ""};
    for (const char* pszInstallDir : installDirs) {
        SCOPED_TRACE(pszInstallDir == nullptr ? "null" : "empty");
        std::string oem = "left";
        EXPECT_FALSE(CleanupBatchOemText(pszInstallDir, "C:\\\x80 missing\\Tandrel98.lnk",
                                         "C:\\WINDOWS\\TEMP\\", "C:\\WINDOWS\\TEMP\\\\Tandrel98.bat",
                                         &oem));
        std::string plain;
        ASSERT_TRUE(CleanupBatchOemText(pszInstallDir, "C:\\Desk\\Tandrel98.lnk",
                                        "C:\\WINDOWS\\TEMP\\", "C:\\WINDOWS\\TEMP\\\\Tandrel98.bat",
                                        &plain));
        EXPECT_EQ(plain, "cd /d \"C:\\WINDOWS\\TEMP\\\" \n"
                         "del \"C:\\Desk\\Tandrel98.lnk\"\n"
                         "del \"C:\\WINDOWS\\TEMP\\\\Tandrel98.bat\"\n");
    }
}
