// How many seeks a second the media graph boundary sustains on the real engine: a
// repositioning of a running (then paused) graph to spread-out positions, as a drag of
// the Movie Controls position slider asks for, on each media given. Prints one line per
// media and state.
#include <windows.h>
#include <dshow.h>

#include <cstdio>

#include "Holders.h"
#include "EngineGraph.h"

namespace {

const int kSeeks = 60;

// False when the media could not be measured: the benchmark then fails.
bool Measure(const char* pszPath, bool bRunning)
{
    IGraphBuilder* pGraph = nullptr;
    if (FAILED(MediaGraph::Create(&pGraph))) {
        std::printf("%s: no engine\n", pszPath);
        return false;
    }
    CComPtr<IMediaControl> pControl;
    CComPtr<IMediaPosition> pPosition;
    double dDuration = 0;
    if (FAILED(MediaGraph::RenderFile(pGraph, pszPath)) || FAILED(pControl.QueryFrom(pGraph)) ||
        FAILED(pPosition.QueryFrom(pGraph)) || FAILED(pPosition->get_Duration(&dDuration))) {
        std::printf("%s: cannot render\n", pszPath);
        pGraph->Release();
        return false;
    }
    if (bRunning)
        pControl->Run();
    else
        pControl->Pause();
    MediaGraph::GetState(pGraph, 5000);

    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    double dWorst = 0;
    for (int i = 0; i < kSeeks; ++i) {
        // Spread over the media the way a hand sweeps the thumb across it and back.
        double dShare = static_cast<double>((i * 37) % kSeeks) / kSeeks;
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        MediaGraph::SetPosition(pGraph, dShare * dDuration * 0.95);
        QueryPerformanceCounter(&t1);
        double dMs = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / freq.QuadPart;
        if (dMs > dWorst)
            dWorst = dMs;
    }
    QueryPerformanceCounter(&end);
    double dSeconds = static_cast<double>(end.QuadPart - start.QuadPart) / freq.QuadPart;
    OAFilterState state = MediaGraph::GetState(pGraph, 5000);
    std::printf("%-12s %-8s %6.1f seeks/s  (mean %5.1f ms, worst %6.1f ms, state after: %s)\n",
                pszPath, bRunning ? "running" : "paused", kSeeks / dSeconds,
                1000.0 * dSeconds / kSeeks, dWorst,
                state == State_Running ? "running" : state == State_Paused ? "paused" : "stopped");
    pControl->Stop();
    pControl.Release();
    pPosition.Release();
    pGraph->Release();
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    bool bAll = argc > 1;
    for (int i = 1; i < argc; ++i) {
        bAll = Measure(argv[i], true) && bAll;
        bAll = Measure(argv[i], false) && bAll;
    }
    CoUninitialize();
    return bAll ? 0 : 1;
}
