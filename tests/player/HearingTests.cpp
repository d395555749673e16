// What a person hears: the player program plays media made of known tones into the test's
// sound server, and the recording of the server's sink shows which tones were heard, for
// how long, in which order, and how loud in each channel. The sound server's own player
// plays the same files first, to show that the recording loses nothing.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "Hearing.h"
#include "PlayerTest.h"
#include "TestEnv.h"
#include "XInput.h"

namespace {

const std::vector<int> kThreeTones = {300, 600, 1200};
const std::vector<int> kClapTone = {1000};
const std::vector<int> kLevelTone = {600};
// The tone files hold their tones at an RMS level of a quarter of full scale (peaks at
// 11582 of 32767) in both channels.
const double kFileLevel = 0.25;
const DWORD kPlayMs = 20000;
const DWORD kExitMs = 10000;
enum { STOPPED = 1, PAUSED = 2, RUNNING = 3 };

std::string TonePath(const char* pszName)
{
    return std::string("tones\\") + pszName;
}

struct Played {
    const char* pszFile;
    const std::vector<int>* pTones;
    double dToneSeconds;  // each tone's length in the file
};

void PrintTo(const Played& p, std::ostream* os) { *os << p.pszFile; }

std::string PlayedName(const testing::TestParamInfo<Played>& info)
{
    std::string name = info.param.pszFile;
    for (char& c : name) {
        if (!isalnum(static_cast<unsigned char>(c)))
            c = '_';
    }
    return name;
}

void ExpectWholeTones(const Heard& heard, const Played& played, double dMinShare, double dMaxShare)
{
    std::string expected;
    for (int nHz : *played.pTones)
        expected += (expected.empty() ? "" : " ") + std::to_string(nHz);
    EXPECT_EQ(heard.Sequence(), expected) << "the tones heard, in order: " << heard.Describe();
    for (int nHz : *played.pTones) {
        EXPECT_GE(heard.SecondsOf(nHz), played.dToneSeconds * dMinShare)
            << nHz << " Hz of " << heard.Describe();
        EXPECT_LE(heard.SecondsOf(nHz), played.dToneSeconds * dMaxShare) << nHz << " Hz";
    }
}

// --- The harness: the server's own player is heard to within 10 ms of every tone.

class HearingHarness : public testing::TestWithParam<Played> {};

TEST_P(HearingHarness, ReferencePlayerIsHeardToTheSample)
{
    const Played& played = GetParam();
    CSinkRecording recording;
    ASSERT_TRUE(recording.Start()) << "the recorder did not start";
    ASSERT_TRUE(PlayWithReference(("tones/" + std::string(played.pszFile)).c_str(), kPlayMs));
    ASSERT_TRUE(recording.WaitSoundThenSilence(0.3, kPlayMs)) << "nothing was heard";
    recording.Stop();
    const Heard heard = Listen(recording.Samples(), *played.pTones);
    const double dTolerance = 0.010;
    const double dShare = dTolerance / played.dToneSeconds;
    ExpectWholeTones(heard, played, 1.0 - dShare, 1.0 + dShare);
    EXPECT_NEAR(heard.Span(), played.dToneSeconds * static_cast<double>(played.pTones->size()),
                dTolerance);
    EXPECT_NEAR(heard.dLeftLevel, kFileLevel, 0.005);
    EXPECT_NEAR(heard.dRightLevel, kFileLevel, 0.005);
}

INSTANTIATE_TEST_SUITE_P(Tones, HearingHarness,
                         testing::Values(Played{"tones.wav", &kThreeTones, 1.0},
                                         Played{"tones.au", &kThreeTones, 1.0},
                                         Played{"tones.aif", &kThreeTones, 1.0},
                                         Played{"clap.wav", &kClapTone, 0.14}),
                         PlayedName);

// --- The player program: every sample of every kind of media is heard, and nothing more.

// Stores the settings record with the given sound, everything else at its default.
void WriteSound(INT32 lVolume, INT32 lBalance, INT32 bMute)
{
    WriteStoredSettings({0, 0, 1, 1, 0, bMute, 0, 0, 1.0, lVolume, 0, 0, lBalance});
}

// Plays a media with the player (it opens and plays what its command line names), until
// the recording has heard it end and the player shows the end; then closes the player and
// gives everything the recording holds, the close included.
class CHeardPlayer : public CPlayerTest {
protected:
    Heard PlayAndListen(const std::string& path, const std::vector<int>& tones, bool bExpectSound)
    {
        CSinkRecording recording;
        Heard none;
        if (!recording.Start()) {
            ADD_FAILURE() << "the recorder did not start";
            return none;
        }
        if (!player.Start("\"" + path + "\"", ScratchDir("hearing")) ||
            player.WaitMainWindow(kPlayMs, false) == nullptr) {
            ADD_FAILURE() << "the player did not start";
            return none;
        }
        if (bExpectSound) {
            EXPECT_TRUE(recording.WaitSoundThenSilence(0.5, kPlayMs)) << "nothing was heard";
        }
        EXPECT_TRUE(player.WaitPlayState(PAUSED, kPlayMs)) << "the player did not reach the end";
        EXPECT_EQ(player.CloseAndExitCode(kExitMs), 0u);
        recording.Stop();
        return Listen(recording.Samples(), tones);
    }
};

class HearingPlayer : public CHeardPlayer, public testing::WithParamInterface<Played> {};

TEST_P(HearingPlayer, EverySampleIsHeardOnceAndInOrder)
{
    const Played& played = GetParam();
    WriteSound(0, 0, 0);
    const Heard heard = PlayAndListen(MediaPath(TonePath(played.pszFile).c_str()), *played.pTones, true);
    // At least 99 % of every tone, none of it twice, and nothing after the last one.
    ExpectWholeTones(heard, played, 0.99, 1.01);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HearingPlayer,
                         testing::Values(Played{"tones.wav", &kThreeTones, 1.0},
                                         Played{"tones.au", &kThreeTones, 1.0},
                                         Played{"tones.aif", &kThreeTones, 1.0},
                                         Played{"tones-audio.mpg", &kThreeTones, 1.0},
                                         Played{"tones.mpg", &kThreeTones, 1.0},
                                         Played{"clap.wav", &kClapTone, 0.14}),
                         PlayedName);

// --- Loudness in each channel as the settings give it.

struct Loudness {
    const char* pszName;
    INT32 lVolume, lBalance, bMute;
    double dLeft, dRight;  // share of the file's level heard in each channel
};

void PrintTo(const Loudness& l, std::ostream* os) { *os << l.pszName; }

class HearingLoudness : public CHeardPlayer, public testing::WithParamInterface<Loudness> {};

TEST_P(HearingLoudness, ChannelsCarryTheSettingsLevel)
{
    const Loudness& row = GetParam();
    WriteSound(row.lVolume, row.lBalance, row.bMute);
    const bool bSound = row.dLeft > 0 || row.dRight > 0;
    const Heard heard = PlayAndListen(MediaPath(TonePath("level.wav").c_str()), kLevelTone, bSound);
    if (!bSound) {
        EXPECT_LT(heard.dFirst, 0) << "sound was heard at " << heard.dFirst << " s";
        return;
    }
    EXPECT_NEAR(heard.dLeftLevel, kFileLevel * row.dLeft, kFileLevel * 0.03);
    EXPECT_NEAR(heard.dRightLevel, kFileLevel * row.dRight, kFileLevel * 0.03);
}

// -1000 hundredths of a decibel is 10^(-0.5) = 0.316 of full scale; a balance at one end
// silences the other channel; mute is silence whatever the volume.
INSTANTIATE_TEST_SUITE_P(Settings, HearingLoudness,
                         testing::Values(Loudness{"Full", 0, 0, 0, 1.0, 1.0},
                                         Loudness{"Minus1000", -1000, 0, 0, 0.316, 0.316},
                                         Loudness{"LeftOnly", 0, -10000, 0, 1.0, 0.0},
                                         Loudness{"RightOnly", 0, 10000, 0, 0.0, 1.0},
                                         Loudness{"Muted", -1000, 0, 1, 0.0, 0.0}),
                         RowName());

// --- At a rate chosen with the keys, as a person chooses it: the player plays, is stopped
// (F4), the keys are pressed, and F2 plays the three tones again from the start; the media
// ends after its length over the rate.

struct AtRate {
    const char* pszName;
    const char* pszFile;
    // Its length at normal speed: a picture's MPEG plays from its first clock reference, an
    // MPEG of sound alone from its first sound.
    double dSeconds;
    const char* pszKeys;  // pressed in order, each once
    double dRate;         // the rate those keys make
    INT32 lVolume;
};

void PrintTo(const AtRate& row, std::ostream* os) { *os << row.pszName; }

class HearingAtRate : public CHeardPlayer, public testing::WithParamInterface<AtRate> {};

TEST_P(HearingAtRate, EachToneLastsItsLengthOverTheRateAtItsOwnPitch)
{
    const AtRate& row = GetParam();
    WriteSound(row.lVolume, 0, 0);
    ASSERT_TRUE(player.Start("\"" + MediaPath(TonePath(row.pszFile).c_str()) + "\"", ScratchDir("hearing")));
    HWND hWnd = player.WaitMainWindow(kPlayMs, false);
    ASSERT_NE(hWnd, nullptr);
    ASSERT_TRUE(player.WaitPlayState(RUNNING, kPlayMs));
    ASSERT_TRUE(XKey("F4", hWnd));
    ASSERT_TRUE(player.WaitPlayState(STOPPED, kPlayMs)) << player.PlayState();
    for (const char* p = row.pszKeys; *p != '\0'; p += strlen(p) + 1)
        ASSERT_TRUE(XKey(p, hWnd)) << p;
    CSinkRecording recording;
    ASSERT_TRUE(recording.Start()) << "the recorder did not start";
    ASSERT_TRUE(XKey("F2", hWnd));
    const DWORD dwStart = GetTickCount();
    EXPECT_TRUE(player.WaitPlayState(PAUSED, kPlayMs)) << "the player did not reach the end";
    // Within 5 % and the half second the player lets the last sound play.
    const double dEnd = (GetTickCount() - dwStart) / 1000.0, dExpected = row.dSeconds / row.dRate;
    EXPECT_GT(dEnd, dExpected * 0.95) << "the end came too soon";
    EXPECT_LT(dEnd, dExpected * 1.05 + 0.6) << "the end came later than the rate gives";
    EXPECT_TRUE(recording.WaitSoundThenSilence(0.5, kPlayMs)) << "nothing was heard";
    recording.Stop();
    const Heard heard = Listen(recording.Samples(), kThreeTones);

    EXPECT_EQ(heard.Sequence(), "300 600 1200") << heard.Describe();
    const double dTone = 1.0 / row.dRate;
    double dAt = heard.dFirst;
    for (int nHz : kThreeTones) {
        EXPECT_NEAR(heard.SecondsOf(nHz), dTone, dTone * 0.05) << nHz << " Hz of " << heard.Describe();
        // The pitch over the middle half of the tone is the file's, within 2 %.
        EXPECT_NEAR(PitchHz(recording.Samples(), dAt + dTone / 4, dAt + dTone * 3 / 4), nHz, nHz * 0.02)
            << nHz << " Hz at " << dAt << " s";
        dAt += dTone;
    }
    const double dLevel = kFileLevel * std::pow(10.0, row.lVolume / 2000.0);
    EXPECT_NEAR(heard.dLeftLevel, dLevel, dLevel * 0.05);
}

// Four F8 make 1.2^4 = 2.0736; four F7 after them bring normal speed back.
INSTANTIATE_TEST_SUITE_P(Keys, HearingAtRate,
                         testing::Values(AtRate{"SoundFasterF8x4", "tones.wav", 3.0, "F8\0F8\0F8\0F8\0", 2.0736, 0},
                                         AtRate{"MovieFasterF8x4", "tones.mpg", 3.54, "F8\0F8\0F8\0F8\0", 2.0736, 0},
                                         AtRate{"MpegAudioSlowerF7x3", "tones-audio.mpg", 3.0, "F7\0F7\0F7\0",
                                                0.5787037037037037, 0},
                                         AtRate{"BackToNormalF8x4F7x4", "tones.wav", 3.0,
                                                "F8\0F8\0F8\0F8\0F7\0F7\0F7\0F7\0", 1.0, -1000}),
                         RowName());

// --- Real media that no one here made, from Debian packages: each is heard from its first
// to its last sound exactly as long as the sound server's own player hears the same file.

struct RealSound {
    const char* pszName;
    const char* pszPackage;  // the package that ships the file (scripts/deps.sh installs it)
    const char* pszPath;     // where the package puts it
};

void PrintTo(const RealSound& r, std::ostream* os) { *os << r.pszPackage << ":" << r.pszPath; }

class HearingRealMedia : public CHeardPlayer, public testing::WithParamInterface<RealSound> {};

TEST_P(HearingRealMedia, IsHeardAsLongAsTheReferencePlayerHearsIt)
{
    const RealSound& row = GetParam();
    ASSERT_TRUE(FileExists(HostPath(row.pszPath))) << row.pszPackage << " is not installed";
    CSinkRecording reference;
    ASSERT_TRUE(reference.Start()) << "the recorder did not start";
    ASSERT_TRUE(PlayHostFileWithReference(row.pszPath, kPlayMs));
    ASSERT_TRUE(reference.WaitSoundThenSilence(0.3, kPlayMs)) << "the reference was not heard";
    reference.Stop();
    const Heard expected = Listen(reference.Samples(), {});

    WriteSound(0, 0, 0);
    const Heard heard = PlayAndListen(HostPath(row.pszPath), {}, true);
    EXPECT_NEAR(heard.Span(), expected.Span(), 0.03)
        << "the player heard " << heard.Span() << " s, the reference " << expected.Span() << " s";
}

INSTANTIATE_TEST_SUITE_P(
    Packages, HearingRealMedia,
    testing::Values(
        RealSound{"Wav8Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm8.wav"},
        RealSound{"Wav16Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm16.wav"},
        RealSound{"Wav24Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm24.wav"},
        RealSound{"Wav32Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm32.wav"},
        RealSound{"Au8Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm8.au"},
        RealSound{"Au16Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm16.au"},
        RealSound{"Au24Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm24.au"},
        RealSound{"Au32Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm32.au"},
        RealSound{"AuMuLawStereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-ulaw.au"},
        RealSound{"AuMuLawMono8k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiotest.au"},
        RealSound{"AifcMuLawStereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-ulaw.aifc"},
        RealSound{"AifcALawStereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-alaw.aifc"},
        RealSound{"Aiff8Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm8.aiff"},
        RealSound{"Aiff16Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm16.aiff"},
        RealSound{"Aiff24Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm24.aiff"},
        RealSound{"Aiff32Stereo11k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/audiodata/pluck-pcm32.aiff"},
        RealSound{"Aiff16Stereo48k", "libpython3.11-testsuite", "/usr/lib/python3.11/test/Sine-1000Hz-300ms.aif"},
        RealSound{"Wav16Mono48k", "alsa-utils", "/usr/share/sounds/alsa/Front_Center.wav"}),
    RowName());

}  // namespace
