// What an installation leaves outside its directory: the registry rows, the settings
// record and the two shortcuts, read back with the system's own tools from the shared
// installation.
#include <gtest/gtest.h>

#include <cstring>

#include "DefSetting.h"
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

std::string GoldenText(const char* pszName)
{
    std::string text;
    for (char c : ReadTextFile(GoldenPath(pszName))) {
        if (c != '\r')
            text += c;
    }
    return text;
}

}  // namespace

TEST_F(InstallRegistry, EveryRowMatchesTheGoldenExport)
{
    // Before the installation ".mpg" named another program and the settings held another
    // user's record: both are replaced.
    std::string exported = ExportInstalledRows();
    std::string golden = GoldenText("install.reg");
    EXPECT_EQ(exported, golden) << "regedit's export differs from golden/install.reg:\n"
                                << exported;
}

TEST_F(InstallRegistry, TextValuesAreStoredWithTheirZeroAndTheCommandsQuoted)
{
    std::vector<BYTE> data;
    DWORD dwType = 0;
    ASSERT_TRUE(ReadRegistryValue(HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, "DisplayName", &data,
                                  &dwType));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data.size(), 19u);
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
}

TEST_F(InstallRegistry, BothShortcutsOpenTheInstallDirectory)
{
    // Found in the user's own Start Menu and desktop folders, where the shell shows them.
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
