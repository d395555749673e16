// Asks the player's main window for an answer (SendMessageTimeout, WM_NULL) every few
// milliseconds throughout the end of a media with sound, a loop of it and a group advance
// to a second media, and prints the slowest answers. Not a test: it only measures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PlayerProcess.h"
#include "TestEnv.h"

namespace {

const DWORD kStartMs = 30000;
const DWORD kAnswerBoundMs = 50;
enum { STOPPED = 1, PAUSED = 2, RUNNING = 3 };

double NowMs()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// Answer times of the main window, asked until done() holds or dwMs have passed. done()
// asks the player's palette, on the same thread: its time counts as an answer too.
template <class F>
std::vector<double> Probe(CPlayerProcess& player, F done, DWORD dwMs)
{
    std::vector<double> answers;
    const double dEnd = NowMs() + dwMs;
    for (;;) {
        const double dAskedDone = NowMs();
        const bool bDone = done();
        answers.push_back(NowMs() - dAskedDone);
        if (bDone || NowMs() >= dEnd)
            break;
        DWORD_PTR dwResult = 0;
        const double dAsked = NowMs();
        if (!SendMessageTimeoutA(player.MainWindow(), WM_NULL, 0, 0, SMTO_NORMAL, 2000, &dwResult))
            answers.push_back(2000);
        else
            answers.push_back(NowMs() - dAsked);
        Sleep(5);
    }
    return answers;
}

void Report(const char* pszCase, std::vector<double> answers, bool bReached)
{
    std::sort(answers.begin(), answers.end());
    const size_t n = answers.size();
    const long nSlow = std::count_if(answers.begin(), answers.end(),
                                     [](double d) { return d > kAnswerBoundMs; });
    std::printf("%-34s %5zu answers, median %6.2f ms, 99th %6.2f ms, slowest %7.2f ms, over %lu ms: %ld%s\n",
                pszCase, n, n ? answers[n / 2] : 0.0, n ? answers[n * 99 / 100] : 0.0,
                n ? answers.back() : 0.0, kAnswerBoundMs, nSlow, bReached ? "" : " (end not reached)");
}

void WriteRecord(INT32 bLoop)
{
    StoredSettings record = {bLoop, 0, 1, 1, 0, 0, 0, 0, 1.0, -1000, 0, 0, 0};
    const BYTE* p = reinterpret_cast<const BYTE*>(&record);
    WriteSettingsBytes(std::vector<BYTE>(p, p + sizeof(record)));
}

// The Open dialog takes the folder, then the files, as a person types them.
bool ChooseGroup(CPlayerProcess& player, const std::string& dir, const char* pszNames)
{
    player.TypeCtrlKey('O');
    HWND hDialog = nullptr;
    if (!WaitFor([&]() { return (hDialog = player.TopDialog(1148)) != nullptr; }, 10000))
        return false;
    HWND hName = GetDlgItem(hDialog, 1148);
    HWND hEdit = FindWindowExA(hName, nullptr, "Edit", nullptr);
    HWND hBox = hEdit != nullptr ? hEdit : hName;
    SendMessageA(hBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(dir.c_str()));
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    const std::string folder = dir.substr(dir.rfind('\\') + 1);
    auto lookIn = [&]() {
        char szLookIn[MAX_PATH] = "";
        SendMessageA(GetDlgItem(hDialog, 1137), WM_GETTEXT, sizeof(szLookIn),
                     reinterpret_cast<LPARAM>(szLookIn));
        return folder == szLookIn;
    };
    if (!WaitFor(lookIn, 10000))
        return false;
    SendMessageA(hBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pszNames));
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitFor([&]() { return !IsWindow(hDialog); }, 10000);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::printf("usage: responsive CLIP DIR [RUNS]\n");
        return 2;
    }
    const std::string clip = argv[1], dir = argv[2];
    const int nRuns = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    CopyFileA(clip.c_str(), (dir + "\\a.wav").c_str(), FALSE);
    CopyFileA(clip.c_str(), (dir + "\\b.wav").c_str(), FALSE);
    for (int i = 0; i < nRuns; ++i) {
        {
            WriteRecord(0);
            CPlayerProcess player;
            player.Start("\"" + clip + "\"", dir);
            bool bOk = player.WaitMainWindow(kStartMs) != nullptr && player.WaitPlayState(RUNNING, kStartMs);
            bool bEnded = false;
            std::vector<double> answers =
                Probe(player, [&]() { return bEnded = player.PlayState() == PAUSED; }, 15000);
            Report("end of a media", answers, bOk && bEnded);
            player.CloseAndExitCode(10000);
        }
        {
            WriteRecord(1);
            CPlayerProcess player;
            player.Start("\"" + clip + "\"", dir);
            bool bOk = player.WaitMainWindow(kStartMs) != nullptr && player.WaitPlayState(RUNNING, kStartMs);
            // Two ends of the media and the rewinds after them; the loop never pauses.
            std::vector<double> answers = Probe(player, []() { return false; }, 5000);
            Report("loop (two ends)", answers, bOk && player.PlayState() == RUNNING);
            player.CloseAndExitCode(10000);
        }
        {
            WriteRecord(0);
            CPlayerProcess player;
            player.Start("\"" + clip + "\"", dir);
            bool bOk = player.WaitMainWindow(kStartMs) != nullptr && ChooseGroup(player, dir, "\"a.wav\" \"b.wav\"") &&
                       player.WaitPlayState(STOPPED, kStartMs);
            player.PostKey(VK_F2);
            bool bEnded = false;
            std::vector<double> answers =
                Probe(player, [&]() { return bEnded = player.PlayState() == PAUSED; }, 15000);
            Report("group advance and its end", answers, bOk && bEnded);
            player.CloseAndExitCode(10000);
        }
    }
    DeleteSettingsKey();
    return 0;
}
