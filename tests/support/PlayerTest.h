// A test of the player program: a fresh settings key before, and after, whatever the test
// left running is closed and must end with exit code 0.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlayerProcess.h"
#include "TestEnv.h"
#include "XInput.h"

// The message of a media the player cannot play.
const char kCantPlayFile[] = "Can't play this file! \nTandrel98 may not recognize this file type or "
                             "this file in the CD-ROM is damaged. ";

// Names a table's tests after their rows.
struct RowName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const
    {
        return info.param.pszName;
    }
};

// Stores a settings record as the value, whole or its first cbStored bytes.
inline void WriteStoredSettings(const StoredSettings& record, size_t cbStored = sizeof(StoredSettings))
{
    const BYTE* pBytes = reinterpret_cast<const BYTE*>(&record);
    WriteSettingsBytes(std::vector<BYTE>(pBytes, pBytes + cbStored));
}

class CPlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        CreateSettingsKey();
    }
    void TearDown() override
    {
        EXPECT_EQ(player.CloseAndExitCode(10000), 0u);
        DeleteSettingsKey();
    }

    // Ends the player with Ctrl+E on the display, as a person does, and gives its exit
    // code (0xDEAD when it did not end). Its test program links XInput.cpp.
    DWORD ExitWithCtrlE()
    {
        EXPECT_TRUE(XKey("ctrl+e", player.MainWindow()));
        DWORD dwCode = 0xDEAD;
        if (!player.WaitExit(10000, &dwCode)) {
            // Whether the keys were lost or the player's window no longer answers.
            DWORD_PTR dwResult = 0;
            const bool bAnswers = SendMessageTimeoutA(player.MainWindow(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                                      2000, &dwResult) != 0;
            HWND hFront = GetForegroundWindow();
            char szClass[64] = "";  // the desktop's is "#32769"
            GetClassNameA(hFront, szClass, sizeof(szClass));
            ADD_FAILURE() << "the player did not end after Ctrl+E; its main window "
                          << (bAnswers ? "still answers" : "does not answer") << ", the foreground window is "
                          << (hFront == player.MainWindow() ? "it" : "another") << " (class '" << szClass << "')";
        }
        return dwCode;
    }

    CPlayerProcess player;
};
