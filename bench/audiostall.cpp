// Plays each audio kind through the player many times and counts the runs that never
// reach the end of the media (the player pauses there) or never end after Exit. Run it
// under load (bench/audio-stalls.sh starts two busy processes beside it).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "PlayerProcess.h"

namespace {

struct Kind {
    const char* pszFile;
    DWORD dwMediaMs;
};

const Kind kKinds[] = {
    {"clip.wav", 2000}, {"clip.au", 2000}, {"clip.aif", 2000}, {"clip.mid", 500}, {"short.wav", 200},
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: audiostall MEDIADIR WORKDIR [RUNS]\n");
        return 2;
    }
    const std::string mediaDir = argv[1];
    const std::string workDir = argv[2];
    const int nRuns = argc > 3 ? atoi(argv[3]) : 20;
    printf("%-10s %5s %8s %8s %8s %12s\n", "media", "runs", "no-start", "no-end", "no-exit",
           "median-end-ms");
    int nFaults = 0;
    for (const Kind& kind : kKinds) {
        int nNoStart = 0, nNoEnd = 0, nNoExit = 0;
        DWORD times[256] = {};
        int nTimes = 0;
        for (int i = 0; i < nRuns; ++i) {
            CPlayerProcess player;
            DWORD dwStart = GetTickCount();
            if (!player.Start("\"" + mediaDir + "\\" + kind.pszFile + "\"", workDir) ||
                player.WaitMainWindow(20000) == nullptr) {
                ++nNoStart;
                continue;
            }
            // Running, or already paused at the end for the shortest media.
            if (!WaitFor([&]() { int n = player.PlayState(); return n == 3 || n == 2; }, 10000)) {
                ++nNoStart;
                continue;
            }
            if (!player.WaitPlayState(2, kind.dwMediaMs + 15000))
                ++nNoEnd;
            else if (nTimes < 256)
                times[nTimes++] = GetTickCount() - dwStart;
            if (player.CloseAndExitCode(10000) != 0)
                ++nNoExit;
        }
        // The median by insertion sort: a handful of figures.
        for (int a = 1; a < nTimes; ++a)
            for (int b = a; b > 0 && times[b - 1] > times[b]; --b) {
                DWORD t = times[b];
                times[b] = times[b - 1];
                times[b - 1] = t;
            }
        printf("%-10s %5d %8d %8d %8d %12lu\n", kind.pszFile, nRuns, nNoStart, nNoEnd, nNoExit,
               nTimes > 0 ? times[nTimes / 2] : 0ul);
        fflush(stdout);
        nFaults += nNoStart + nNoEnd + nNoExit;
    }
    return nFaults == 0 ? 0 : 1;
}
