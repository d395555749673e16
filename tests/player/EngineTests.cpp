// The playback document on the real engine: every media kind the Open dialog offers, the
// media it must refuse, the end of the stream (group advance, loop, pause at the end) and
// the transport operations that reposition a stream with both audio and video.
//
// Playback runs in real time, so the clips are short. A hang inside the engine ends the
// process with a message naming the operation, instead of holding the test until its
// time limit.
#include <windows.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "Holders.h"
#include "EngineGraph.h"
#include "MessageBoxWatcher.h"
#include "NTandrelDoc.h"
#include "TestEnv.h"
#include "TestHost.h"

namespace {

const char kCantPlayFile[] =
    "Can't play this file! \nTandrel98 may not recognize this file type or this file in the "
    "CD-ROM is damaged. ";

// How long a test waits for the engine to deliver what it expects.
const DWORD kEventWaitMs = 15000;
// How long a transport operation may take before it counts as hanging.
const DWORD kOperationMs = 5000;
// After this, a call that has not returned is taken to be stuck for good.
const DWORD kHangMs = 20000;
// The same for a whole test, whose longest takes about 10 s; ctest's own limit is 60 s.
const DWORD kTestHangMs = 45000;
const double kStepSeconds = 1.0 / 30;
// Where the plays that only need an end of stream start, in seconds before the end.
const double kNearTheEnd = 0.6;
// How far a position read back may be from the one asked for.
const double kPositionTolerance = 0.005;

// Ends the process with a message when it is still alive dwMilliseconds after construction,
// unless it has been destroyed by then.
class CHangGuard {
public:
    CHangGuard(const std::string& what, DWORD dwMilliseconds)
        : m_done(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_thread(&CHangGuard::Watch, m_done.Get(), what, dwMilliseconds)
    {
    }
    ~CHangGuard()
    {
        SetEvent(m_done.Get());
        m_thread.join();
    }
    CHangGuard(const CHangGuard&) = delete;
    CHangGuard& operator=(const CHangGuard&) = delete;

private:
    static void Watch(HANDLE hDone, const std::string& what, DWORD dwMilliseconds)
    {
        if (WaitForSingleObject(hDone, dwMilliseconds) == WAIT_OBJECT_0)
            return;
        std::fprintf(stderr, "%s did not return within %lu ms: the engine hangs\n", what.c_str(),
                     static_cast<unsigned long>(dwMilliseconds));
        std::fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }

    CHandleHolder m_done;
    std::thread m_thread;
};

// Runs op under a hang guard; returns how long it took, in milliseconds.
DWORD TimeOperation(const char* pszWhat, const std::function<void()>& op)
{
    CHangGuard guard(pszWhat, kHangMs);
    const DWORD dwStart = GetTickCount();
    op();
    return GetTickCount() - dwStart;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Does what the application's run loop does: waits on the input queue and the graph's
// event handle together, dispatching messages and handing each signalled event to the
// document, until done() holds or dwTimeoutMs pass. done() is also checked at least every
// 20 ms, so that it can watch the position. Returns whether done() held.
bool PumpUntil(CNTandrelDoc& doc, const std::function<bool()>& done,
               DWORD dwTimeoutMs = kEventWaitMs)
{
    const DWORD dwStart = GetTickCount();
    for (;;) {
        if (done())
            return true;
        const DWORD dwElapsed = GetTickCount() - dwStart;
        if (dwElapsed >= dwTimeoutMs)
            return false;
        DWORD dwWait = dwTimeoutMs - dwElapsed;
        if (dwWait > 20)
            dwWait = 20;
        // The handles change when the document opens another media or plays out an end,
        // as in the application's run loop.
        const HANDLE handles[2] = {doc.m_hGraphEvent, doc.PlayOutHandle()};
        const DWORD nHandles = handles[0] == nullptr ? 0 : handles[1] != nullptr ? 2 : 1;
        const DWORD dwResult =
            MsgWaitForMultipleObjects(nHandles, handles, FALSE, dwWait, QS_ALLINPUT);
        if (nHandles >= 1 && dwResult == WAIT_OBJECT_0)
            doc.HandleGraphEvent();
        else if (nHandles == 2 && dwResult == WAIT_OBJECT_0 + 1)
            doc.EndPlayOut();
        else if (dwResult == WAIT_OBJECT_0 + nHandles)
            PumpMessages();
    }
}

double PositionOf(CNTandrelDoc& doc)
{
    double dPosition = -1.0;
    doc.GetPosition(&dPosition);
    return dPosition;
}

double DurationOf(CNTandrelDoc& doc)
{
    CComPtr<IMediaPosition> pPosition;
    REFTIME dDuration = -1.0;
    if (SUCCEEDED(pPosition.QueryFrom(MediaGraph::BuilderOf(doc.m_pGraph.get()))))
        pPosition->get_Duration(&dDuration);
    return dDuration;
}

// The engine's own state, once any transition has finished.
OAFilterState EngineState(CNTandrelDoc& doc)
{
    return MediaGraph::GetState(MediaGraph::BuilderOf(doc.m_pGraph.get()), kOperationMs);
}

class EngineTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_pGuard.reset(new CHangGuard(
            testing::UnitTest::GetInstance()->current_test_info()->name(), kTestHangMs));
        DeleteSettingsKey();
        m_pDoc.reset(new CNTandrelDoc());
        m_pDoc->m_bLoop = FALSE;
        m_pDoc->m_bGroupLoop = FALSE;
    }

    void TearDown() override
    {
        // Letting go of the media stops it and waits for it: a hang here is the engine's too.
        TimeOperation("Closing the media", [this]() { m_pDoc.reset(); });
        DeleteSettingsKey();
        m_pGuard.reset();
    }

    CNTandrelDoc& Doc() { return *m_pDoc; }

    // Opens a media that must render, without any message.
    void Open(const char* pszName)
    {
        ASSERT_TRUE(Doc().OnOpenDocument(MediaPath(pszName).c_str())) << pszName;
        ASSERT_EQ(PLAY_STOPPED, Doc().m_nPlayState);
    }

    // Plays until the media has run past dPosition.
    void PlayTo(double dPosition)
    {
        Doc().Play();
        ASSERT_EQ(PLAY_RUNNING, Doc().m_nPlayState);
        ASSERT_TRUE(PumpUntil(Doc(), [&]() { return PositionOf(Doc()) >= dPosition; }))
            << "the media did not reach " << dPosition << " s";
    }

    // Plays a looping media until it has rewound: the position falls back from the end to
    // the start.
    void PlayUntilItRewinds()
    {
        const double dDuration = DurationOf(Doc());
        double dFurthest = 0.0;
        Doc().Play();
        ASSERT_TRUE(PumpUntil(Doc(), [&]() {
            const double dPosition = PositionOf(Doc());
            if (dPosition > dFurthest)
                dFurthest = dPosition;
            return dFurthest > dDuration - 0.3 && dPosition < 0.3;
        })) << "no rewind; furthest position " << dFurthest;
        EXPECT_LE(dFurthest, dDuration) << "a position beyond the end of the media";
    }

    // Plays from where the media is to its end, where the document pauses it and, the
    // engine having reported the duration as the position, rewinds it. Returns how long
    // the play lasted, in seconds.
    double PlayToTheEnd()
    {
        const DWORD dwStart = GetTickCount();
        Doc().Play();
        EXPECT_EQ(PLAY_RUNNING, Doc().m_nPlayState);
        EXPECT_TRUE(PumpUntil(Doc(), [&]() { return Doc().m_nPlayState != PLAY_RUNNING; }))
            << "no end of stream";
        const double dLasted = (GetTickCount() - dwStart) / 1000.0;
        EXPECT_EQ(PLAY_PAUSED, Doc().m_nPlayState);
        EXPECT_EQ(State_Paused, EngineState(Doc()));
        EXPECT_NEAR(0.0, PositionOf(Doc()), kPositionTolerance);
        return dLasted;
    }

    std::unique_ptr<CHangGuard> m_pGuard;
    CTestHost m_host;
    CMessageBoxWatcher m_watcher;
    std::unique_ptr<CNTandrelDoc> m_pDoc;
};

// ---------------------------------------------------------------------------------------
// Every media kind of the Open dialog renders and knows its length.

struct MediaKind {
    const char* pszName;
    double dDuration;  // as the clip was generated
};

const MediaKind kMediaKinds[] = {
    {"clip.mpg", 2.0}, {"clip.dat", 2.0}, {"clip.avi", 2.0}, {"clip.mov", 2.0},
    {"clip.wav", 2.0}, {"clip.au", 2.0},  {"clip.aif", 2.0}, {"clip.mid", 0.5},
};

class MediaKindTest : public EngineTest, public testing::WithParamInterface<MediaKind> {};

std::string KindName(const testing::TestParamInfo<MediaKind>& info)
{
    std::string name = info.param.pszName;
    return name.substr(name.find('.') + 1);
}

// Opens a media while another thread keeps sending messages to a window of this thread,
// and returns how many of them were answered: this thread delivers sent messages only
// inside the open, so every answer came while the engine built the graph.
int AnsweredWhileOpening(CNTandrelDoc& doc, const char* pszName, BOOL* pbOpened)
{
    HWND hwnd = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    std::atomic<bool> bOpening(true);
    std::atomic<int> nAnswered(0);
    std::thread sender([&]() {
        while (bOpening.load()) {
            DWORD_PTR dwResult = 0;
            if (SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, 100, &dwResult))
                ++nAnswered;
        }
    });
    *pbOpened = doc.OnOpenDocument(MediaPath(pszName).c_str());
    bOpening.store(false);
    sender.join();
    DestroyWindow(hwnd);
    return nAnswered.load();
}

TEST_P(MediaKindTest, RendersStoppedWithItsDuration)
{
    const MediaKind& kind = GetParam();
    BOOL bOpened = FALSE;
    EXPECT_GT(AnsweredWhileOpening(Doc(), kind.pszName, &bOpened), 0)
        << "the thread that opened the media answered no message while it was built";
    ASSERT_TRUE(bOpened) << kind.pszName;
    ASSERT_EQ(PLAY_STOPPED, Doc().m_nPlayState);
    EXPECT_EQ(State_Stopped, EngineState(Doc()));
    EXPECT_STREQ(MediaPath(kind.pszName).c_str(), Doc().m_szMediaPath);
    EXPECT_NEAR(kind.dDuration, DurationOf(Doc()), 0.1);
    EXPECT_TRUE(m_watcher.Texts().empty());
}

// The end of every kind goes through the pause and the rewind of a paused graph. The play
// starts shortly before the end, moved there while the graph is stopped.
TEST_P(MediaKindTest, PlaysToItsEndAndStaysPausedAtTheStart)
{
    const MediaKind& kind = GetParam();
    ASSERT_NO_FATAL_FAILURE(Open(kind.pszName));
    const double dDuration = DurationOf(Doc());
    const double dFrom = dDuration > kNearTheEnd ? dDuration - kNearTheEnd : 0.0;
    ASSERT_EQ(S_OK, MediaGraph::SetPosition(MediaGraph::BuilderOf(Doc().m_pGraph.get()), dFrom));
    const double dLasted = PlayToTheEnd();
    EXPECT_GT(dLasted, dDuration - dFrom - 0.3);
    EXPECT_LT(dLasted, dDuration - dFrom + 2.0);
    EXPECT_TRUE(m_watcher.Texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Engine, MediaKindTest, testing::ValuesIn(kMediaKinds), KindName);

// ---------------------------------------------------------------------------------------
// Files that do not play are refused with the one message, and keep their graph.

// "clip.mpg" names its test "clip_mpg".
std::string FileParamName(const testing::TestParamInfo<const char*>& info)
{
    std::string name = info.param;
    for (char& c : name) {
        if (c == '.' || c == '-')
            c = '_';
    }
    return name;
}

class UnplayableTest : public EngineTest, public testing::WithParamInterface<const char*> {};

TEST_P(UnplayableTest, IsRefusedWithTheMessageAndKeepsItsGraph)
{
    const std::string path = MediaPath(GetParam());
    if (std::string(GetParam()) == "missing.mpg") {
        ASSERT_FALSE(FileExists(path));
    }
    EXPECT_FALSE(Doc().OnOpenDocument(path.c_str()));

    const std::vector<ShownMessage> shown = m_watcher.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(kCantPlayFile, shown[0].text);
    EXPECT_EQ("Tandrel98", shown[0].caption);

    EXPECT_EQ(PLAY_NONE, Doc().m_nPlayState);
    EXPECT_NE(nullptr, Doc().m_pGraph);
    EXPECT_NE(nullptr, Doc().m_hGraphEvent);
    EXPECT_STREQ(path.c_str(), Doc().m_szMediaPath);
}

INSTANTIATE_TEST_SUITE_P(Engine, UnplayableTest,
                         testing::Values("corrupt.mpg", "empty.mpg", "missing.mpg"),
                         FileParamName);

// ---------------------------------------------------------------------------------------
// The end of the stream.

TEST_F(EngineTest, GroupPlaysTheNextFileThenPausesAfterTheLast)
{
    const std::string first = MediaPath("clip.avi");
    const std::string last = MediaPath("clip.mpg");
    m_host.SetGroup({first, last});
    ASSERT_NO_FATAL_FAILURE(Open("clip.avi"));

    const DWORD dwStart = GetTickCount();
    Doc().Play();
    ASSERT_TRUE(PumpUntil(Doc(), [&]() { return last == Doc().m_szMediaPath; }))
        << "the group did not move on";
    const double dFirstLasted = (GetTickCount() - dwStart) / 1000.0;
    EXPECT_GT(dFirstLasted, 1.7);
    EXPECT_EQ(PLAY_RUNNING, Doc().m_nPlayState);
    EXPECT_EQ(State_Running, EngineState(Doc()));
    EXPECT_EQ(2, m_host.m_nNext);

    const DWORD dwLastStart = GetTickCount();
    ASSERT_TRUE(PumpUntil(Doc(), [&]() { return Doc().m_nPlayState != PLAY_RUNNING; }))
        << "the last file did not end";
    const double dLastLasted = (GetTickCount() - dwLastStart) / 1000.0;
    EXPECT_GT(dLastLasted, 1.6);
    EXPECT_EQ(PLAY_PAUSED, Doc().m_nPlayState);
    EXPECT_EQ(State_Paused, EngineState(Doc()));
    EXPECT_STREQ(last.c_str(), Doc().m_szMediaPath);
    EXPECT_NEAR(0.0, PositionOf(Doc()), kPositionTolerance);
    EXPECT_TRUE(m_watcher.Texts().empty());
}

// At rate 2, stored before the group opens: each two-second media of the group takes about
// one second, the group moves on and the last pauses at its end; then, looping, the
// media rewinds and ends again, and Step and Stop return at once.
TEST_F(EngineTest, AtRateTwoTheGroupMovesOnLoopsStepsAndStops)
{
    const std::string first = MediaPath("clip.avi");
    const std::string last = MediaPath("clip.mpg");
    m_host.SetGroup({first, last});
    Doc().m_dRate = 2.0;
    ASSERT_NO_FATAL_FAILURE(Open("clip.avi"));

    const DWORD dwStart = GetTickCount();
    Doc().Play();
    ASSERT_TRUE(PumpUntil(Doc(), [&]() { return last == Doc().m_szMediaPath; }))
        << "the group did not move on";
    // With the opening of the next media; at normal speed the play alone takes over 2 s,
    // and the half second its sound is let play out after the end comes on top.
    EXPECT_LT((GetTickCount() - dwStart) / 1000.0, 2.5) << "the first media played at normal speed";
    const DWORD dwLastStart = GetTickCount();
    ASSERT_TRUE(PumpUntil(Doc(), [&]() { return Doc().m_nPlayState != PLAY_RUNNING; }))
        << "the last file did not end";
    // The MPEG plays to its true end: at normal speed its two seconds and the start take
    // over 2.2 s.
    EXPECT_LT((GetTickCount() - dwLastStart) / 1000.0, 2.1) << "the last media played at normal speed";
    EXPECT_EQ(PLAY_PAUSED, Doc().m_nPlayState);
    EXPECT_NEAR(0.0, PositionOf(Doc()), kPositionTolerance);

    Doc().m_bLoop = TRUE;
    ASSERT_NO_FATAL_FAILURE(PlayUntilItRewinds());
    EXPECT_EQ(State_Running, EngineState(Doc()));

    EXPECT_LT(TimeOperation("Pause at rate 2", [this]() { Doc().Pause(); }), kOperationMs);
    EXPECT_LT(TimeOperation("Step at rate 2", [this]() { Doc().Step(); }), kOperationMs);
    EXPECT_EQ(PLAY_PAUSED, Doc().m_nPlayState);
    EXPECT_LT(TimeOperation("Stop at rate 2", [this]() { Doc().Stop(); }), kOperationMs);
    EXPECT_EQ(PLAY_STOPPED, Doc().m_nPlayState);
    EXPECT_TRUE(m_watcher.Texts().empty());
}

class LoopTest : public EngineTest, public testing::WithParamInterface<const char*> {};

TEST_P(LoopTest, RewindsKeepsRunningAndEndsAgain)
{
    ASSERT_NO_FATAL_FAILURE(Open(GetParam()));
    const double dDuration = DurationOf(Doc());
    Doc().m_bLoop = TRUE;

    ASSERT_NO_FATAL_FAILURE(PlayUntilItRewinds());
    const DWORD dwRewound = GetTickCount();
    EXPECT_EQ(PLAY_RUNNING, Doc().m_nPlayState);
    EXPECT_EQ(State_Running, EngineState(Doc()));

    // Without the loop, the next end of the stream pauses the media: it must come, after
    // a whole second pass.
    Doc().m_bLoop = FALSE;
    ASSERT_TRUE(PumpUntil(Doc(), [&]() { return Doc().m_nPlayState != PLAY_RUNNING; }))
        << "no second end of stream";
    const double dSecondLasted = (GetTickCount() - dwRewound) / 1000.0;
    EXPECT_GT(dSecondLasted, dDuration - 0.4);
    EXPECT_LT(dSecondLasted, dDuration + 2.0);
    EXPECT_EQ(PLAY_PAUSED, Doc().m_nPlayState);
    EXPECT_TRUE(m_watcher.Texts().empty());
}

INSTANTIATE_TEST_SUITE_P(Engine, LoopTest,
                         testing::Values("clip.mpg", "clip.avi", "clip-audio.mpg", "green-red.mpg"),
                         FileParamName);

// ---------------------------------------------------------------------------------------
// Stop and Step on streams with audio and video, which the engine cannot reposition in
// place. Each must return at once, and leave a media that still plays to its end.

class TransportTest : public EngineTest, public testing::WithParamInterface<const char*> {
protected:
    void ExpectStoppedAtTheStart(DWORD dwStopMs)
    {
        EXPECT_LT(dwStopMs, kOperationMs);
        EXPECT_EQ(PLAY_STOPPED, Doc().m_nPlayState);
        EXPECT_EQ(State_Stopped, EngineState(Doc()));
        EXPECT_NEAR(0.0, PositionOf(Doc()), kPositionTolerance);
        // Played again, the whole media plays.
        EXPECT_GT(PlayToTheEnd(), DurationOf(Doc()) - 0.3);
        EXPECT_TRUE(m_watcher.Texts().empty());
    }

    void ExpectOneFrameOn(DWORD dwStepMs, double dFrom)
    {
        EXPECT_LT(dwStepMs, kOperationMs);
        EXPECT_EQ(PLAY_PAUSED, Doc().m_nPlayState);
        EXPECT_EQ(State_Paused, EngineState(Doc()));
        EXPECT_NEAR(dFrom + kStepSeconds, PositionOf(Doc()), kPositionTolerance);
        // The media stays there.
        Sleep(200);
        EXPECT_NEAR(dFrom + kStepSeconds, PositionOf(Doc()), kPositionTolerance);
        // Played on, the rest of the media plays.
        const double dRest = DurationOf(Doc()) - (dFrom + kStepSeconds);
        const double dLasted = PlayToTheEnd();
        EXPECT_GT(dLasted, dRest - 0.3);
        EXPECT_LT(dLasted, dRest + 2.0);
        EXPECT_TRUE(m_watcher.Texts().empty());
    }
};

TEST_P(TransportTest, StopWhileRunning)
{
    ASSERT_NO_FATAL_FAILURE(Open(GetParam()));
    ASSERT_NO_FATAL_FAILURE(PlayTo(0.4));
    ExpectStoppedAtTheStart(TimeOperation("Stop while running", [this]() { Doc().Stop(); }));
}

TEST_P(TransportTest, StopWhilePaused)
{
    ASSERT_NO_FATAL_FAILURE(Open(GetParam()));
    ASSERT_NO_FATAL_FAILURE(PlayTo(0.4));
    Doc().Pause();
    ASSERT_EQ(PLAY_PAUSED, Doc().m_nPlayState);
    ExpectStoppedAtTheStart(TimeOperation("Stop while paused", [this]() { Doc().Stop(); }));
}

TEST_P(TransportTest, StepWhilePaused)
{
    ASSERT_NO_FATAL_FAILURE(Open(GetParam()));
    ASSERT_NO_FATAL_FAILURE(PlayTo(0.4));
    Doc().Pause();
    ASSERT_EQ(State_Paused, EngineState(Doc()));
    const double dFrom = PositionOf(Doc());
    ExpectOneFrameOn(TimeOperation("Step while paused", [this]() { Doc().Step(); }), dFrom);
}

TEST_P(TransportTest, StepWhileStopped)
{
    ASSERT_NO_FATAL_FAILURE(Open(GetParam()));
    ExpectOneFrameOn(TimeOperation("Step while stopped", [this]() { Doc().Step(); }), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Engine, TransportTest, testing::Values("clip.mpg", "clip.dat"),
                         FileParamName);

// Let go of while it plays (another media opened, New, the end of the program), a media
// is stopped, not waited for: the 12 s sound would take 11 s more to complete.
TEST_F(EngineTest, AMediaLetGoOfWhileItPlaysIsStoppedNotPlayedOut)
{
    ASSERT_NO_FATAL_FAILURE(Open("long.wav"));
    ASSERT_NO_FATAL_FAILURE(PlayTo(0.4));
    EXPECT_LT(TimeOperation("Letting go while playing", [this]() { Doc().DeleteContents(); }),
              kOperationMs);
    EXPECT_EQ(PLAY_NONE, Doc().m_nPlayState);
}

// The picture itself, read back from the renderer. After a move, an MPEG stream shows the
// key picture of its group rather than the picture at the position, so this looks at the
// MJPEG clip: every picture of it is a key picture, and they are 0.04 s apart, so two steps
// always show a different one.
std::vector<BYTE> CurrentPicture(CNTandrelDoc& doc)
{
    CComPtr<IBasicVideo> pVideo;
    if (FAILED(pVideo.QueryFrom(MediaGraph::BuilderOf(doc.m_pGraph.get()))))
        return std::vector<BYTE>();
    std::vector<BYTE> picture(1 << 20);
    long cb = static_cast<long>(picture.size());
    if (FAILED(pVideo->GetCurrentImage(&cb, reinterpret_cast<long*>(picture.data()))))
        return std::vector<BYTE>();
    picture.resize(cb);
    return picture;
}

TEST_F(EngineTest, StepShowsThePictureAtItsPosition)
{
    ASSERT_NO_FATAL_FAILURE(Open("clip.avi"));
    Doc().Step();
    ASSERT_EQ(State_Paused, EngineState(Doc()));
    const std::vector<BYTE> first = CurrentPicture(Doc());
    Doc().Step();
    ASSERT_EQ(State_Paused, EngineState(Doc()));
    const std::vector<BYTE> second = CurrentPicture(Doc());
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(first != second) << "the second step did not move the picture";

    // The first step, from the stopped media, shows the picture a pause at the start cues.
    TimeOperation("Stop after a step", [this]() { Doc().Stop(); });
    Doc().Pause();
    ASSERT_EQ(State_Paused, EngineState(Doc()));
    EXPECT_TRUE(first == CurrentPicture(Doc())) << "the step from stopped showed another picture";
}

}  // namespace
