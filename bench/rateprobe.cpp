// The engine's figures behind the playback rate.
//
// First, whether the engine plays faster when asked by each documented way of asking (the
// rate of the automation position interface and of the seeking interface, before and
// during playback): the last 4 seconds at rate 2.0, the rate read back and the time to the
// end of the stream (about 2 s when honoured).
//
// Then the rate table: each media played whole through the player's graph boundary at each
// rate, with the time to the end of the stream against the media's duration over the rate,
// the frames the video renderer drew and dropped (IQualProp, where the renderer offers it)
// or else the samples presented on the player's clock, the time Stop took, and the
// position at the end. Last, per media, the rate changed while it plays: 1, then 4 after
// 2 s, then 1 again after 1 s, which ends after 7 s when each change is honoured at once.
//
// Usage: rateprobe [--calls | --table [--engine-clock] [--rates R]] MEDIA...
//   --calls         the engine's own rate calls only
//   --table         the rate table only
//   --engine-clock  the table's rows on the clock the engine chooses (the rate calls alone)
//   --rates R       the table's rows at rate R only
//   --pause         each row paused for a second once a second of it has played
//   --loop          each row played twice, rewound at its end as the player's loop does
#include <windows.h>
#include <dshow.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "Holders.h"
#include "EngineGraph.h"
#include "RateClock.h"
#include "CallbackType.h"

namespace {

const double kRate = 2.0;
const double kStretch = 4.0;
const double kTableRates[] = {0.5, 1.0, 2.0, 4.0};

// --engine-clock: the rows run on the clock the engine chooses itself, for comparison.
bool g_bEngineClock = false;
// With --pause: each row is paused for a second once a second of it has played.
bool g_bPauseOnce = false;
const DWORD kPauseAfterMs = 1000, kPauseMs = 1000;
// How long a row goes on playing after its end of stream before it is stopped.
const DWORD kPlayOutMs = 500;
// With --loop: each row is played twice, rewound at its end as the player's loop rewinds.
bool g_bLoopOnce = false;
// --rates R: the table's rows at rate R only, any rate above 0 (one rate per run, for
// recording the sound).
double g_dOnlyRate = 0;

enum Path { kNone, kPositionRate, kSeekingRate, kSeekingRateRunning };
const char* const kPathNames[] = {"no rate (1.0)", "IMediaPosition::put_Rate",
                                  "IMediaSeeking::SetRate", "SetRate once running"};

// Waits for the end of the stream, at most dwLimitMs. Returns whether it came.
bool WaitForEnd(IMediaEvent* pEvent, DWORD dwStart, DWORD dwLimitMs)
{
    OAEVENT hEvent = 0;
    pEvent->GetEventHandle(&hEvent);
    bool bComplete = false;
    while (!bComplete && GetTickCount() - dwStart < dwLimitMs) {
        if (WaitForSingleObject(reinterpret_cast<HANDLE>(hEvent), 100) != WAIT_OBJECT_0)
            continue;
        long lCode = 0;
        LONG_PTR l1 = 0, l2 = 0;
        while (SUCCEEDED(pEvent->GetEvent(&lCode, &l1, &l2, 0))) {
            pEvent->FreeEventParams(lCode, l1, l2);
            if (lCode == EC_COMPLETE)
                bComplete = true;
        }
    }
    return bComplete;
}

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

    DWORD dwStart = GetTickCount();
    pControl->Run();
    if (path == kSeekingRateRunning) {
        MediaGraph::GetState(pGraph, 5000);
        hr = pSeeking->SetRate(kRate);
        pPosition->get_Rate(&dPositionRate);
        pSeeking->GetRate(&dSeekingRate);
    }
    bool bComplete = WaitForEnd(pEvent.Get(), dwStart, 20000);
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

const char* PathName(const char* pszPath)
{
    const char* pszName = pszPath;
    for (const char* p = pszPath; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\')
            pszName = p + 1;
    }
    return pszName;
}

// Stop on a thread of its own, so that an engine that hangs in it is reported, not waited for.
DWORD WINAPI StopGraph(void* pControl)
{
    static_cast<IMediaControl*>(pControl)->Stop();
    return 0;
}
TANDREL_ASSERT_CALLBACK(LPTHREAD_START_ROUTINE, StopGraph);

// One row of the rate table. Returns false when the engine hung in Stop (the process
// cannot go on with that graph).
// The filters that play sound: only those answer the audio interface.
int SoundRenderers(IGraphBuilder* pGraph)
{
    CComPtr<IEnumFilters> pFilters;
    if (FAILED(pGraph->EnumFilters(&pFilters)))
        return 0;
    int nCount = 0;
    for (;;) {
        CComPtr<IBaseFilter> pFilter;
        if (pFilters->Next(1, &pFilter, nullptr) != S_OK)
            return nCount;
        CComPtr<IBasicAudio> pAudio;
        if (SUCCEEDED(pAudio.QueryFrom(pFilter.Get())))
            ++nCount;
    }
}

// The host's time of day, in milliseconds since 1970.
ULONGLONG UnixMs()
{
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG ull = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ull / 10000 - 11644473600000ULL;
}

bool TableRow(const char* pszPath, double dRate)
{
    IGraphBuilder* pGraph = nullptr;
    if (FAILED(MediaGraph::Create(&pGraph)))
        return true;
    CComPtr<IMediaControl> pControl;
    CComPtr<IMediaPosition> pPosition;
    CComPtr<IMediaEvent> pEvent;
    double dDuration = 0;
    if (FAILED(MediaGraph::RenderFile(pGraph, pszPath)) || FAILED(pControl.QueryFrom(pGraph)) ||
        FAILED(pPosition.QueryFrom(pGraph)) || FAILED(pEvent.QueryFrom(pGraph)) ||
        FAILED(pPosition->get_Duration(&dDuration))) {
        std::printf("%-14s cannot render\n", pszPath);
        pGraph->Release();
        return true;
    }
    CComPtr<IBaseFilter> pRenderer;
    CComPtr<IQualProp> pQuality;
    if (SUCCEEDED(pGraph->FindFilterByName(L"Video Renderer", &pRenderer)) && pRenderer)
        pRenderer->QueryInterface(IID_IQualProp, reinterpret_cast<void**>(&pQuality));
    if (g_bEngineClock)
        pGraph->SetDefaultSyncSource();

    // On the engine's clock the rate goes to the engine alone, as the calls themselves.
    HRESULT hr = g_bEngineClock ? pPosition->put_Rate(dRate) : MediaGraph::SetRate(pGraph, dRate);
    // Each renderer's own end is reported, so that the picture's and the sound's ends can
    // be told apart; the media has ended when every renderer has.
    const int nRenderers = (pRenderer ? 1 : 0) + SoundRenderers(pGraph);
    pEvent->CancelDefaultHandling(EC_COMPLETE);
    DWORD dwStart = GetTickCount();
    pControl->Run();
    const DWORD dwLimit = static_cast<DWORD>(dDuration / dRate * 1000 * 2) * (g_bLoopOnce ? 2 : 1) + 10000 +
                          (g_bPauseOnce ? kPauseMs : 0);
    bool bLooped = false;
    DWORD dwPausedAt = 0;
    // The position a person sees, read at a quarter and at three quarters of the way.
    const DWORD dwEarly = static_cast<DWORD>(dDuration / dRate * 250), dwLate = dwEarly * 3;
    double dEarly = -1, dLate = -1;
    DWORD dwEarlyAt = 0, dwLateAt = 0, dwPictureEnd = 0, dwSoundEnd = 0;
    ULONGLONG ullPictureEndUnixMs = 0;
    int nEnded = 0;
    OAEVENT hEvent = 0;
    pEvent->GetEventHandle(&hEvent);
    while (nEnded < nRenderers && GetTickCount() - dwStart < dwLimit) {
        WaitForSingleObject(reinterpret_cast<HANDLE>(hEvent), 10);
        const DWORD dwNow = GetTickCount() - dwStart;
        if (g_bPauseOnce && dwPausedAt == 0 && dwNow >= kPauseAfterMs) {
            pControl->Pause();
            dwPausedAt = dwNow;
        } else if (dwPausedAt != 0 && dwPausedAt != MAXDWORD && dwNow >= dwPausedAt + kPauseMs) {
            pControl->Run();
            dwPausedAt = MAXDWORD;
        }
        if (dEarly < 0 && dwNow >= dwEarly) {
            pPosition->get_CurrentPosition(&dEarly);
            dwEarlyAt = dwNow;
        } else if (dLate < 0 && dwNow >= dwLate) {
            pPosition->get_CurrentPosition(&dLate);
            dwLateAt = dwNow;
        }
        long lCode = 0;
        LONG_PTR l1 = 0, l2 = 0;
        while (SUCCEEDED(pEvent->GetEvent(&lCode, &l1, &l2, 0))) {
            if (lCode == EC_COMPLETE) {
                ++nEnded;
                if (pRenderer && reinterpret_cast<IBaseFilter*>(l2) == pRenderer.Get()) {
                    dwPictureEnd = dwNow;
                    ullPictureEndUnixMs = UnixMs();
                } else
                    dwSoundEnd = dwNow;
            }
            pEvent->FreeEventParams(lCode, l1, l2);
        }
        if (g_bLoopOnce && !bLooped && nEnded >= nRenderers) {
            MediaGraph::SetPosition(pGraph, 0.0);
            bLooped = true;
            nEnded = 0;
        }
    }
    const bool bComplete = nEnded >= nRenderers;
    double dElapsed = (GetTickCount() - dwStart) / 1000.0;
    char szSpeed[48] = "";
    if (dLate >= 0 && dwLateAt > dwEarlyAt)
        std::snprintf(szSpeed, sizeof szSpeed, "  position %4.2f media s/s",
                      (dLate - dEarly) / ((dwLateAt - dwEarlyAt) / 1000.0));
    char szOffset[64] = "";
    if (dwPictureEnd != 0 && dwSoundEnd != 0)
        std::snprintf(szOffset, sizeof szOffset, "  picture-sound ends %+5ld ms",
                      static_cast<long>(dwPictureEnd) - static_cast<long>(dwSoundEnd));
    double dAtEnd = 0;
    pPosition->get_CurrentPosition(&dAtEnd);
    int nDrawn = -1, nDropped = -1;
    if (pQuality) {
        pQuality->get_FramesDrawn(&nDrawn);
        pQuality->get_FramesDroppedInRenderer(&nDropped);
    }
    long lServed = -1, lLate = -1;
    if (CRateClock* pClock = CRateClock::FromGraph(pGraph)) {
        pClock->GetCounts(&lServed, &lLate);
        pClock->Release();
    }

    // A sound renderer ends its stream when it has the last sample, 0.2-0.3 s before the
    // device has played it: the row waits for that before it stops the graph, as the
    // player does, so that a recording hears the whole sound.
    if (bComplete)
        Sleep(kPlayOutMs);
    DWORD dwStopStart = GetTickCount();
    HANDLE hStop = CreateThread(nullptr, 0, StopGraph, pControl.Get(), 0, nullptr);
    bool bStopped = hStop != nullptr && WaitForSingleObject(hStop, 10000) == WAIT_OBJECT_0;
    DWORD dwStopMs = GetTickCount() - dwStopStart;
    if (hStop != nullptr)
        CloseHandle(hStop);

    char szFrames[64] = "IQualProp none";
    if (nDrawn >= 0)
        std::snprintf(szFrames, sizeof szFrames, "IQualProp %4d drawn %4d dropped", nDrawn, nDropped);
    char szClock[64] = "engine's clock";
    if (lServed >= 0)
        std::snprintf(szClock, sizeof szClock, "own clock: %4ld presented, %3ld late", lServed, lLate);
    // The whole media's time at the rate: an MPEG plays past the duration the engine
    // reports (sound alone ends its stream before the device has played its last part).
    const double dWhole = (dAtEnd > dDuration ? dAtEnd : dDuration) / dRate * (g_bLoopOnce ? 2 : 1) +
                          (g_bPauseOnce ? kPauseMs / 1000.0 : 0);
    std::printf("%-11s %4.2f  end %6.2f s (duration/rate %6.2f, whole/rate %6.2f)%s%s%s  %s  %s  at end %5.2f s  Stop %s %lu ms\n",
                PathName(pszPath), dRate, dElapsed, dDuration / dRate, dWhole, bComplete ? "" : " NO END",
                szSpeed, szOffset, szFrames, szClock, dAtEnd, bStopped ? "took" : "HANGS, waited",
                static_cast<unsigned long>(dwStopMs));
    // On the host's clock, so that a recording of the sound can be laid beside it.
    if (ullPictureEndUnixMs != 0)
        std::printf("   picture ended at unix ms %llu\n", ullPictureEndUnixMs);
    if (FAILED(hr))
        std::printf("   the rate call failed: 0x%08lx\n", static_cast<unsigned long>(hr));
    std::fflush(stdout);
    if (!bStopped)
        return false;  // the graph is still inside Stop: leave it to the process's end
    pQuality.Release();
    pRenderer.Release();
    pControl.Release();
    pPosition.Release();
    pEvent.Release();
    pGraph->Release();
    return true;
}

// The rate changed twice while the media plays; prints the time to the end.
void ChangingRow(const char* pszPath)
{
    IGraphBuilder* pGraph = nullptr;
    if (FAILED(MediaGraph::Create(&pGraph)))
        return;
    CComPtr<IMediaControl> pControl;
    CComPtr<IMediaEvent> pEvent;
    if (FAILED(MediaGraph::RenderFile(pGraph, pszPath)) || FAILED(pControl.QueryFrom(pGraph)) ||
        FAILED(pEvent.QueryFrom(pGraph))) {
        pGraph->Release();
        return;
    }
    const DWORD dwStart = GetTickCount();
    pControl->Run();
    bool bComplete = WaitForEnd(pEvent.Get(), dwStart, 2000);
    const DWORD dwFirst = GetTickCount() - dwStart;
    MediaGraph::SetRate(pGraph, 4.0);
    const DWORD dwFourStart = GetTickCount();
    bComplete = bComplete || WaitForEnd(pEvent.Get(), dwFourStart, 1000);
    MediaGraph::SetRate(pGraph, 1.0);
    const DWORD dwChangesMs = GetTickCount() - dwStart;
    bComplete = bComplete || WaitForEnd(pEvent.Get(), dwStart, 30000);
    std::printf("%-11s 1 > 4 > 1  end %6.2f s (7.00 when honoured at once)%s  first change after %lu ms, both done after %lu ms\n",
                PathName(pszPath), (GetTickCount() - dwStart) / 1000.0, bComplete ? "" : " NO END",
                static_cast<unsigned long>(dwFirst), static_cast<unsigned long>(dwChangesMs));
    std::fflush(stdout);
    pControl->Stop();
    pControl.Release();
    pEvent.Release();
    pGraph->Release();
}

}  // namespace

int main(int argc, char** argv)
{
    CoInitialize(nullptr);
    int nFirst = 1;
    bool bTableOnly = false, bCallsOnly = false;
    for (; nFirst < argc && argv[nFirst][0] == '-'; ++nFirst) {
        if (std::strcmp(argv[nFirst], "--table") == 0)
            bTableOnly = true;
        else if (std::strcmp(argv[nFirst], "--calls") == 0)
            bCallsOnly = true;
        else if (std::strcmp(argv[nFirst], "--engine-clock") == 0)
            g_bEngineClock = true;
        else if (std::strcmp(argv[nFirst], "--pause") == 0)
            g_bPauseOnce = true;
        else if (std::strcmp(argv[nFirst], "--loop") == 0)
            g_bLoopOnce = true;
        else if (std::strcmp(argv[nFirst], "--rates") == 0 && nFirst + 1 < argc)
            g_dOnlyRate = std::atof(argv[++nFirst]);
    }
    if (!bTableOnly) {
        std::printf("== the engine's own rate calls: rate 2.0 over the last 4 s (or the whole of a shorter clip)\n");
        for (int i = nFirst; i < argc; ++i) {
            for (Path path : {kNone, kPositionRate, kSeekingRate, kSeekingRateRunning})
                Probe(argv[i], path);
        }
    }
    if (bCallsOnly) {
        CoUninitialize();
        return 0;
    }
    std::printf("== the rate table: each media whole, through the graph boundary\n");
    for (int i = nFirst; i < argc; ++i) {
        std::vector<double> rates(std::begin(kTableRates), std::end(kTableRates));
        if (g_dOnlyRate > 0)
            rates.assign(1, g_dOnlyRate);
        for (double dRate : rates) {
            if (!TableRow(argv[i], dRate)) {
                CoUninitialize();
                return 1;
            }
        }
    }
    if (g_dOnlyRate == 0 && !g_bEngineClock) {
        for (int i = nFirst; i < argc; ++i)
            ChangingRow(argv[i]);
    }
    CoUninitialize();
    return 0;
}
