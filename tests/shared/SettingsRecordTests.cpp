// The settings value in the registry: its exact bytes, what Read accepts, and that the
// player never creates the key.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "DefSetting.h"
#include "TestEnv.h"

namespace {

std::vector<BYTE> Bytes(const DEFSETTING_RECORD& r)
{
    const BYTE* p = reinterpret_cast<const BYTE*>(&r);
    return std::vector<BYTE>(p, p + sizeof(r));
}

void PutInt(std::vector<BYTE>& b, size_t offset, INT32 n)
{
    for (int i = 0; i < 4; ++i)
        b[offset + i] = static_cast<BYTE>(static_cast<UINT32>(n) >> (8 * i));
}

class SettingsRecord : public testing::Test {
protected:
    void SetUp() override { DeleteSettingsKey(); }
    void TearDown() override { DeleteSettingsKey(); }
};

TEST_F(SettingsRecord, WritesTheLittleEndianLayoutWithZeroedFillers)
{
    CreateSettingsKey();
    CDefSetting setting;
    std::memset(&setting.m_Record, 0xCC, sizeof(setting.m_Record));  // a dirty buffer
    DEFSETTING_RECORD& r = setting.m_Record;
    r.bLoop = 1;
    r.bGroupLoop = 2;
    r.bCaption = 3;
    r.bThickFrame = 4;
    r.bMute = 5;
    r.nStartPage = 6;
    r.dRate = 1.44;
    r.lVolume = -10000;
    r.lTreble = -7;
    r.lBass = -8;
    r.lBalance = 9999;
    EXPECT_TRUE(setting.Write(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));

    std::vector<BYTE> expected(56, 0);
    PutInt(expected, 0, 1);
    PutInt(expected, 4, 2);
    PutInt(expected, 8, 3);
    PutInt(expected, 12, 4);
    PutInt(expected, 20, 5);
    PutInt(expected, 24, 6);
    const BYTE rate[8] = {0x0A, 0xD7, 0xA3, 0x70, 0x3D, 0x0A, 0xF7, 0x3F};  // 1.44
    std::memcpy(&expected[32], rate, 8);
    PutInt(expected, 40, -10000);
    PutInt(expected, 44, -7);
    PutInt(expected, 48, -8);
    PutInt(expected, 52, 9999);

    std::vector<BYTE> stored;
    DWORD dwType = 0;
    ASSERT_TRUE(ReadSettingsBytes(&stored, &dwType));
    EXPECT_EQ(dwType, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(stored, expected);
}

TEST_F(SettingsRecord, ReadTakesExactlyFiftySixBytesOfAnyType)
{
    CDefSetting setting;
    EXPECT_FALSE(setting.Read(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));  // no key

    CreateSettingsKey();
    EXPECT_FALSE(setting.Read(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));  // no value

    CDefSetting defaults;
    defaults.SetDefaults();
    std::vector<BYTE> good = Bytes(defaults.m_Record);
    PutInt(good, 40, -2500);

    std::vector<BYTE> longer = good;
    longer.push_back(0);
    WriteSettingsBytes(longer);
    EXPECT_FALSE(setting.Read(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));

    std::vector<BYTE> shorter(good.begin(), good.end() - 1);
    WriteSettingsBytes(shorter);
    EXPECT_FALSE(setting.Read(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));

    WriteSettingsBytes(std::vector<BYTE>());
    EXPECT_FALSE(setting.Read(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));

    // The type is not looked at: 56 bytes are a record.
    WriteSettingsBytes(good, REG_SZ);
    ASSERT_TRUE(setting.Read(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));
    EXPECT_EQ(setting.m_Record.lVolume, -2500);
    EXPECT_EQ(setting.m_Record.dRate, 1.0);
}

TEST_F(SettingsRecord, PlayerWriteNeverCreatesTheKeyAndSaysItWroteNothing)
{
    CDefSetting setting;
    setting.SetDefaults();
    EXPECT_FALSE(setting.Write(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));
    EXPECT_FALSE(SettingsKeyExists());
}

TEST_F(SettingsRecord, ValuesRoundTripBitForBit)
{
    CreateSettingsKey();
    struct Case {
        double dRate;
        INT32 lVolume;
        INT32 bMute;
    } cases[] = {{1.2 * 1.2, -10000, 0}, {1.44, -1000, 1}, {0.8333333333333334, 0, 0},
                 {3.5831807999999996, -1, 1}};
    for (const Case& c : cases) {
        CDefSetting out;
        out.SetDefaults();
        out.m_Record.dRate = c.dRate;
        out.m_Record.lVolume = c.lVolume;
        out.m_Record.bMute = c.bMute;
        out.Write(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE);

        CDefSetting in;
        ASSERT_TRUE(in.Read(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE));
        EXPECT_EQ(std::memcmp(&in.m_Record.dRate, &c.dRate, sizeof(double)), 0) << c.dRate;
        EXPECT_EQ(in.m_Record.lVolume, c.lVolume);
        EXPECT_EQ(in.m_Record.bMute, c.bMute);
    }
}

}  // namespace
