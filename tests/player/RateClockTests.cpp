// The player's reference clock: it runs at the rate it is given, never goes back, serves
// its advises at the scaled time, and refuses what the platform's clocks refuse.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Holders.h"
#include "RateClock.h"

namespace {

const REFERENCE_TIME kSecond = 10000000;
// Longest wait for an advise that is due; far above any advise's due time here.
const DWORD kAdviseWaitMs = 5000;

// A new clock, released at the end of the scope.
class CClockRef : public CComPtr<CRateClock> {
public:
    CClockRef() : CComPtr<CRateClock>(CComPtr<CRateClock>::Adopt(CRateClock::Create())) {}
};

// An auto-reset event for the clock's advises.
class CEvent : public CHandleHolder {
public:
    CEvent() : CHandleHolder(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    HEVENT Handle() const { return reinterpret_cast<HEVENT>(Get()); }
};

REFERENCE_TIME Now(CRateClock* pClock)
{
    REFERENCE_TIME rt = 0;
    EXPECT_TRUE(SUCCEEDED(pClock->GetTime(&rt)));
    return rt;
}

// The real milliseconds until an advise on rtBase fires that is due rtStream after it.
DWORD MillisecondsUntil(CRateClock* pClock, REFERENCE_TIME rtBase, REFERENCE_TIME rtStream)
{
    CEvent event;
    DWORD_PTR dwCookie = 0;
    const DWORD dwStart = GetTickCount();
    EXPECT_EQ(pClock->AdviseTime(rtBase, rtStream, event.Handle(), &dwCookie), S_OK);
    EXPECT_EQ(WaitForSingleObject(event.Get(), kAdviseWaitMs), WAIT_OBJECT_0) << "the advise did not fire";
    return GetTickCount() - dwStart;
}

// The real milliseconds until an advise a clock-second ahead fires at dRate.
DWORD MillisecondsForOneClockSecond(double dRate)
{
    CClockRef clock;
    EXPECT_EQ(clock->SetRate(dRate), S_OK);
    return MillisecondsUntil(clock.Get(), Now(clock.Get()), kSecond);
}

TEST(RateClock, AnAdviseFiresAfterTheScaledTime)
{
    // At rate 4 a clock second passes in about 250 ms, at rate 2 in about 500 ms; wide
    // bands, for a loaded machine, that still tell the rates apart.
    const DWORD dwFour = MillisecondsForOneClockSecond(4.0);
    EXPECT_GE(dwFour, 200u);
    EXPECT_LT(dwFour, 700u);
    const DWORD dwTwo = MillisecondsForOneClockSecond(2.0);
    EXPECT_GE(dwTwo, 450u);
    EXPECT_LT(dwTwo, 950u);
}

TEST(RateClock, TimeGoesOnFromWhereItIsWhenTheRateChanges)
{
    CClockRef clock;
    const REFERENCE_TIME rtBefore = Now(clock.Get());
    ASSERT_EQ(clock->SetRate(4.0), S_OK);
    const REFERENCE_TIME rtAfter = Now(clock.Get());
    EXPECT_GE(rtAfter, rtBefore);
    EXPECT_LT(rtAfter - rtBefore, kSecond / 10) << "the clock jumped at the rate change";
    ASSERT_EQ(clock->SetRate(0.5), S_OK);
    EXPECT_GE(Now(clock.Get()), rtAfter);
}

TEST(RateClock, ARunStartsWhenTheGraphRunsNotWhenItsStartWasPut)
{
    // The start put 0.2 s of the clock after the run: at a quarter speed a picture 0.1 s
    // into the stream is due 0.4 s after the run, not 1.2 s. A run after a pause goes on
    // from its past start: a picture 0.1 s of the clock ahead is due 0.4 s later, not at once.
    CClockRef clock;
    ASSERT_EQ(clock->SetRate(0.25), S_OK);
    const REFERENCE_TIME rtStart = Now(clock.Get()) + kSecond / 5;
    const DWORD dwFirst = MillisecondsUntil(clock.Get(), rtStart, kSecond / 10);
    EXPECT_GE(dwFirst, 300u);
    EXPECT_LT(dwFirst, 800u);
    const REFERENCE_TIME rtAgain = rtStart + 1;
    const DWORD dwResumed = MillisecondsUntil(clock.Get(), rtAgain, Now(clock.Get()) + kSecond / 10 - rtAgain);
    EXPECT_GE(dwResumed, 300u);
    EXPECT_LT(dwResumed, 800u);
}

TEST(RateClock, RefusesRatesThatAreNoSpeedAndKeepsItsOwn)
{
    CClockRef clock;
    ASSERT_EQ(clock->SetRate(2.0), S_OK);
    for (double dRate : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(dRate);
        EXPECT_EQ(clock->SetRate(dRate), E_INVALIDARG);
        EXPECT_EQ(clock->GetRate(), 2.0);
    }
}

TEST(RateClock, RefusesAdvisesAsThePlatformsClocksDo)
{
    CClockRef clock;
    CEvent event;
    DWORD_PTR dwCookie = 0;
    EXPECT_EQ(clock->AdviseTime(0, kSecond, event.Handle(), nullptr), E_POINTER);
    EXPECT_EQ(clock->AdviseTime(0, 0, event.Handle(), &dwCookie), E_INVALIDARG);
    EXPECT_EQ(clock->AdviseTime(Now(clock.Get()), kSecond, 0, &dwCookie), E_INVALIDARG);
    EXPECT_EQ(clock->AdvisePeriodic(Now(clock.Get()), 0, event.Handle(), &dwCookie), E_INVALIDARG);
    EXPECT_EQ(clock->AdvisePeriodic(0, kSecond, event.Handle(), &dwCookie), E_INVALIDARG);
    EXPECT_EQ(clock->Unadvise(12345), S_FALSE);
}

TEST(RateClock, AnAdviseTakenBackNeverFires)
{
    CClockRef clock;
    ASSERT_EQ(clock->SetRate(4.0), S_OK);
    CEvent event;
    DWORD_PTR dwCookie = 0;
    ASSERT_EQ(clock->AdviseTime(Now(clock.Get()), kSecond / 2, event.Handle(), &dwCookie), S_OK);
    EXPECT_EQ(clock->Unadvise(dwCookie), S_OK);
    EXPECT_EQ(clock->Unadvise(dwCookie), S_FALSE);
    // Twice the time it would have taken.
    EXPECT_EQ(WaitForSingleObject(event.Get(), 250), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(RateClock, APeriodicAdviseCountsEachPeriodUntilTakenBack)
{
    CClockRef clock;
    ASSERT_EQ(clock->SetRate(2.0), S_OK);
    CHandleHolder semaphore(CreateSemaphoreA(nullptr, 0, 1000, nullptr));
    HANDLE hSemaphore = semaphore.Get();
    ASSERT_NE(hSemaphore, nullptr);
    DWORD_PTR dwCookie = 0;
    ASSERT_EQ(clock->AdvisePeriodic(Now(clock.Get()) + kSecond / 10, kSecond / 10,
                                    reinterpret_cast<HSEMAPHORE>(hSemaphore), &dwCookie),
              S_OK);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(WaitForSingleObject(hSemaphore, kAdviseWaitMs), WAIT_OBJECT_0) << "period " << i;
    EXPECT_EQ(clock->Unadvise(dwCookie), S_OK);
}

}  // namespace
