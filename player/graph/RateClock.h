// A reference clock for the filter graph that runs at a chosen multiple of real time.
// The renderers present each sample when the graph's clock reaches the sample's time, so a
// graph driven by this clock plays at the clock's rate even where the engine ignores the
// rate calls themselves. At rate 1 it keeps the system's time, in 100 ns units. A run's
// presentation starts when the graph runs: where the graph puts the start of a run later
// than that (the base time its renderers advise on), the clock goes on at once to that
// start, as the sound, which plays as it comes, does. One thread
// of its own serves the advises and never sleeps longer than 50 ms; the last release waits
// at most 50 ms for that thread to leave, and lets it free the clock if it has not.
#pragma once

#include <windows.h>
#include <strmif.h>

#include <vector>

#include "CallbackType.h"

class CRateClock final : public IReferenceClock {
public:
    // A new clock at rate 1 with one reference, or null when the system refuses its event
    // or its thread.
    static CRateClock* Create();

    // The clock among pGraph's (IMediaFilter::GetSyncSource) when it is one of ours, with a
    // reference the caller releases; else null.
    static CRateClock* FromGraph(IUnknown* pGraph);

    // Whether any clock of this kind exists in the process: without one, no graph runs on
    // one, and nothing needs to be asked.
    static bool AnyExists();

    // The stream time now: the clock's time less the start of the run last advised on.
    // False before any run was advised on.
    bool GetStreamTime(REFERENCE_TIME* prtStream);

    // From now on the clock advances dRate seconds per real second; its time goes on from
    // where it is. A rate that is not greater than zero, or not finite, is refused with
    // E_INVALIDARG and the rate stays.
    HRESULT SetRate(double dRate);
    double GetRate();

    // For the figures: the single advises served (a renderer's samples presented on this
    // clock) and those served later than kLateMs of real time after they were due.
    static const int kLateMs = 20;
    void GetCounts(long* plServed, long* plLate);

    // A connection the boundary took apart while this clock drives the graph, to be made
    // again when the graph goes back to normal speed. The graph owns the filters, and so
    // the pins, for as long as it holds this clock; the clock keeps no reference of its own.
    struct Connection {
        IPin* pOut;
        IPin* pIn;
    };
    void Hold(const Connection& connection);
    // The held connections, upstream first, and none held any more.
    std::vector<Connection> TakeHeld();
    bool HasHeld();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IReferenceClock
    HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* pTime) override;
    HRESULT STDMETHODCALLTYPE AdviseTime(REFERENCE_TIME rtBaseTime, REFERENCE_TIME rtStreamTime,
                                         HEVENT hEvent, DWORD_PTR* pdwAdviseCookie) override;
    HRESULT STDMETHODCALLTYPE AdvisePeriodic(REFERENCE_TIME rtStartTime, REFERENCE_TIME rtPeriodTime,
                                             HSEMAPHORE hSemaphore, DWORD_PTR* pdwAdviseCookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD_PTR dwAdviseCookie) override;

    CRateClock(const CRateClock&) = delete;
    CRateClock& operator=(const CRateClock&) = delete;

private:
    struct Advise {
        DWORD_PTR dwCookie;
        REFERENCE_TIME rtDue;
        REFERENCE_TIME rtPeriod;  // 0 for a single event
        HANDLE hSignal;           // an event, or a semaphore when periodic
    };

    CRateClock();
    ~CRateClock();
    bool Start();
    void Shutdown();

    REFERENCE_TIME NowLocked();
    REFERENCE_TIME RealNow() const;
    DWORD_PTR AddAdvise(REFERENCE_TIME rtDue, REFERENCE_TIME rtPeriod, HANDLE hSignal);
    void SkipStartDelayLocked(REFERENCE_TIME rtBase);
    void SignalLocked(const Advise& advise, REFERENCE_TIME rtNow);
    DWORD ServeDueLocked();
    void Serve();
    static DWORD WINAPI ThreadProc(void* pThis);
    TANDREL_ASSERT_CALLBACK(LPTHREAD_START_ROUTINE, ThreadProc);

    static LONG s_cClocks;

    LONG m_cRef = 1;
    CRITICAL_SECTION m_cs;
    HANDLE m_hWake = nullptr;  // auto-reset: the advise list or the rate changed
    HANDLE m_hStop = nullptr;  // manual-reset: the clock is going away
    HANDLE m_hThread = nullptr;
    bool m_bThreadDone = false;
    bool m_bOrphaned = false;

    LARGE_INTEGER m_liFrequency;
    REFERENCE_TIME m_rtRealBase = 0;  // real time when the rate last changed
    REFERENCE_TIME m_rtClockBase = 0;  // the clock's time then
    REFERENCE_TIME m_rtLast = 0;       // never goes back
    double m_dRate = 1.0;
    bool m_bRunSeen = false;
    REFERENCE_TIME m_rtRunBase = 0;  // the base time of the run last advised on

    std::vector<Advise> m_advises;
    DWORD_PTR m_dwNextCookie = 1;

    std::vector<Connection> m_held;
    long m_lServed = 0;
    long m_lLate = 0;
};
