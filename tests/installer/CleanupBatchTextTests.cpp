// The batch file's lines, built without running anything.
#include <gtest/gtest.h>

#include "CleanupBatch.h"

TEST(CleanupBatchText, WithoutAnInstallDirectoryNoLineChangesIntoOrRemovesAFolder)
{
    std::string text = FormatCleanupBatch("", "C:\\WINDOWS\\Desktop\\Tandrel98.lnk",
                                          "C:\\WINDOWS\\TEMP\\");
    EXPECT_EQ(text,
              ":tryagain\n"
              "del Uninstall.exe\n"
              "del C:\\WINDOWS\\Desktop\\Tandrel98.lnk\n"
              "if exist Uninstall.exe goto tryagain\n"
              "cd \"C:\\WINDOWS\\TEMP\\\" \n"
              "del C:\\WINDOWS\\TEMP\\\\Tandrel98.bat\n");
}

TEST(CleanupBatchText, WithAnInstallDirectoryItHasTheNineLinesInOrder)
{
    std::string text = FormatCleanupBatch("C:\\Program Files\\Tandrel98",
                                          "C:\\WINDOWS\\Desktop\\Tandrel98.lnk", "C:\\WINDOWS\\TEMP\\");
    EXPECT_EQ(text,
              "cd \"C:\\Program Files\\Tandrel98\\Help\" \n"
              ":tryagain\n"
              "del Uninstall.exe\n"
              "del C:\\WINDOWS\\Desktop\\Tandrel98.lnk\n"
              "if exist Uninstall.exe goto tryagain\n"
              "cd \"C:\\WINDOWS\\TEMP\\\" \n"
              "rmdir \"C:\\Program Files\\Tandrel98\\Help\"\n"
              "rmdir \"C:\\Program Files\\Tandrel98\"\n"
              "del C:\\WINDOWS\\TEMP\\\\Tandrel98.bat\n");
}
