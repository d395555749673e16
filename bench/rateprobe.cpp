// Whether the engine plays faster when asked, by each documented way of asking: the rate
// of the automation position interface, and the rate of the seeking interface, both on
// the graph, before and during playback. For each media given it plays the last 4 seconds at rate 2.0 and prints the
// rate read back and the time to the end of the stream (about 2 s when honoured).
#include <windows.h>
#include <dshow.h>

#include <cstdio>
#include <initializer_list>

#include "Holders.h"
#include "MediaGraph.h"


namespace {

const double kRate = 2.0;
const double kStretch = 4.0;

enum Path { kNone, kPositionRate, kSeekingRate, kSeekingRateRunning };
const char* const kPathNames[] = {"no rate (1.0)", "IMediaPosition::put_Rate",
                                  "IMediaSeeking::SetRate", "SetRate once running"};

void Probe(const char* pszPath, Path path)
{
    IGraphBuilder* pGraph = nullptr;
    if (FAILED(MediaGraph::Create(&pGraph)))
        return;
    CComPtr<IMediaControl> pControl;
    CComPtr<IMediaPosition> pPosition;
    CComPtr<IMediaSeeking> pSeeking;
    CComPtr<IMediaEvent> pEvent;
    double dDuration = 0;
    if (FAILED(MediaGraph::RenderFile(pGraph, pszPath)) || FAILED(pControl.QueryFrom(pGraph)) ||
        FAILED(pPosition.QueryFrom(pGraph)) || FAILED(pSeeking.QueryFrom(pGraph)) ||
        FAILED(pEvent.QueryFrom(pGraph)) || FAILED(pPosition->get_Duration(&dDuration))) {
        std::printf("%s: cannot render\n", pszPath);
        pGraph->Release();
        return;
    }
    double dFrom = dDuration > kStretch ? dDuration - kStretch : 0;
    pPosition->put_CurrentPosition(dFrom);
    HRESULT hr = S_OK;
    if (path == kPositionRate)
        hr = pPosition->put_Rate(kRate);
    else if (path == kSeekingRate)
        hr = pSeeking->SetRate(kRate);
    double dPositionRate = 0, dSeekingRate = 0;
    pPosition->get_Rate(&dPositionRate);
    pSeeking->GetRate(&dSeekingRate);

    OAEVENT hEvent = 0;
    pEvent->GetEventHandle(&hEvent);
    DWORD dwStart = GetTickCount();
    pControl->Run();
    if (path == kSeekingRateRunning) {
        MediaGraph::GetState(pGraph, 5000);
        hr = pSeeking->SetRate(kRate);
        pPosition->get_Rate(&dPositionRate);
        pSeeking->GetRate(&dSeekingRate);
    }
    bool bComplete = false;
    while (!bComplete && GetTickCount() - dwStart < 20000) {
        if (WaitForSingleObject(reinterpret_cast<HANDLE>(hEvent), 500) != WAIT_OBJECT_0)
            continue;
        long lCode = 0;
        LONG_PTR l1 = 0, l2 = 0;
        while (SUCCEEDED(pEvent->GetEvent(&lCode, &l1, &l2, 0))) {
            pEvent->FreeEventParams(lCode, l1, l2);
            if (lCode == EC_COMPLETE)
                bComplete = true;
        }
    }
    DWORD dwElapsed = GetTickCount() - dwStart;
    std::printf("%-12s %-26s hr 0x%08lx  rate read back %.2f / %.2f  %.1f s of media took %.2f s%s\n",
                pszPath, kPathNames[path], static_cast<unsigned long>(hr), dPositionRate,
                dSeekingRate, dDuration - dFrom, dwElapsed / 1000.0,
                bComplete ? "" : " (no end of stream)");
    pControl->Stop();
    pControl.Release();
    pPosition.Release();
    pSeeking.Release();
    pEvent.Release();
    pGraph->Release();
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    for (int i = 1; i < argc; ++i) {
        for (Path path : {kNone, kPositionRate, kSeekingRate, kSeekingRateRunning})
            Probe(argv[i], path);
    }
    CoUninitialize();
    return 0;
}
