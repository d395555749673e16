// The document's handling of graph events on fake media: what the end of a stream leads
// to (loop, group loop, the next file of the group, a pause at the end), how close to the
// end a media must be to rewind, the play-out of the sound before the end's rules, abort
// events, and the wake-up message to the window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "resource.h"

namespace {

// Names a table's tests after their rows.
struct RowName {
    template <class Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const
    {
        return info.param.pszName;
    }
};

const char kFirst[] = "C:\\media\\first.mpg";
const char kSecond[] = "C:\\media\\second.mpg";
const char kThird[] = "C:\\media\\third.mpg";

// Reach queues no event.
const long kNoEvent = -1;

const char kCantPlayFile[] =
    "Can't play this file! \nTandrel98 may not recognize this file type or this file in the CD-ROM "
    "is damaged. ";

class GraphEventTest : public CDocumentFixture {
protected:
    void SetUp() override
    {
        CDocumentFixture::SetUp();
        CreateSettingsKey();
        m_factory.Queue(&m_first);
        m_factory.Queue(&m_second);
        m_pDoc.reset(new CNTandrelDoc);
    }

    // Opens the first media and brings it into nState at dPosition of its 4 seconds, with
    // one event queued; the messages shown on the way do not count.
    void Reach(int nState, double dPosition = 3.99, long lEvent = kGraphEventComplete)
    {
        m_first.SetDuration(4.0);
        if (nState == PLAY_NONE)
            m_first.SetResult("RenderFile", E_FAIL);
        m_pDoc->OnOpenDocument(kFirst);
        m_first.SetResult("RenderFile", S_OK);
        if (nState == PLAY_PAUSED)
            m_pDoc->Pause();
        if (nState == PLAY_RUNNING)
            m_pDoc->Play();
        ASSERT_EQ(nState, m_pDoc->m_nPlayState);
        m_first.SetPosition(dPosition);
        if (lEvent != kNoEvent)
            m_first.QueueEvent(lEvent);
        m_nShownBefore = m_boxes.Texts().size();
    }

    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts = m_boxes.Texts();
        return std::vector<std::string>(texts.begin() + static_cast<long>(m_nShownBefore), texts.end());
    }

    // Takes the wake-up message from the main window's queue.
    bool TookWakeUp()
    {
        MSG msg;
        if (!PeekMessageA(&msg, m_hwndMain, WM_USER, WM_USER, PM_REMOVE))
            return false;
        return msg.wParam == 0 && msg.lParam == 0;
    }

    // The ended media was let go of: its video window hidden and given back by the main
    // window, and the graph released.
    void ExpectLetGo(const CFakeGraph& media)
    {
        EXPECT_EQ(0, media.Holders());
        EXPECT_FALSE(media.Visible());
        EXPECT_EQ(nullptr, media.Owner());
    }

    // pszPath was opened in media, fitted to the main window, given the stored sound and
    // started.
    void ExpectPlaying(const CFakeGraph& media, const char* pszPath)
    {
        EXPECT_TRUE(IsCurrent(media));
        EXPECT_EQ(pszPath, media.RenderedFile());
        EXPECT_EQ(media.EventHandle(), m_pDoc->m_hGraphEvent);
        EXPECT_EQ(m_hwndMain, media.Owner());
        EXPECT_EQ(-1000, media.Volume());
        EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
        EXPECT_EQ(GRAPH_RUNNING, media.State());
        EXPECT_EQ(pszPath, "C:\\media\\" + Caption());
    }

    size_t m_nShownBefore = 0;
};

// ---- End of stream ----

enum Group { kNoGroupChosen, kOneFile, kAtFirstOfThree, kAtSecondOfThree, kAfterLastOfThree };
enum Outcome { kLoops, kAdvances, kRestartsTheGroup, kPausesAtTheEnd };

struct EndCase {
    const char* pszName;
    BOOL bLoop;
    BOOL bGroupLoop;
    Group group;
    Outcome outcome;
    const char* pszOpened;  // the file an advance or restart opens
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << c.pszName; }

class EndOfStreamTest : public GraphEventTest, public testing::WithParamInterface<EndCase> {
protected:
    void ChooseGroup(Group group)
    {
        const std::vector<std::string> three = {kFirst, kSecond, kThird};
        switch (group) {
        case kNoGroupChosen: break;
        case kOneFile: m_host.SetGroup({kFirst}); break;
        case kAtFirstOfThree: m_host.SetGroup(three, 1); break;
        case kAtSecondOfThree: m_host.SetGroup(three, 2); break;
        case kAfterLastOfThree: m_host.SetGroup(three, 3); break;
        }
    }
};

TEST_P(EndOfStreamTest, FollowsTheLoopFlagsAndTheGroup)
{
    const EndCase& c = GetParam();
    ChooseGroup(c.group);
    m_pDoc->m_bLoop = c.bLoop;
    m_pDoc->m_bGroupLoop = c.bGroupLoop;
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING));

    m_pDoc->HandleGraphEvent();

    if (c.pszOpened == nullptr) {
        // The media that ended stays, back at its start: playing on, or paused there.
        const bool bLoops = c.outcome == kLoops;
        EXPECT_TRUE(IsCurrent(m_first));
        EXPECT_EQ(bLoops ? PLAY_RUNNING : PLAY_PAUSED, m_pDoc->m_nPlayState);
        EXPECT_EQ(bLoops ? GRAPH_RUNNING : GRAPH_PAUSED, m_first.State());
        EXPECT_EQ(0.0, m_first.Position());
        EXPECT_TRUE(m_second.RenderedFile().empty());
        EXPECT_TRUE(TookWakeUp());
    } else {
        ExpectLetGo(m_first);
        // Only a group that starts over rewinds the media that ended.
        EXPECT_EQ(c.outcome == kRestartsTheGroup ? 0.0 : 3.99, m_first.Position());
        ExpectPlaying(m_second, c.pszOpened);
    }
    if (c.outcome == kRestartsTheGroup) {
        EXPECT_EQ(1, m_host.m_nNext);
    }
    EXPECT_TRUE(Messages().empty());
}

const EndCase kEndOfStream[] = {
    {"Loop", TRUE, FALSE, kNoGroupChosen, kLoops, nullptr},
    {"LoopBeforeTheNextFile", TRUE, FALSE, kAtFirstOfThree, kLoops, nullptr},
    {"BothLoopsActAsLoop", TRUE, TRUE, kAtFirstOfThree, kLoops, nullptr},
    {"GroupLoopToTheNextFile", FALSE, TRUE, kAtFirstOfThree, kAdvances, kSecond},
    {"GroupLoopOfOneFile", FALSE, TRUE, kOneFile, kLoops, nullptr},
    {"GroupLoopBeforeAnyGroup", FALSE, TRUE, kNoGroupChosen, kLoops, nullptr},
    {"GroupLoopRestartsAfterTheLast", FALSE, TRUE, kAfterLastOfThree, kRestartsTheGroup, kFirst},
    {"NextFile", FALSE, FALSE, kAtFirstOfThree, kAdvances, kSecond},
    {"ThirdFile", FALSE, FALSE, kAtSecondOfThree, kAdvances, kThird},
    {"PauseAfterTheLast", FALSE, FALSE, kAfterLastOfThree, kPausesAtTheEnd, nullptr},
    {"PauseWithoutGroup", FALSE, FALSE, kNoGroupChosen, kPausesAtTheEnd, nullptr},
    {"PauseAfterTheOnlyFile", FALSE, FALSE, kOneFile, kPausesAtTheEnd, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Cases, EndOfStreamTest, testing::ValuesIn(kEndOfStream), RowName());

// The loop plays on, and the pause at the end pauses, wherever the media ended; only a
// media closer to its end than 0.033333 s is rewound.
struct RewindCase {
    const char* pszName;
    BOOL bLoop;
    double dDuration;
    double dPosition;
    const char* pszFailing;  // a position query that fails, or null
    bool bRewinds;
};

void PrintTo(const RewindCase& c, std::ostream* os) { *os << c.pszName; }

class RewindThresholdTest : public GraphEventTest, public testing::WithParamInterface<RewindCase> {};

TEST_P(RewindThresholdTest, RewindsOnlyAtTheVeryEnd)
{
    const RewindCase& c = GetParam();
    m_pDoc->m_bLoop = c.bLoop;
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, c.dPosition));
    m_first.SetDuration(c.dDuration);
    if (c.pszFailing != nullptr)
        m_first.SetResult(c.pszFailing, E_FAIL);

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(c.bRewinds ? 0.0 : c.dPosition, m_first.Position());
    EXPECT_EQ(c.bLoop ? PLAY_RUNNING : PLAY_PAUSED, m_pDoc->m_nPlayState);
    EXPECT_EQ(c.bLoop ? GRAPH_RUNNING : GRAPH_PAUSED, m_first.State());
    EXPECT_TRUE(Messages().empty());
}

const RewindCase kRewindThresholds[] = {
    {"AtTheEnd", TRUE, 4.0, 4.0, nullptr, true},
    {"JustInside", TRUE, 4.0, 4.0 - 0.0333329, nullptr, true},
    // 0.048958 - 0.015625 is 0.033333 exactly.
    {"ExactlyAtTheThreshold", TRUE, 0.048958, 0.015625, nullptr, false},
    {"OneStepBefore", TRUE, 4.0, 4.0 - 0.0333333, nullptr, false},
    {"ASecondBefore", TRUE, 4.0, 3.0, nullptr, false},
    {"DurationUnknown", TRUE, 4.0, 4.0, "GetDuration", false},
    {"PositionUnknown", TRUE, 4.0, 4.0, "GetCurrentPosition", false},
    {"PauseFarFromTheEnd", FALSE, 4.0, 3.0, nullptr, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, RewindThresholdTest, testing::ValuesIn(kRewindThresholds), RowName());

TEST_F(GraphEventTest, AdvanceGoesOnWhenThePauseFails)
{
    m_host.SetGroup({kFirst, kSecond});
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING));
    m_first.SetResult("Pause", E_FAIL);

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(std::vector<std::string>{"Cant't Pause"}, Messages());
    ExpectLetGo(m_first);
    ExpectPlaying(m_second, kSecond);
}

// ---- Group entries that cannot be opened ----

// Each is reported once and the group goes on with the entry after it. When none is
// left, a path too long leaves the media that just ended paused and not played again;
// an unplayable file has taken its place, unstarted, so nothing plays.
struct BadEntryCase {
    const char* pszName;
    bool bLongPath;      // refused before any graph is made
    bool bFollowedByGood;
};

void PrintTo(const BadEntryCase& c, std::ostream* os) { *os << c.pszName; }

class BadEntryTest : public GraphEventTest, public testing::WithParamInterface<BadEntryCase> {};

TEST_P(BadEntryTest, IsReportedAndTheGroupGoesOn)
{
    const BadEntryCase& c = GetParam();
    const std::string longPath = "C:\\media\\" + std::string(MAX_PATH, 'x') + ".mpg";
    std::vector<std::string> group = {kFirst, c.bLongPath ? longPath : std::string(kSecond)};
    if (c.bFollowedByGood)
        group.push_back(kThird);
    m_host.SetGroup(group);
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING));
    // An unplayable entry takes the second graph and the good one after it a third; a
    // path too long takes none, and the good one gets the second.
    CFakeGraph third;
    CFakeGraph* pGood = c.bLongPath ? &m_second : &third;
    if (!c.bLongPath) {
        m_second.SetResult("RenderFile", E_FAIL);
        m_factory.Queue(&third);
    }

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(std::vector<std::string>{kCantPlayFile}, Messages());
    if (c.bFollowedByGood) {
        ExpectPlaying(*pGood, kThird);
    } else if (c.bLongPath) {
        EXPECT_TRUE(IsCurrent(m_first));
        EXPECT_EQ(GRAPH_PAUSED, m_first.State());
        EXPECT_EQ(PLAY_PAUSED, m_pDoc->m_nPlayState);
    } else {
        ExpectLetGo(m_first);
        EXPECT_TRUE(IsCurrent(m_second));
        EXPECT_EQ(GRAPH_STOPPED, m_second.State());
        EXPECT_EQ(nullptr, m_second.Owner()) << "an unplayable file was fitted";
        EXPECT_EQ(PLAY_NONE, m_pDoc->m_nPlayState);
    }
    m_pDoc.reset();  // before the third graph goes
    EXPECT_EQ(0, third.Holders());
}

INSTANTIATE_TEST_SUITE_P(Entries, BadEntryTest,
                         testing::Values(BadEntryCase{"UnplayableThenGood", false, true},
                                         BadEntryCase{"TooLongThenGood", true, true},
                                         BadEntryCase{"UnplayableLast", false, false},
                                         BadEntryCase{"TooLongLast", true, false}),
                         RowName());

// ---- The play-out of the end's sound ----

// The end of a media whose sound is still heard waits for it: the media plays on where it
// ended until the play-out handle is signalled and the run loop calls EndPlayOut. Stop, an
// abort and another media drop the pending end; a command sees the end's rules done first.
enum PlayOutAction { kWaitForTheSound, kStopCommand, kPlayCommand, kAbortEvent, kOpenAnother };

struct PlayOutCase {
    const char* pszName;
    PlayOutAction action;
    int nStateAfter;
    GraphState graphAfter;  // of the current media
    double dPositionAfter;
};

void PrintTo(const PlayOutCase& c, std::ostream* os) { *os << c.pszName; }

class PlayOutTest : public GraphEventTest, public testing::WithParamInterface<PlayOutCase> {};

TEST_P(PlayOutTest, TheEndsRulesWaitForTheSound)
{
    const PlayOutCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING));
    m_first.SetPlayOut(20);

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_EQ(GRAPH_RUNNING, m_first.State());
    EXPECT_EQ(3.99, m_first.Position());
    EXPECT_TRUE(TookWakeUp());
    ASSERT_NE(nullptr, m_pDoc->PlayOutHandle());

    switch (c.action) {
    case kWaitForTheSound: break;
    case kStopCommand: m_pDoc->OnCmdMsg(ID_STOP, CN_COMMAND, nullptr); break;
    case kPlayCommand: m_pDoc->OnCmdMsg(ID_PLAY, CN_COMMAND, nullptr); break;
    case kAbortEvent:
        m_first.QueueEvent(kGraphEventUserAbort);
        m_pDoc->HandleGraphEvent();
        break;
    case kOpenAnother: m_pDoc->OnOpenDocument(kSecond); break;
    }
    // The run loop's turn; a timer that fires late must find nothing left to do.
    if (HANDLE hPlayOut = m_pDoc->PlayOutHandle()) {
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hPlayOut, 5000));
    }
    m_pDoc->EndPlayOut();

    const CFakeGraph& current = c.action == kOpenAnother ? m_second : m_first;
    EXPECT_TRUE(IsCurrent(current));
    EXPECT_EQ(c.nStateAfter, m_pDoc->m_nPlayState);
    EXPECT_EQ(c.graphAfter, current.State());
    EXPECT_EQ(c.dPositionAfter, current.Position());
    EXPECT_EQ(nullptr, m_pDoc->PlayOutHandle());
    EXPECT_TRUE(Messages().empty());
}

const PlayOutCase kPlayOuts[] = {
    {"PausesAtTheEndOnceHeard", kWaitForTheSound, PLAY_PAUSED, GRAPH_PAUSED, 0.0},
    {"StopDropsTheEnd", kStopCommand, PLAY_STOPPED, GRAPH_STOPPED, 0.0},
    {"PlayAfterTheEndPlaysFromTheStart", kPlayCommand, PLAY_RUNNING, GRAPH_RUNNING, 0.0},
    {"AbortDropsTheEnd", kAbortEvent, PLAY_STOPPED, GRAPH_STOPPED, 0.0},
    {"AnotherMediaDropsTheEnd", kOpenAnother, PLAY_STOPPED, GRAPH_STOPPED, 0.0},
};

INSTANTIATE_TEST_SUITE_P(Cases, PlayOutTest, testing::ValuesIn(kPlayOuts), RowName());

// ---- Abort events ----

const int kLacksNothing = -1;

struct AbortCase {
    const char* pszName;
    long lCode;
    int nState;
    int nStateAfter;
    int nLacking;  // a CFakeGraph::Part taken away before the event, or kLacksNothing
};

void PrintTo(const AbortCase& c, std::ostream* os) { *os << c.pszName; }

class AbortTest : public GraphEventTest, public testing::WithParamInterface<AbortCase> {};

TEST_P(AbortTest, StopsOnlyAMovingMedia)
{
    const AbortCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(c.nState, 2.0, c.lCode));
    const GraphState graphBefore = m_first.State();
    if (c.nLacking != kLacksNothing)
        m_first.Lack(static_cast<CFakeGraph::Part>(c.nLacking));

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(c.nStateAfter, m_pDoc->m_nPlayState);
    if (c.nLacking != kLacksNothing) {
        EXPECT_EQ(std::vector<std::string>{"Can't Stop"}, Messages());
    } else {
        const bool bStops = c.nState != c.nStateAfter;
        EXPECT_EQ(bStops ? GRAPH_STOPPED : graphBefore, m_first.State());
        EXPECT_EQ(bStops ? 0.0 : 2.0, m_first.Position());
        EXPECT_TRUE(Messages().empty());
    }
    EXPECT_TRUE(TookWakeUp());
}

const AbortCase kAborts[] = {
    {"UserAbortRunning", kGraphEventUserAbort, PLAY_RUNNING, PLAY_STOPPED, kLacksNothing},
    {"UserAbortPaused", kGraphEventUserAbort, PLAY_PAUSED, PLAY_STOPPED, kLacksNothing},
    {"ErrorAbortRunning", kGraphEventErrorAbort, PLAY_RUNNING, PLAY_STOPPED, kLacksNothing},
    {"ErrorAbortPaused", kGraphEventErrorAbort, PLAY_PAUSED, PLAY_STOPPED, kLacksNothing},
    {"UserAbortStopped", kGraphEventUserAbort, PLAY_STOPPED, PLAY_STOPPED, kLacksNothing},
    {"ErrorAbortStopped", kGraphEventErrorAbort, PLAY_STOPPED, PLAY_STOPPED, kLacksNothing},
    {"UserAbortUnrendered", kGraphEventUserAbort, PLAY_NONE, PLAY_NONE, kLacksNothing},
    {"ErrorAbortUnrendered", kGraphEventErrorAbort, PLAY_NONE, PLAY_NONE, kLacksNothing},
    {"WithoutControl", kGraphEventUserAbort, PLAY_RUNNING, PLAY_RUNNING, CFakeGraph::kControl},
    {"WithoutPositions", kGraphEventUserAbort, PLAY_RUNNING, PLAY_RUNNING, CFakeGraph::kPosition},
};

INSTANTIATE_TEST_SUITE_P(Cases, AbortTest, testing::ValuesIn(kAborts), RowName());

// ---- Other events, and no event to take ----

class OtherEventTest : public GraphEventTest, public testing::WithParamInterface<long> {};

TEST_P(OtherEventTest, IsTakenAndIgnored)
{
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 2.0, GetParam()));
    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_EQ(GRAPH_RUNNING, m_first.State());
    EXPECT_EQ(2.0, m_first.Position());
    EXPECT_EQ(0u, m_first.PendingEvents());
    EXPECT_TRUE(TookWakeUp());
}

// No code, a time, a repaint, a stream error the media plays on after, a pause done, and a
// code of a filter's own.
INSTANTIATE_TEST_SUITE_P(Codes, OtherEventTest, testing::Values(0L, 4L, 5L, 7L, 0x0EL, 0x1000L));

TEST_F(GraphEventTest, TakesOneEventPerCall)
{
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 2.0, 5L));
    m_first.QueueEvent(kGraphEventUserAbort);

    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_EQ(1u, m_first.PendingEvents());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_pDoc->m_hGraphEvent, 0));

    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(PLAY_STOPPED, m_pDoc->m_nPlayState);
    EXPECT_EQ(0u, m_first.PendingEvents());
}

// An end queued but not taken leaves the media running where it is.
struct QuietCase {
    const char* pszName;
    bool bMedia;
    const char* pszFailing;  // a call that fails, or null
    bool bLackEvents;
    bool bEventQueued;
};

void PrintTo(const QuietCase& c, std::ostream* os) { *os << c.pszName; }

class NoEventTest : public GraphEventTest, public testing::WithParamInterface<QuietCase> {};

TEST_P(NoEventTest, ChangesNothingButStillWakesTheWindow)
{
    const QuietCase& c = GetParam();
    if (c.bMedia) {
        ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 3.99, c.bEventQueued ? kGraphEventComplete : kNoEvent));
        if (c.pszFailing != nullptr)
            m_first.SetResult(c.pszFailing, E_FAIL);
        if (c.bLackEvents)
            m_first.Lack(CFakeGraph::kEvents);
    }

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(c.bMedia ? PLAY_RUNNING : PLAY_NONE, m_pDoc->m_nPlayState);
    EXPECT_EQ(c.bMedia ? GRAPH_RUNNING : GRAPH_STOPPED, m_first.State());
    EXPECT_EQ(c.bMedia ? 3.99 : 0.0, m_first.Position());
    EXPECT_EQ(c.bEventQueued ? 1u : 0u, m_first.PendingEvents());
    EXPECT_TRUE(TookWakeUp());
    EXPECT_TRUE(Messages().empty());
}

const QuietCase kNoEvents[] = {
    {"NoMedia", false, nullptr, false, false},
    {"WithoutEvents", true, nullptr, true, true},
    {"TakeEventFails", true, "TakeEvent", false, true},
    {"NothingQueued", true, nullptr, false, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, NoEventTest, testing::ValuesIn(kNoEvents), RowName());

TEST_F(GraphEventTest, WithoutAMainWindowNothingIsPosted)
{
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 2.0, 5L));
    m_host.m_hwndMain = nullptr;
    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(0u, m_first.PendingEvents());
    EXPECT_FALSE(TookWakeUp());
}

}  // namespace