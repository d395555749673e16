// A test of the player program: a fresh settings key before, and after, whatever the test
// left running is closed and must end with exit code 0.
#pragma once

#include <gtest/gtest.h>

#include "PlayerProcess.h"
#include "TestEnv.h"

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

    CPlayerProcess player;
};
