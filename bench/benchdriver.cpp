// Runs the player and the bare engine program on the same clip several times and prints
// the time from process start to the running state and the CPU time used while playing.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "PlayerProcess.h"

namespace {

double Seconds(const FILETIME& ft)
{
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    return static_cast<double>(u.QuadPart) / 1e7;
}

double NowSeconds()
{
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return Seconds(ft);
}

// CPU seconds (user and kernel) and the creation time of a process.
void ProcessTimes(HANDLE hProcess, double* pdCpu, double* pdCreated)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(hProcess, &created, &exited, &kernel, &user);
    *pdCpu = Seconds(kernel) + Seconds(user);
    *pdCreated = Seconds(created);
}

struct Run {
    double dStartToRunning;
    double dCpu;
};

bool RunPlayer(const std::string& clip, const std::string& dir, Run* pRun)
{
    CPlayerProcess player;
    if (!player.Start("\"" + clip + "\"", dir))
        return false;
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, player.ProcessId());
    double dCpu = 0, dCreated = 0;
    ProcessTimes(hProcess, &dCpu, &dCreated);
    if (player.WaitMainWindow(30000) == nullptr || !player.WaitPlayState(3, 30000)) {
        CloseHandle(hProcess);
        return false;
    }
    pRun->dStartToRunning = NowSeconds() - dCreated;
    bool bEnded = player.WaitPlayState(2, 60000);  // paused at the end
    ProcessTimes(hProcess, &pRun->dCpu, &dCreated);
    CloseHandle(hProcess);
    return bEnded;
}

bool RunBare(const std::string& bare, const std::string& clip, Run* pRun)
{
    HANDLE hRunning = CreateEventA(nullptr, TRUE, FALSE, "TandrelBenchRunning");
    ResetEvent(hRunning);
    std::string command = "\"" + bare + "\" \"" + clip + "\"";
    std::vector<char> buffer(command.begin(), command.end());
    buffer.push_back('\0');
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        CloseHandle(hRunning);
        return false;
    }
    bool bOk = WaitForSingleObject(hRunning, 30000) == WAIT_OBJECT_0;
    double dNow = NowSeconds(), dCpu = 0, dCreated = 0;
    ProcessTimes(pi.hProcess, &dCpu, &dCreated);
    pRun->dStartToRunning = dNow - dCreated;
    bOk = bOk && WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
    ProcessTimes(pi.hProcess, &pRun->dCpu, &dCreated);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(hRunning);
    return bOk;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::printf("usage: benchdriver BAREPLAY.EXE CLIP DIR [RUNS]\n");
        return 2;
    }
    const std::string bare = argv[1], clip = argv[2], dir = argv[3];
    const int nRuns = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
    std::vector<double> playerStart, playerCpu, bareStart, bareCpu;
    for (int i = 0; i < nRuns; ++i) {
        Run run = {};
        if (!RunPlayer(clip, dir, &run)) {
            std::printf("the player did not play the clip through\n");
            return 1;
        }
        playerStart.push_back(run.dStartToRunning);
        playerCpu.push_back(run.dCpu);
        if (!RunBare(bare, clip, &run)) {
            std::printf("the bare program did not play the clip through\n");
            return 1;
        }
        bareStart.push_back(run.dStartToRunning);
        bareCpu.push_back(run.dCpu);
    }
    const double ps = Median(playerStart), bs = Median(bareStart);
    const double pc = Median(playerCpu), bc = Median(bareCpu);
    std::printf("median of %d runs, 10-second clip\n", nRuns);
    std::printf("start to running: player %.3f s, bare engine %.3f s, ratio %.2f\n", ps, bs, ps / bs);
    std::printf("CPU while playing: player %.2f s, bare engine %.2f s, ratio %.2f\n", pc, bc, pc / bc);
    return 0;
}
