// The installer's holder creates the key and writes the default record.
#include <gtest/gtest.h>

#include <vector>

#include "DefSetting.h"
#include "Holders.h"
#include "TestEnv.h"

namespace {

TEST(SetupSettings, WriteCreatesTheKeyWithTheDefaultRecord)
{
    DeleteSettingsKey();
    CDefSetting setting;
    setting.SetDefaults();
    EXPECT_TRUE(setting.Write(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));

    const std::vector<BYTE> expected = {
        0, 0, 0, 0,  0, 0, 0, 0,  1, 0, 0, 0,  1, 0, 0, 0,   // loop, group loop, caption, frame
        0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,   // reserved, mute, page, padding
        0, 0, 0, 0, 0, 0, 0xF0, 0x3F,                        // rate 1.0
        0x18, 0xFC, 0xFF, 0xFF,                              // volume -1000
        0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0};               // treble, bass, balance
    std::vector<BYTE> stored;
    DWORD dwType = 0;
    ASSERT_TRUE(ReadSettingsBytes(&stored, &dwType));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(stored, expected);
    DeleteSettingsKey();
}

TEST(SetupSettings, AKeyThatCantBeCreatedIsAFailedWrite)
{
    // Under a volatile key the registry refuses a lasting one.
    DeleteSettingsKey();
    {
        CRegKeyHolder parent;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Vostrane\\Tandrel98", 0, nullptr,
                                  REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent, nullptr),
                  ERROR_SUCCESS);
    }
    CDefSetting setting;
    setting.SetDefaults();
    EXPECT_FALSE(setting.Write(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));
    EXPECT_FALSE(SettingsKeyExists());
    DeleteSettingsKey();
}

}  // namespace
