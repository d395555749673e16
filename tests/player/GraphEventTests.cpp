// The document's handling of graph events on a scripted graph: what the end of a stream
// leads to (loop, group loop, the next file of the group, a pause at the end), how close to
// the end a media must be to rewind, abort events, and the wake-up message to the window.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "DocumentFixture.h"

namespace {

const char kFirst[] = "C:\\media\\first.mpg";
const char kSecond[] = "C:\\media\\second.mpg";
const char kThird[] = "C:\\media\\third.mpg";

std::string Calls(std::initializer_list<std::string> calls)
{
    std::string str;
    for (const std::string& call : calls) {
        if (!str.empty())
            str += ", ";
        str += call;
    }
    return str;
}

const std::string kEventTaken = "QueryInterface(IMediaEvent), GetEvent, FreeEventParams";
// At the end the graph is first asked whether one of its filters renders sound, which
// would still be playing (the scripted graph has none).
const std::string kEndTaken = kEventTaken + ", EnumFilters";
const std::string kPause = "QueryInterface(IMediaControl), Pause";
const std::string kLookAtTheEnd = "QueryInterface(IMediaPosition), get_Duration, get_CurrentPosition";
// A rewind moves the stopped graph and restores the state it had.
const std::string kRewindRunning =
    Calls({kLookAtTheEnd, "QueryInterface(IMediaPosition), QueryInterface(IMediaControl), GetState(0)",
           "Stop, put_CurrentPosition(0), Run"});
const std::string kRewindPaused =
    Calls({kLookAtTheEnd, "QueryInterface(IMediaPosition), QueryInterface(IMediaControl), GetState(0)",
           "Stop, put_CurrentPosition(0), Pause"});
// Letting go of a graph that is not stopped: stop it, wait, hide and detach the video.
const std::string kLetGoMoving =
    "QueryInterface(IVideoWindow), QueryInterface(IMediaControl), QueryInterface(IMediaControl), "
    "GetState(0), Stop, QueryInterface(IMediaEvent), WaitForCompletion(0), put_Visible(0), "
    "put_Owner(0)";
const std::string kStopOnAbort =
    "QueryInterface(IMediaControl), Stop, QueryInterface(IMediaPosition), "
    "QueryInterface(IMediaPosition), QueryInterface(IMediaControl), GetState(0), "
    "put_CurrentPosition(0)";

// Fitting the borderless test window to the 352x240 video attaches the video window to it.
const std::string kFitted =
    "QueryInterface(IBasicVideo), get_VideoWidth, get_VideoHeight, QueryInterface(IVideoWindow), "
    "put_Owner(hwnd), put_MessageDrain(hwnd), put_WindowStyle(0x46000000), SetWindowPosition(0,0,352,240)";

// A new graph for pszPath, rendered, fitted, given the default settings and then started.
std::string OpenedAndRunning(const char* pszPath)
{
    return Calls({"QueryInterface(IMediaEvent), GetEventHandle", std::string("RenderFile(") + pszPath + ")",
                  kFitted, "QueryInterface(IBasicAudio), put_Balance(0), put_Volume(-1000)",
                  "QueryInterface(IMediaPosition), put_Rate(1)", "QueryInterface(IMediaControl), Run"});
}

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
    // one event queued; afterwards the log is empty and no message counts as shown.
    void Reach(int nState, double dPosition = 3.99, long lEvent = EC_COMPLETE)
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
        m_first.ClearCalls();
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

    switch (c.outcome) {
    case kLoops:
        EXPECT_EQ(Calls({kEndTaken, kRewindRunning}), m_first.CallString());
        EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
        EXPECT_TRUE(IsCurrent(m_first));
        EXPECT_EQ(State_Running, m_first.State());
        EXPECT_EQ(0.0, m_first.Position());
        EXPECT_EQ(1, m_factory.Created());
        EXPECT_TRUE(TookWakeUp());
        break;
    case kPausesAtTheEnd:
        EXPECT_EQ(Calls({kEndTaken, kPause, kRewindPaused}), m_first.CallString());
        EXPECT_EQ(PLAY_PAUSED, m_pDoc->m_nPlayState);
        EXPECT_EQ(State_Paused, m_first.State());
        EXPECT_EQ(0.0, m_first.Position());
        EXPECT_EQ(1, m_factory.Created());
        EXPECT_TRUE(TookWakeUp());
        break;
    case kAdvances:
    case kRestartsTheGroup:
        EXPECT_EQ(c.outcome == kAdvances ? Calls({kEndTaken, kPause, kLetGoMoving})
                                         : Calls({kEndTaken, kPause, kRewindPaused, kLetGoMoving}),
                  m_first.CallString());
        EXPECT_EQ(0, m_first.RefCount());
        EXPECT_EQ(OpenedAndRunning(c.pszOpened), m_second.CallString());
        EXPECT_TRUE(IsCurrent(m_second));
        EXPECT_EQ(m_second.EventHandle(), m_pDoc->m_hGraphEvent);
        EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
        EXPECT_EQ(State_Running, m_second.State());
        EXPECT_EQ(c.pszOpened, "C:\\media\\" + Caption());
        break;
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

INSTANTIATE_TEST_SUITE_P(Cases, EndOfStreamTest, testing::ValuesIn(kEndOfStream),
                         [](const testing::TestParamInfo<EndCase>& info) {
                             return std::string(info.param.pszName);
                         });

struct RewindCase {
    const char* pszName;
    double dDuration;
    double dPosition;
    const char* pszFailing;  // a position query that fails, or null
    bool bRewinds;
    std::string log;         // after the event is taken
};

void PrintTo(const RewindCase& c, std::ostream* os) { *os << c.pszName; }

class RewindThresholdTest : public GraphEventTest, public testing::WithParamInterface<RewindCase> {};

TEST_P(RewindThresholdTest, LoopRewindsOnlyAtTheVeryEnd)
{
    const RewindCase& c = GetParam();
    m_pDoc->m_bLoop = TRUE;
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, c.dPosition));
    m_first.SetDuration(c.dDuration);
    if (c.pszFailing != nullptr)
        m_first.SetResult(c.pszFailing, E_FAIL);

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(Calls({kEndTaken, c.log}), m_first.CallString());
    EXPECT_EQ(c.bRewinds ? 0.0 : c.dPosition, m_first.Position());
    EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_TRUE(Messages().empty());
}

const RewindCase kRewindThresholds[] = {
    {"AtTheEnd", 4.0, 4.0, nullptr, true, kRewindRunning},
    {"JustInside", 4.0, 4.0 - 0.0333329, nullptr, true, kRewindRunning},
    {"ExactlyAtTheThreshold", 0.033333, 0.0, nullptr, false, kLookAtTheEnd},
    {"OneStepBefore", 4.0, 4.0 - 0.0333333, nullptr, false, kLookAtTheEnd},
    {"ASecondBefore", 4.0, 3.0, nullptr, false, kLookAtTheEnd},
    {"DurationUnknown", 4.0, 4.0, "get_Duration", false, "QueryInterface(IMediaPosition), get_Duration"},
    {"PositionUnknown", 4.0, 4.0, "get_CurrentPosition", false, kLookAtTheEnd},
};

INSTANTIATE_TEST_SUITE_P(Cases, RewindThresholdTest, testing::ValuesIn(kRewindThresholds),
                         [](const testing::TestParamInfo<RewindCase>& info) {
                             return std::string(info.param.pszName);
                         });

TEST_F(GraphEventTest, PauseAtTheEndKeepsAPositionFarFromTheEnd)
{
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 3.0));
    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(Calls({kEndTaken, kPause, kLookAtTheEnd}), m_first.CallString());
    EXPECT_EQ(PLAY_PAUSED, m_pDoc->m_nPlayState);
    EXPECT_EQ(3.0, m_first.Position());
}

TEST_F(GraphEventTest, AdvanceGoesOnWhenThePauseFails)
{
    m_host.SetGroup({kFirst, kSecond});
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING));
    m_first.SetResult("Pause", E_FAIL);

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(std::vector<std::string>{"Cant't Pause"}, Messages());
    EXPECT_EQ(Calls({kEndTaken, kPause, kLetGoMoving}), m_first.CallString());
    EXPECT_EQ(OpenedAndRunning(kSecond), m_second.CallString());
    EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
}

TEST_F(GraphEventTest, AdvanceToAnUnplayableFileLeavesItUnstarted)
{
    m_host.SetGroup({kFirst, kSecond});
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING));
    m_second.SetResult("RenderFile", E_FAIL);

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(std::vector<std::string>{kCantPlayFile}, Messages());
    EXPECT_EQ(Calls({"QueryInterface(IMediaEvent), GetEventHandle", std::string("RenderFile(") + kSecond + ")"}),
              m_second.CallString());
    EXPECT_TRUE(IsCurrent(m_second));
    EXPECT_EQ(PLAY_NONE, m_pDoc->m_nPlayState);
}

// ---- Group entries that cannot be opened ----

// Each is reported once and the group goes on with the entry after it. When none is
// left, a path too long leaves the media that just ended paused and not played again;
// an unplayable file has taken its place, so nothing stays open.
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
        EXPECT_TRUE(IsCurrent(*pGood));
        EXPECT_NE(std::string::npos, pGood->CallString().find(std::string("RenderFile(") + kThird + ")"));
        EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
    } else if (c.bLongPath) {
        // The ended media is still the current one, paused where it ended.
        EXPECT_TRUE(IsCurrent(m_first));
        EXPECT_EQ(std::string::npos, m_first.CallString().find("Run"));
        EXPECT_EQ(PLAY_PAUSED, m_pDoc->m_nPlayState);
    } else {
        EXPECT_EQ(0, m_first.RefCount()) << "the ended media was not let go of";
        EXPECT_EQ(std::string::npos, m_first.CallString().find("Run"));
        EXPECT_EQ(PLAY_NONE, m_pDoc->m_nPlayState);
    }
    m_pDoc.reset();  // before the third graph goes
    EXPECT_EQ(0, third.RefCount());
}

INSTANTIATE_TEST_SUITE_P(Entries, BadEntryTest,
                         testing::Values(BadEntryCase{"UnplayableThenGood", false, true},
                                         BadEntryCase{"TooLongThenGood", true, true},
                                         BadEntryCase{"UnplayableLast", false, false},
                                         BadEntryCase{"TooLongLast", true, false}),
                         [](const testing::TestParamInfo<BadEntryCase>& info) {
                             return std::string(info.param.pszName);
                         });

// ---- Abort events ----

struct AbortCase {
    const char* pszName;
    long lCode;
    int nState;
    int nStateAfter;
    std::string log;
};

void PrintTo(const AbortCase& c, std::ostream* os) { *os << c.pszName; }

class AbortTest : public GraphEventTest, public testing::WithParamInterface<AbortCase> {};

TEST_P(AbortTest, StopsOnlyAMovingMedia)
{
    const AbortCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(c.nState, 2.0, c.lCode));

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(c.log, m_first.CallString());
    EXPECT_EQ(c.nStateAfter, m_pDoc->m_nPlayState);
    if (c.nState != c.nStateAfter) {
        EXPECT_EQ(State_Stopped, m_first.State());
        EXPECT_EQ(0.0, m_first.Position());
    }
    EXPECT_TRUE(TookWakeUp());
    EXPECT_TRUE(Messages().empty());
}

const AbortCase kAborts[] = {
    {"UserAbortRunning", EC_USERABORT, PLAY_RUNNING, PLAY_STOPPED, Calls({kEventTaken, kStopOnAbort})},
    {"UserAbortPaused", EC_USERABORT, PLAY_PAUSED, PLAY_STOPPED, Calls({kEventTaken, kStopOnAbort})},
    {"ErrorAbortRunning", EC_ERRORABORT, PLAY_RUNNING, PLAY_STOPPED, Calls({kEventTaken, kStopOnAbort})},
    {"ErrorAbortPaused", EC_ERRORABORT, PLAY_PAUSED, PLAY_STOPPED, Calls({kEventTaken, kStopOnAbort})},
    {"UserAbortStopped", EC_USERABORT, PLAY_STOPPED, PLAY_STOPPED, kEventTaken},
    {"ErrorAbortStopped", EC_ERRORABORT, PLAY_STOPPED, PLAY_STOPPED, kEventTaken},
    {"UserAbortUnrendered", EC_USERABORT, PLAY_NONE, PLAY_NONE, kEventTaken},
    {"ErrorAbortUnrendered", EC_ERRORABORT, PLAY_NONE, PLAY_NONE, kEventTaken},
};

INSTANTIATE_TEST_SUITE_P(Cases, AbortTest, testing::ValuesIn(kAborts),
                         [](const testing::TestParamInfo<AbortCase>& info) {
                             return std::string(info.param.pszName);
                         });

struct AbortFailureCase {
    const char* pszName;
    const IID* piidRefused;
    std::string log;
};

void PrintTo(const AbortFailureCase& c, std::ostream* os) { *os << c.pszName; }

class AbortFailureTest : public GraphEventTest, public testing::WithParamInterface<AbortFailureCase> {};

TEST_P(AbortFailureTest, TellsTheUserAndKeepsTheState)
{
    const AbortFailureCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 2.0, EC_USERABORT));
    m_first.RefuseInterface(*c.piidRefused);

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(c.log, m_first.CallString());
    EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_EQ(std::vector<std::string>{"Can't Stop"}, Messages());
}

const AbortFailureCase kAbortFailures[] = {
    {"ControlRefused", &IID_IMediaControl, Calls({kEventTaken, "QueryInterface(IMediaControl)"})},
    {"PositionRefused", &IID_IMediaPosition,
     Calls({kEventTaken, "QueryInterface(IMediaControl), Stop, QueryInterface(IMediaPosition)"})},
};

INSTANTIATE_TEST_SUITE_P(Cases, AbortFailureTest, testing::ValuesIn(kAbortFailures),
                         [](const testing::TestParamInfo<AbortFailureCase>& info) {
                             return std::string(info.param.pszName);
                         });

// ---- Other events, and no event to take ----

class OtherEventTest : public GraphEventTest, public testing::WithParamInterface<long> {};

TEST_P(OtherEventTest, IsTakenAndIgnored)
{
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 2.0, GetParam()));
    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(kEventTaken, m_first.CallString());
    EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_EQ(0u, m_first.PendingEvents());
    EXPECT_TRUE(TookWakeUp());
}

INSTANTIATE_TEST_SUITE_P(Codes, OtherEventTest,
                         testing::Values(0L, long{EC_TIME}, long{EC_REPAINT},
                                         long{EC_STREAM_ERROR_STILLPLAYING}, long{EC_PAUSED},
                                         0x1000L));

TEST_F(GraphEventTest, TakesOneEventPerCall)
{
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 2.0, EC_REPAINT));
    m_first.QueueEvent(EC_USERABORT);

    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_EQ(1u, m_first.PendingEvents());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_pDoc->m_hGraphEvent, 0));

    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(PLAY_STOPPED, m_pDoc->m_nPlayState);
    EXPECT_EQ(0u, m_first.PendingEvents());
}

struct QuietCase {
    const char* pszName;
    bool bMedia;
    const char* pszFailing;  // a method that fails, or null
    bool bRefuseEvents;
    bool bEventQueued;
    std::string log;
};

void PrintTo(const QuietCase& c, std::ostream* os) { *os << c.pszName; }

class NoEventTest : public GraphEventTest, public testing::WithParamInterface<QuietCase> {};

TEST_P(NoEventTest, ChangesNothingButStillWakesTheWindow)
{
    const QuietCase& c = GetParam();
    if (c.bMedia) {
        ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 3.99, c.bEventQueued ? EC_COMPLETE : kNoEvent));
        if (c.pszFailing != nullptr)
            m_first.SetResult(c.pszFailing, E_FAIL);
        if (c.bRefuseEvents)
            m_first.RefuseInterface(IID_IMediaEvent);
    }
    const int nState = m_pDoc->m_nPlayState;

    m_pDoc->HandleGraphEvent();

    EXPECT_EQ(c.log, m_first.CallString());
    EXPECT_EQ(nState, m_pDoc->m_nPlayState);
    EXPECT_EQ(c.bEventQueued ? 1u : 0u, m_first.PendingEvents());
    EXPECT_TRUE(TookWakeUp());
    EXPECT_TRUE(Messages().empty());
}

const QuietCase kNoEvents[] = {
    {"NoMedia", false, nullptr, false, false, ""},
    {"EventInterfaceRefused", true, nullptr, true, true, "QueryInterface(IMediaEvent)"},
    {"GetEventFails", true, "GetEvent", false, true, "QueryInterface(IMediaEvent), GetEvent"},
    {"NothingQueued", true, nullptr, false, false, "QueryInterface(IMediaEvent), GetEvent"},
};

INSTANTIATE_TEST_SUITE_P(Cases, NoEventTest, testing::ValuesIn(kNoEvents),
                         [](const testing::TestParamInfo<QuietCase>& info) {
                             return std::string(info.param.pszName);
                         });

TEST_F(GraphEventTest, WithoutAMainWindowNothingIsPosted)
{
    ASSERT_NO_FATAL_FAILURE(Reach(PLAY_RUNNING, 2.0, EC_REPAINT));
    m_host.m_hwndMain = nullptr;
    m_pDoc->HandleGraphEvent();
    EXPECT_EQ(kEventTaken, m_first.CallString());
    EXPECT_FALSE(TookWakeUp());
}

}  // namespace
