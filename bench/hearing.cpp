// Plays the three-tone media (a second each of 300, 600 and 1200 Hz) with the player, the
// bare engine program and the sound server's own player, records what reaches the sound
// server, and prints how much of each tone was heard, how long the sound lasted from its
// first to its last sample (what the start and the end lost), and the gaps inside it; then
// the same span of real sound files from Debian packages, against the server's own player.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Hearing.h"
#include "PlayerProcess.h"
#include "RunToEnd.h"
#include "TestEnv.h"

namespace {

const std::vector<int> kTones = {300, 600, 1200};

bool RunBare(const std::string& bareExe, const std::string& media)
{
    return RunToEnd("\"" + bareExe + "\" \"" + media + "\"", 30000);
}

bool RunPlayer(const std::string& media, const std::string& dir)
{
    CPlayerProcess player;
    if (!player.Start("\"" + media + "\"", dir))
        return false;
    bool bEnded = player.WaitMainWindow(30000, false) != nullptr && player.WaitPlayState(2, 30000);  // paused at the end
    return player.CloseAndExitCode(10000) == 0 && bEnded;
}

// The span from the first to the last sound sample is what the start and the end left of
// the three seconds; gaps inside it (the sound device running dry) are counted apart.
void Print(const char* pszMedia, const char* pszProgram, int nRun, const Heard& heard, bool bOk)
{
    const double dGaps = heard.SecondsOf(0);
    printf("| %-15s | %-9s | %d | %5.3f | %5.3f | %5.3f | %5.3f | %5.3f | %5.3f |%s\n", pszMedia,
           pszProgram, nRun, heard.SecondsOf(300), heard.SecondsOf(600), heard.SecondsOf(1200),
           heard.Span(), 3.0 - heard.Span(), dGaps, bOk ? "" : " (did not end)");
    fflush(stdout);
}

// Real sound files from Debian packages, as the hearing tests play them.
const char* const kRealFiles[] = {
    "/usr/lib/python3.11/test/audiodata/pluck-pcm8.wav",  "/usr/lib/python3.11/test/audiodata/pluck-pcm16.wav",
    "/usr/lib/python3.11/test/audiodata/pluck-pcm24.wav", "/usr/lib/python3.11/test/audiodata/pluck-pcm32.wav",
    "/usr/lib/python3.11/test/audiodata/pluck-pcm8.au",   "/usr/lib/python3.11/test/audiodata/pluck-ulaw.au",
    "/usr/lib/python3.11/test/audiotest.au",              "/usr/lib/python3.11/test/audiodata/pluck-ulaw.aifc",
    "/usr/lib/python3.11/test/audiodata/pluck-alaw.aifc", "/usr/lib/python3.11/test/audiodata/pluck-pcm8.aiff",
    "/usr/lib/python3.11/test/audiodata/pluck-pcm24.aiff", "/usr/lib/python3.11/test/Sine-1000Hz-300ms.aif",
    "/usr/share/sounds/alsa/Front_Center.wav",
};

Heard HearRealFile(const char* pszUnixPath, bool bReference, const std::string& dir, bool* pbOk)
{
    CSinkRecording recording;
    if (!recording.Start()) {
        *pbOk = false;
        return Heard();
    }
    *pbOk = bReference ? PlayHostFileWithReference(pszUnixPath, 30000) : RunPlayer(HostPath(pszUnixPath), dir);
    recording.WaitSoundThenSilence(0.5, 5000);
    recording.Stop();
    return Listen(recording.Samples(), {});
}

// Each real file's sound from its first to its last sample, as the server's own player and
// the player give it: what the player lost (or added) at its start and end together.
void PrintRealFiles(const std::string& dir, int nRuns)
{
    printf("\n| file | run | reference span s | player span s | player minus reference s |\n|---|---|---|---|---|\n");
    for (const char* pszFile : kRealFiles) {
        for (int nRun = 1; nRun <= nRuns; ++nRun) {
            bool bReference = false, bPlayer = false;
            const Heard reference = HearRealFile(pszFile, true, dir, &bReference);
            const Heard heard = HearRealFile(pszFile, false, dir, &bPlayer);
            printf("| %s | %d | %5.3f | %5.3f | %+6.3f |%s\n", strrchr(pszFile, '/') + 1, nRun, reference.Span(),
                   heard.Span(), heard.Span() - reference.Span(), bReference && bPlayer ? "" : " (did not end)");
            fflush(stdout);
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const std::string bareExe = argv[1];
    const std::string dir = argv[2];
    const int nRuns = argc > 3 ? atoi(argv[3]) : 3;
    const char* media[] = {"tones.wav", "tones.au", "tones.aif", "tones-audio.mpg", "tones.mpg"};
    printf("| media | program | run | 300 Hz s | 600 Hz s | 1200 Hz s | heard span s | of 3 s lost | "
           "gaps s |\n|---|---|---|---|---|---|---|---|---|\n");
    for (const char* pszMedia : media) {
        const std::string path = MediaPath((std::string("tones\\") + pszMedia).c_str());
        for (int nProgram = 0; nProgram < 3; ++nProgram) {
            // The server's own player reads only the uncompressed kinds.
            if (nProgram == 2 && std::string(pszMedia).find(".mpg") != std::string::npos)
                continue;
            for (int nRun = 1; nRun <= nRuns; ++nRun) {
                CSinkRecording recording;
                if (!recording.Start())
                    return 1;
                bool bOk = false;
                const char* pszProgram = "player";
                if (nProgram == 0) {
                    bOk = RunPlayer(path, dir);
                } else if (nProgram == 1) {
                    pszProgram = "bare";
                    bOk = RunBare(bareExe, path);
                } else {
                    pszProgram = "reference";
                    bOk = PlayWithReference(("tones/" + std::string(pszMedia)).c_str(), 30000);
                }
                recording.WaitSoundThenSilence(0.5, 5000);
                recording.Stop();
                Print(pszMedia, pszProgram, nRun, Listen(recording.Samples(), kTones), bOk);
            }
        }
    }
    PrintRealFiles(dir, nRuns);
    return 0;
}
