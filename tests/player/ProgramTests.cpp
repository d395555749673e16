// The player program started as a person starts it, on every kind of media and on damaged
// input, driven with real keys on the display; every run ends with the program's exit
// code, so a crash (exit code of the exception) can never pass.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PlayerTest.h"
#include "TestEnv.h"
#include "XInput.h"

namespace {

const DWORD kStartMs = 20000;
const DWORD kStateMs = 10000;
const DWORD kExitMs = 10000;

enum { NONE = 0, STOPPED = 1, PAUSED = 2, RUNNING = 3 };

// The play state reaches one of two values within the bound.
bool WaitEither(CPlayerProcess& player, int nA, int nB, DWORD dwMs)
{
    return WaitFor(
        [&]() {
            int n = player.PlayState();
            return n == nA || n == nB;
        },
        dwMs);
}

bool CoversScreen(HWND hWnd)
{
    RECT rc = {};
    return hWnd != nullptr && IsWindowVisible(hWnd) && GetWindowRect(hWnd, &rc) && rc.left <= 0 &&
           rc.top <= 0 && rc.right >= 800 && rc.bottom >= 600;
}

// The settings record the player stored at its end: the whole 56 bytes, with the volume
// and the rate the document held.
void ExpectStoredSound(INT32 lVolume, double dRate)
{
    StoredSettings stored = {};
    ASSERT_TRUE(ReadStoredSettings(&stored)) << "no settings record was stored";
    EXPECT_EQ(stored.lVolume, lVolume);
    EXPECT_DOUBLE_EQ(stored.dRate, dRate);
}

// Whether hWnd's thread holds the mouse for hWnd, as the help mode does.
bool HasCapture(HWND hWnd)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &info) &&
           info.hwndCapture == hWnd;
}

typedef CPlayerTest ProgramTest;

// Shift+F1 gives the help cursor until the next click; Ctrl+S does nothing. F9 and Ctrl+P
// bring up the platform's print-setup and print dialogs (here, with no printer, whatever it
// shows instead), owned by the frame and modal; each cancelled, the player goes on taking keys.
TEST_F(ProgramTest, HelpModeEndsAtTheNextClickCtrlSDoesNothingAndThePrintDialogsCanBeCancelled)
{
    ASSERT_TRUE(player.Start(MediaPath("vost.mpg"), ScratchDir("help-print")));
    HWND hWnd = player.WaitMainWindow(kStartMs);
    ASSERT_NE(hWnd, nullptr);
    ASSERT_TRUE(player.WaitPlayState(RUNNING, kStateMs));
    ASSERT_TRUE(XKey("shift+F1", hWnd));
    ASSERT_TRUE(WaitFor([&]() { return HasCapture(hWnd); }, kStateMs)) << "no help mode";
    ASSERT_TRUE(XClick(hWnd));
    ASSERT_TRUE(WaitFor([&]() { return !HasCapture(hWnd); }, kStateMs)) << "help mode stayed";
    // F3 after Ctrl+S shows that both keys were taken.
    ASSERT_TRUE(XKey("ctrl+s", hWnd));
    ASSERT_TRUE(XKey("F3", hWnd));
    EXPECT_TRUE(player.WaitPlayState(PAUSED, kStateMs));
    EXPECT_EQ(player.VisibleDialog(), nullptr) << "Ctrl+S showed something";
    for (const char* pszKey : {"F9", "ctrl+p"}) {
        SCOPED_TRACE(pszKey);
        ASSERT_TRUE(XKey(pszKey, hWnd));
        HWND hModal = nullptr;
        ASSERT_TRUE(WaitFor([&]() { return (hModal = player.TopDialog()) != nullptr; }, kStateMs))
            << "nothing showed";
        // Owned by the frame, or by the platform's dialog that the frame owns.
        HWND hOwner = GetWindow(hModal, GW_OWNER);
        EXPECT_TRUE(hOwner == hWnd || (hOwner != nullptr && GetWindow(hOwner, GW_OWNER) == hWnd))
            << CPlayerProcess::WindowText(hModal);
        EXPECT_FALSE(IsWindowEnabled(hWnd));
        ASSERT_TRUE(XKey("Escape", hModal));
        ASSERT_TRUE(WaitFor([&]() { return IsWindowEnabled(hWnd) != FALSE; }, kStateMs));
        ASSERT_TRUE(XKey(player.PlayState() == PAUSED ? "F2" : "F3", hWnd));
        EXPECT_TRUE(WaitEither(player, RUNNING, PAUSED, kStateMs));
    }
    EXPECT_EQ(ExitWithCtrlE(), 0u);
}

struct MediaKindCase {
    const char* pszFile;
    bool bVideo;
    double dSeconds;
    // The colours of the media's first and last pictures, where it has a colour of its own
    // for each: the last is seen before the end, the first once the media has paused at its
    // end (rewound to its start).
    COLORREF crFirst = CLR_INVALID;
    COLORREF crLast = CLR_INVALID;
};

// How far a colour the display shows may be from the picture's own: the decoder's and the
// renderer's conversions move each channel by a few steps.
const int kColourTolerance = 48;

void PrintTo(const MediaKindCase& c, std::ostream* os) { *os << c.pszFile; }

// A generated media by its name in the build's media folder; a package's file by its path.
std::string KindPath(const MediaKindCase& c)
{
    return c.pszFile[0] == '/' ? HostPath(c.pszFile) : MediaPath(c.pszFile);
}

class MediaKindProgramTest : public ProgramTest, public testing::WithParamInterface<MediaKindCase> {};

// Opened from the command line, each kind plays, takes the transport, full-screen, volume
// and rate keys, plays to its end at about twice the speed, is played again and stopped,
// and leaves with Exit.
TEST_P(MediaKindProgramTest, PlaysTakesEveryKeyAndEndsCleanly)
{
    const MediaKindCase& c = GetParam();
    const bool bShort = c.dSeconds < 1.0;
    ASSERT_TRUE(player.Start(KindPath(c), ScratchDir("kinds")));
    HWND hWnd = player.WaitMainWindow(kStartMs);
    ASSERT_NE(hWnd, nullptr);
    // A very short media may already have paused at its end.
    ASSERT_TRUE(WaitEither(player, RUNNING, bShort ? PAUSED : RUNNING, kStateMs)) << player.PlayState();
    RECT rcBefore;
    GetWindowRect(hWnd, &rcBefore);

    ASSERT_TRUE(XKey("F3", hWnd));
    EXPECT_TRUE(player.WaitPlayState(PAUSED, kStateMs)) << "F3 " << player.PlayState();
    ASSERT_TRUE(XKey("F2", hWnd));
    EXPECT_TRUE(WaitEither(player, RUNNING, bShort ? PAUSED : RUNNING, kStateMs)) << "F2";
    ASSERT_TRUE(XKey("F1", hWnd));
    EXPECT_TRUE(player.WaitPlayState(PAUSED, kStateMs)) << "F1 " << player.PlayState();
    ASSERT_TRUE(XKey("F4", hWnd));
    EXPECT_TRUE(player.WaitPlayState(STOPPED, kStateMs)) << "F4 " << player.PlayState();

    // Esc: a picture fills the screen; without one the switch goes unnoticed. F2 after
    // it shows that the key has been taken.
    ASSERT_TRUE(XKey("Escape", hWnd));
    if (c.bVideo) {
        EXPECT_TRUE(WaitFor([&]() { return CoversScreen(player.VideoWindow()); }, kStateMs));
    }
    ASSERT_TRUE(XKey("F2", hWnd));
    EXPECT_TRUE(WaitEither(player, RUNNING, bShort ? PAUSED : RUNNING, kStateMs)) << "F2 after Esc";
    if (!c.bVideo) {
        EXPECT_FALSE(CoversScreen(hWnd));
        RECT rc;
        GetWindowRect(hWnd, &rc);
        EXPECT_TRUE(EqualRect(&rc, &rcBefore));
    }
    ASSERT_TRUE(XKey("Escape", hWnd));
    EXPECT_TRUE(WaitFor(
        [&]() {
            RECT rc;
            GetWindowRect(hWnd, &rc);
            return EqualRect(&rc, &rcBefore) && !CoversScreen(player.VideoWindow());
        },
        kStateMs))
        << "the window did not come back after the second Esc";

    // Volume down twice and up once, faster five times and slower once: -1050 and 1.2^4
    // (2.0736) stored.
    for (const char* pszKey : {"F5", "F5", "F6", "F8", "F8", "F8", "F8", "F8", "F7"})
        ASSERT_TRUE(XKey(pszKey, hWnd));

    // To its end at that rate: alone, a media pauses there.
    ASSERT_TRUE(XKey("F4", hWnd));
    ASSERT_TRUE(WaitEither(player, STOPPED, STOPPED, kStateMs));
    ASSERT_TRUE(XKey("F2", hWnd));
    const DWORD dwEndMs = static_cast<DWORD>(c.dSeconds * 1000) + kStateMs;
    bool bLastSeen = c.crLast == CLR_INVALID;
    EXPECT_TRUE(WaitFor(
        [&]() {
            bLastSeen = bLastSeen || ColoursNear(ShownColour(player.VideoWindow()), c.crLast,
                                                 kColourTolerance);
            return player.PlayState() == PAUSED;
        },
        dwEndMs))
        << "no end of media within " << dwEndMs << " ms; state " << player.PlayState();
    EXPECT_TRUE(bLastSeen) << "the last picture was never shown";
    COLORREF crShown = CLR_INVALID;
    if (c.crFirst != CLR_INVALID) {
        EXPECT_TRUE(WaitFor(
            [&]() {
                crShown = ShownColour(player.VideoWindow());
                return ColoursNear(crShown, c.crFirst, kColourTolerance);
            },
            kStateMs))
            << "paused at the end, the window shows 0x" << std::hex << crShown;
    }

    // Played again and stopped; stopped while its last picture shows, it shows its first
    // one again. A very short media may end before the key comes, and its end then pauses
    // it, as an end does in the stopped state.
    if (bShort) {
        EXPECT_EQ(ExitWithCtrlE(), 0u);
        ExpectStoredSound(-1050, 1.2 * 1.2 * 1.2 * 1.2);
        return;
    }
    ASSERT_TRUE(XKey("F2", hWnd));
    if (c.crLast != CLR_INVALID) {
        EXPECT_TRUE(WaitFor(
            [&]() { return ColoursNear(ShownColour(player.VideoWindow()), c.crLast, kColourTolerance); },
            dwEndMs))
            << "played again, the last picture was never shown";
    }
    ASSERT_TRUE(XKey("F4", hWnd));
    EXPECT_TRUE(WaitFor(
        [&]() {
            crShown = ShownColour(player.VideoWindow());
            return player.PlayState() == STOPPED &&
                   (c.crFirst == CLR_INVALID || ColoursNear(crShown, c.crFirst, kColourTolerance));
        },
        kStateMs))
        << "stopped, the window shows 0x" << std::hex << crShown << "; state " << player.PlayState();

    EXPECT_EQ(ExitWithCtrlE(), 0u);
    ExpectStoredSound(-1050, 1.2 * 1.2 * 1.2 * 1.2);
}

const MediaKindCase kKinds[] = {
    {"clip.mpg", true, 2.0},  {"clip.dat", true, 2.0},  {"clip.avi", true, 2.0},
    {"clip.mov", true, 2.0},  {"clip.mid", false, 0.5}, {"clip.wav", false, 2.0},
    {"clip.au", false, 2.0},  {"clip.aif", false, 2.0}, {"short.wav", false, 0.2},
    {"long.wav", false, 12.0},
    {"clip-audio.mpg", false, 2.0},
    {"odd-height.mpg", true, 2.0},
    {"green-red.mpg", true, 3.0, RGB(0, 255, 0), RGB(255, 0, 0)},
    // Real media from Debian packages: k3b-data's VCD (MPEG-1) and SVCD (MPEG-2 program
    // stream) pictures, octave-audio's two-track MIDI melody (unpacked by scripts/deps.sh).
    {"/usr/share/k3b/extra/k3bphotovcd.mpg", true, 10.0},
    {"/usr/share/k3b/extra/k3bphotosvcd.mpg", true, 10.0},
    {"/var/lib/tandrel-samples/octave-audio/usr/share/octave/packages/audio-2.0.5/data/c_maj_melody.mid",
     false, 8.0},
};

std::string KindName(const testing::TestParamInfo<MediaKindCase>& info)
{
    std::string name = info.param.pszFile;
    name = name.substr(name.rfind('/') + 1);
    for (char& ch : name) {
        if (ch == '.' || ch == '-')
            ch = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Kinds, MediaKindProgramTest, testing::ValuesIn(kKinds), KindName);

// Damaged, disguised and impossible input on the command line: the program either plays
// it or says it cannot, then ends with exit code 0; it never crashes or hangs.
struct BadInputCase {
    const char* pszName;
    std::string (*pfnPath)(const std::string& scratch);
};

void PrintTo(const BadInputCase& c, std::ostream* os) { *os << c.pszName; }

std::string Bad(const char* pszName)
{
    return MediaPath((std::string("bad\\") + pszName).c_str());
}

// The first cb bytes of a file of libpython3.11-testsuite's audio data, in the scratch folder.
std::string CutCopy(const char* pszName, size_t cb, const std::string& scratch)
{
    const std::string host = std::string("/usr/lib/python3.11/test/audiodata/") + pszName;
    std::vector<BYTE> bytes = ReadFileBytes(HostPath(host.c_str()));
    bytes.resize(cb < bytes.size() ? cb : bytes.size());
    const std::string path = scratch + "\\cut-" + std::to_string(cb) + "-" + pszName;
    WriteFileBytes(path, bytes);
    return path;
}

const BadInputCase kBadInputs[] = {
    {"random_mpg", [](const std::string&) { return Bad("random.mpg"); }},
    {"random_dat", [](const std::string&) { return Bad("random.dat"); }},
    {"random_avi", [](const std::string&) { return Bad("random.avi"); }},
    {"random_mov", [](const std::string&) { return Bad("random.mov"); }},
    {"random_mid", [](const std::string&) { return Bad("random.mid"); }},
    {"random_wav", [](const std::string&) { return Bad("random.wav"); }},
    {"random_au", [](const std::string&) { return Bad("random.au"); }},
    {"random_aif", [](const std::string&) { return Bad("random.aif"); }},
    {"empty", [](const std::string&) { return MediaPath("empty.mpg"); }},
    {"truncated_mpeg", [](const std::string&) { return Bad("truncated.mpg"); }},
    {"junk_in_the_middle", [](const std::string&) { return Bad("junk.mpg"); }},
    {"wave_named_mid", [](const std::string&) { return Bad("wave.mid"); }},
    // AIFF-C with mu-law, from libpython3.11-testsuite, cut inside its header and inside its
    // sound: the engine reads no AIFF-C header, and the player's WAV copy of it reads these.
    {"aifc_cut_in_its_header",
     [](const std::string& scratch) { return CutCopy("pluck-ulaw.aifc", 40, scratch); }},
    {"aifc_cut_in_its_sound",
     [](const std::string& scratch) { return CutCopy("pluck-ulaw.aifc", 200, scratch); }},
    // An MS ADPCM WAV from python-pygame-doc.
    {"wav_ms_adpcm",
     [](const std::string&) { return HostPath("/usr/share/doc/python-pygame-doc/examples/data/secosmic_lo.wav"); }},
    {"directory_named_mpg",
     [](const std::string& scratch) {
         std::string path = scratch + "\\x.mpg";
         CreateDirectoryA(path.c_str(), nullptr);
         return path;
     }},
    {"non_ascii_name",
     [](const std::string& scratch) {
         std::string path = scratch + "\\clip\xE9.mpg";  // e acute in code page 1252
         CopyFileA(MediaPath("clip.mpg").c_str(), path.c_str(), FALSE);
         return path;
     }},
    {"path_of_260_characters",
     [](const std::string& scratch) { return scratch + "\\" + std::string(300, 'a') + ".mpg"; }},
    {"missing_share", [](const std::string&) { return std::string("\\\\nosuchhost\\media\\clip.mpg"); }},
};

class BadInputProgramTest : public ProgramTest, public testing::WithParamInterface<BadInputCase> {};

TEST_P(BadInputProgramTest, PlaysOrSaysItCannotAndEnds)
{
    std::string path = GetParam().pfnPath(ScratchDir("bad-input"));
    ASSERT_TRUE(player.Start("\"" + path + "\"", ScratchDir("bad-input-cwd")));

    // Either the message, after which the program ends by itself, or a fitted window.
    ShownMessage shown;
    bool bMessage = false;
    HWND hWnd = nullptr;
    ASSERT_TRUE(WaitFor(
        [&]() {
            hWnd = player.WaitMainWindow(0);
            bMessage = player.WaitMessageBox(&shown, 0);
            return bMessage || (hWnd != nullptr && player.PlayState() > NONE);
        },
        kStartMs))
        << "neither played nor said it cannot";
    if (bMessage) {
        EXPECT_EQ(shown.text, kCantPlayFile);
        DWORD dwCode = 0xDEAD;
        ASSERT_TRUE(player.WaitExit(kExitMs, &dwCode)) << "the program did not end after the message";
        EXPECT_EQ(dwCode, 0u);
    } else {
        // It plays: to its end, then Exit.
        EXPECT_TRUE(player.WaitPlayState(PAUSED, kStartMs)) << player.PlayState();
        EXPECT_EQ(ExitWithCtrlE(), 0u);
        ExpectStoredSound(-1000, 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, BadInputProgramTest, testing::ValuesIn(kBadInputs), RowName());

}  // namespace
