#include "RateClock.h"

#include <algorithm>
#include <cmath>

namespace {

// {6C1B7A52-3E0D-4F8B-9A41-7D2E5C90B318}: asked of a graph's clock, answers only ours.
const GUID kIidRateClock = {0x6c1b7a52, 0x3e0d, 0x4f8b, {0x9a, 0x41, 0x7d, 0x2e, 0x5c, 0x90, 0xb3, 0x18}};

const REFERENCE_TIME kUnitsPerSecond = 10000000;
const REFERENCE_TIME kUnitsPerMillisecond = 10000;
// The longest the serving thread sleeps before it looks again, whatever is due.
const DWORD kLongestWaitMs = 50;
// How long the last release waits for the serving thread to leave (it leaves as soon as it
// is told to, unless the machine is very busy); no longer than a window may keep a person
// waiting, since the interface thread lets go of graphs.
const DWORD kJoinMs = 50;
const REFERENCE_TIME kNever = 0x7fffffffffffffffLL;
// The longest start delay the clock skips; this engine's is 200 ms of the graph's clock.
const REFERENCE_TIME kLongestStartDelay = kUnitsPerSecond;

}  // namespace

LONG CRateClock::s_cClocks = 0;

CRateClock::CRateClock()
{
    InterlockedIncrement(&s_cClocks);
    InitializeCriticalSection(&m_cs);
    QueryPerformanceFrequency(&m_liFrequency);
    m_rtRealBase = RealNow();
    m_rtClockBase = m_rtRealBase;
    m_rtLast = m_rtRealBase;
}

CRateClock::~CRateClock()
{
    if (m_hThread != nullptr)
        CloseHandle(m_hThread);
    if (m_hStop != nullptr)
        CloseHandle(m_hStop);
    if (m_hWake != nullptr)
        CloseHandle(m_hWake);
    DeleteCriticalSection(&m_cs);
    InterlockedDecrement(&s_cClocks);
}

bool CRateClock::AnyExists()
{
    return InterlockedCompareExchange(&s_cClocks, 0, 0) != 0;
}

CRateClock* CRateClock::Create()
{
    CRateClock* pClock = new CRateClock();
    if (!pClock->Start()) {
        delete pClock;
        return nullptr;
    }
    return pClock;
}

bool CRateClock::Start()
{
    m_hWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_hStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (m_hWake == nullptr || m_hStop == nullptr)
        return false;
    m_hThread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    if (m_hThread == nullptr)
        return false;
    // Presentation times are only as exact as the wake-ups that serve them.
    SetThreadPriority(m_hThread, THREAD_PRIORITY_TIME_CRITICAL);
    return true;
}

CRateClock* CRateClock::FromGraph(IUnknown* pGraph)
{
    if (pGraph == nullptr)
        return nullptr;
    IMediaFilter* pFilter = nullptr;
    if (FAILED(pGraph->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&pFilter))))
        return nullptr;
    IReferenceClock* pReference = nullptr;
    HRESULT hr = pFilter->GetSyncSource(&pReference);
    pFilter->Release();
    if (FAILED(hr) || pReference == nullptr)
        return nullptr;
    CRateClock* pClock = nullptr;
    if (FAILED(pReference->QueryInterface(kIidRateClock, reinterpret_cast<void**>(&pClock))))
        pClock = nullptr;
    pReference->Release();
    return pClock;
}

REFERENCE_TIME CRateClock::RealNow() const
{
    LARGE_INTEGER liNow;
    QueryPerformanceCounter(&liNow);
    const LONGLONG llFrequency = m_liFrequency.QuadPart > 0 ? m_liFrequency.QuadPart : 1;
    return liNow.QuadPart / llFrequency * kUnitsPerSecond +
           liNow.QuadPart % llFrequency * kUnitsPerSecond / llFrequency;
}

REFERENCE_TIME CRateClock::NowLocked()
{
    const REFERENCE_TIME rtElapsed = RealNow() - m_rtRealBase;
    REFERENCE_TIME rtNow = m_rtClockBase + std::llround(static_cast<double>(rtElapsed) * m_dRate);
    if (rtNow < m_rtLast)
        rtNow = m_rtLast;
    m_rtLast = rtNow;
    return rtNow;
}

bool CRateClock::GetStreamTime(REFERENCE_TIME* prtStream)
{
    EnterCriticalSection(&m_cs);
    const bool bRun = m_bRunSeen;
    *prtStream = bRun ? NowLocked() - m_rtRunBase : 0;
    LeaveCriticalSection(&m_cs);
    return bRun;
}

HRESULT CRateClock::SetRate(double dRate)
{
    if (!(dRate > 0.0) || !std::isfinite(dRate))
        return E_INVALIDARG;
    EnterCriticalSection(&m_cs);
    m_rtClockBase = NowLocked();
    m_rtRealBase = RealNow();
    m_dRate = dRate;
    LeaveCriticalSection(&m_cs);
    SetEvent(m_hWake);  // what is due comes sooner or later now
    return S_OK;
}

double CRateClock::GetRate()
{
    EnterCriticalSection(&m_cs);
    const double dRate = m_dRate;
    LeaveCriticalSection(&m_cs);
    return dRate;
}

void CRateClock::Hold(const Connection& connection)
{
    EnterCriticalSection(&m_cs);
    m_held.insert(m_held.begin(), connection);
    LeaveCriticalSection(&m_cs);
}

std::vector<CRateClock::Connection> CRateClock::TakeHeld()
{
    EnterCriticalSection(&m_cs);
    std::vector<Connection> held;
    held.swap(m_held);
    LeaveCriticalSection(&m_cs);
    return held;
}

bool CRateClock::HasHeld()
{
    EnterCriticalSection(&m_cs);
    const bool bHeld = !m_held.empty();
    LeaveCriticalSection(&m_cs);
    return bHeld;
}

HRESULT STDMETHODCALLTYPE CRateClock::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IReferenceClock) ||
        IsEqualIID(riid, kIidRateClock)) {
        *ppv = this;
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CRateClock::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_cRef));
}

ULONG STDMETHODCALLTYPE CRateClock::Release()
{
    const LONG cRef = InterlockedDecrement(&m_cRef);
    if (cRef == 0)
        Shutdown();
    return static_cast<ULONG>(cRef);
}

void CRateClock::Shutdown()
{
    SetEvent(m_hStop);
    if (WaitForSingleObject(m_hThread, kJoinMs) == WAIT_OBJECT_0) {
        delete this;
        return;
    }
    // The thread has not left in time (a loaded machine): it frees the clock as it leaves,
    // so that the last release never waits longer than the bound.
    EnterCriticalSection(&m_cs);
    const bool bDone = m_bThreadDone;
    m_bOrphaned = !bDone;
    LeaveCriticalSection(&m_cs);
    if (bDone)
        delete this;
}

HRESULT STDMETHODCALLTYPE CRateClock::GetTime(REFERENCE_TIME* pTime)
{
    if (pTime == nullptr)
        return E_POINTER;
    EnterCriticalSection(&m_cs);
    const REFERENCE_TIME rtPrevious = m_rtLast;
    *pTime = NowLocked();
    LeaveCriticalSection(&m_cs);
    return *pTime == rtPrevious ? S_FALSE : S_OK;
}

DWORD_PTR CRateClock::AddAdvise(REFERENCE_TIME rtDue, REFERENCE_TIME rtPeriod, HANDLE hSignal)
{
    EnterCriticalSection(&m_cs);
    const DWORD_PTR dwCookie = m_dwNextCookie++;
    m_advises.push_back(Advise{dwCookie, rtDue, rtPeriod, hSignal});
    LeaveCriticalSection(&m_cs);
    SetEvent(m_hWake);
    return dwCookie;
}

// A graph starts each run some time after it runs (this engine 200 ms of its clock, to let
// its filters settle), and its renderers advise on that start, their base time. The sound
// of a graph on this clock is stretched and carries no times: it plays from the moment the
// graph runs, and at a slow rate the picture would come that delay over the rate after it
// (0.4 s at half speed). So at the first advise of a run whose start is still ahead, the
// clock goes on to that start. A run that goes on after a pause has its start already past:
// the graph counts the delay it put before as played, so its stream goes on from where it
// stopped, and the clock has nothing to skip. A run's start is never earlier than the one
// before it (a pause puts it later by its length), so an earlier base is no new run.
void CRateClock::SkipStartDelayLocked(REFERENCE_TIME rtBase)
{
    if (m_bRunSeen && rtBase <= m_rtRunBase)
        return;
    m_bRunSeen = true;
    m_rtRunBase = rtBase;
    const REFERENCE_TIME rtNow = NowLocked();
    if (rtBase > rtNow)
        m_rtClockBase += std::min(rtBase - rtNow, kLongestStartDelay);
}

HRESULT STDMETHODCALLTYPE CRateClock::AdviseTime(REFERENCE_TIME rtBaseTime, REFERENCE_TIME rtStreamTime,
                                                 HEVENT hEvent, DWORD_PTR* pdwAdviseCookie)
{
    if (pdwAdviseCookie == nullptr)
        return E_POINTER;
    *pdwAdviseCookie = 0;
    if (hEvent == 0 || rtStreamTime < 0 || rtBaseTime + rtStreamTime <= 0)
        return E_INVALIDARG;
    EnterCriticalSection(&m_cs);
    SkipStartDelayLocked(rtBaseTime);
    LeaveCriticalSection(&m_cs);
    *pdwAdviseCookie = AddAdvise(rtBaseTime + rtStreamTime, 0, reinterpret_cast<HANDLE>(hEvent));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRateClock::AdvisePeriodic(REFERENCE_TIME rtStartTime, REFERENCE_TIME rtPeriodTime,
                                                     HSEMAPHORE hSemaphore, DWORD_PTR* pdwAdviseCookie)
{
    if (pdwAdviseCookie == nullptr)
        return E_POINTER;
    *pdwAdviseCookie = 0;
    if (hSemaphore == 0 || rtStartTime <= 0 || rtPeriodTime <= 0)
        return E_INVALIDARG;
    *pdwAdviseCookie = AddAdvise(rtStartTime, rtPeriodTime, reinterpret_cast<HANDLE>(hSemaphore));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CRateClock::Unadvise(DWORD_PTR dwAdviseCookie)
{
    HRESULT hr = S_FALSE;
    EnterCriticalSection(&m_cs);
    for (auto it = m_advises.begin(); it != m_advises.end(); ++it) {
        if (it->dwCookie == dwAdviseCookie) {
            m_advises.erase(it);
            hr = S_OK;
            break;
        }
    }
    LeaveCriticalSection(&m_cs);
    return hr;
}

void CRateClock::SignalLocked(const Advise& advise, REFERENCE_TIME rtNow)
{
    SetEvent(advise.hSignal);
    ++m_lServed;
    if (static_cast<double>(rtNow - advise.rtDue) / m_dRate > kLateMs * kUnitsPerMillisecond)
        ++m_lLate;
}

void CRateClock::GetCounts(long* plServed, long* plLate)
{
    EnterCriticalSection(&m_cs);
    *plServed = m_lServed;
    *plLate = m_lLate;
    LeaveCriticalSection(&m_cs);
}

DWORD CRateClock::ServeDueLocked()
{
    const REFERENCE_TIME rtNow = NowLocked();
    REFERENCE_TIME rtNext = kNever;
    for (auto it = m_advises.begin(); it != m_advises.end();) {
        if (it->rtDue <= rtNow) {
            if (it->rtPeriod == 0) {
                SignalLocked(*it, rtNow);
                it = m_advises.erase(it);
                continue;
            }
            // Every period that has passed counts once, as with the system's clock.
            const REFERENCE_TIME rtPeriods = (rtNow - it->rtDue) / it->rtPeriod + 1;
            ReleaseSemaphore(it->hSignal, static_cast<LONG>(rtPeriods < 0x7fffffff ? rtPeriods : 0x7fffffff),
                             nullptr);
            it->rtDue += rtPeriods * it->rtPeriod;
        }
        if (it->rtDue < rtNext)
            rtNext = it->rtDue;
        ++it;
    }
    if (rtNext == kNever)
        return kLongestWaitMs;
    // The real time until the next one is due, rounded up so that it is due on waking.
    const double dMs = static_cast<double>(rtNext - rtNow) / m_dRate / kUnitsPerMillisecond;
    if (dMs >= kLongestWaitMs)
        return kLongestWaitMs;
    return static_cast<DWORD>(std::ceil(dMs));
}

void CRateClock::Serve()
{
    const HANDLE handles[] = {m_hStop, m_hWake};
    for (;;) {
        EnterCriticalSection(&m_cs);
        const DWORD dwWaitMs = ServeDueLocked();
        LeaveCriticalSection(&m_cs);
        if (WaitForMultipleObjects(2, handles, FALSE, dwWaitMs) == WAIT_OBJECT_0)
            return;
    }
}

DWORD WINAPI CRateClock::ThreadProc(void* pThis)
{
    CRateClock* pClock = static_cast<CRateClock*>(pThis);
    pClock->Serve();
    EnterCriticalSection(&pClock->m_cs);
    pClock->m_bThreadDone = true;
    const bool bOrphaned = pClock->m_bOrphaned;
    LeaveCriticalSection(&pClock->m_cs);
    if (bOrphaned)
        delete pClock;
    return 0;
}
