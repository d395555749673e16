// The play-state machine of the playback document on a scripted graph: the transport
// commands and where they do nothing, their enable rules, their failure messages, the
// step, and the volume and rate commands.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "CmdUI.h"
#include "FakeGraph.h"
#include "MessageBoxWatcher.h"
#include "NTandrelDoc.h"
#include "TestEnv.h"
#include "TestHost.h"
#include "resource.h"

namespace {

const char kMedia[] = "C:\\media\\clip.mpg";

std::string Calls(std::initializer_list<const char*> calls)
{
    std::string str;
    for (const char* psz : calls) {
        if (!str.empty())
            str += ", ";
        str += psz;
    }
    return str;
}

// The Stop command on a running or paused graph: pause, rewind on the stopped graph and
// put it back to paused, wait for the pause, stop.
const std::string kStopLog =
    Calls({"QueryInterface(IMediaControl)", "Pause", "QueryInterface(IMediaPosition)",
           "QueryInterface(IMediaPosition)", "QueryInterface(IMediaControl)", "GetState(0)", "Stop",
           "put_CurrentPosition(0)", "Pause", "GetState(5000)", "Stop"});

// A step from position 1.0: the frame one step on is shown on the stopped graph, then paused.
const std::string kStepLog =
    Calls({"QueryInterface(IMediaPosition)", "get_Duration", "get_CurrentPosition",
           "QueryInterface(IMediaControl)", "QueryInterface(IMediaPosition)",
           "QueryInterface(IMediaControl)", "Stop", "put_CurrentPosition(1.0333333333333)", "Pause"});

const std::string kStepLooksOnly =
    Calls({"QueryInterface(IMediaPosition)", "get_Duration", "get_CurrentPosition"});

// Where a test starts from, before the command under test.
enum Start { kNoGraph, kUnrendered, kStopped, kPaused, kRunning };

// Records what an update handler decided.
class CRecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        ++m_nEnableCalls;
        m_bEnabled = bOn;
        CCmdUI::Enable(bOn);
    }
    int m_nEnableCalls = 0;
    BOOL m_bEnabled = FALSE;
};

class PlayStateTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        m_pDoc.reset(new CNTandrelDoc);
    }

    void TearDown() override
    {
        m_pDoc.reset();
        EXPECT_EQ(0, m_graph.RefCount());
        EXPECT_FALSE(m_graph.OverReleased());
    }

    // Brings the document into the state of start through its own operations; afterwards
    // the graph's log is empty and no message counts as shown.
    void Reach(Start start)
    {
        m_graph.SetDuration(4.0);
        m_graph.SetPosition(1.0);
        if (start != kNoGraph) {
            m_factory.Queue(&m_graph);
            if (start == kUnrendered)
                m_graph.SetResult("RenderFile", E_FAIL);
            m_pDoc->OnOpenDocument(kMedia);
            m_graph.SetResult("RenderFile", S_OK);
        }
        if (start == kPaused)
            m_pDoc->Pause();
        if (start == kRunning)
            m_pDoc->Play();
        static const int s_states[] = {PLAY_NONE, PLAY_NONE, PLAY_STOPPED, PLAY_PAUSED, PLAY_RUNNING};
        ASSERT_EQ(s_states[start], m_pDoc->m_nPlayState);
        m_graph.ClearCalls();
        m_nShownBefore = m_boxes.Shown().size();
    }

    // The message boxes shown since Reach.
    std::vector<ShownMessage> Shown() const
    {
        std::vector<ShownMessage> shown = m_boxes.Shown();
        return std::vector<ShownMessage>(shown.begin() + static_cast<long>(m_nShownBefore), shown.end());
    }

    BOOL Command(UINT nID) { return m_pDoc->OnCmdMsg(nID, CN_COMMAND, nullptr); }

    CTestHost m_host;
    CFakeGraphFactory m_factory;
    CFakeGraph m_graph;
    CMessageBoxWatcher m_boxes;
    std::unique_ptr<CNTandrelDoc> m_pDoc;
    size_t m_nShownBefore = 0;
};

// ---- Transitions, and the commands that do nothing in a state ----

struct TransitionCase {
    const char* pszName;
    Start from;
    UINT nCommand;
    int nStateAfter;
    OAFilterState graphAfter;
    std::string log;  // empty: the command must not reach the graph
};

void PrintTo(const TransitionCase& c, std::ostream* os) { *os << c.pszName; }

class TransitionTest : public PlayStateTest, public testing::WithParamInterface<TransitionCase> {};

TEST_P(TransitionTest, MovesTheStateWithExactlyTheseCalls)
{
    const TransitionCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(c.from));
    const OAFilterState graphBefore = m_graph.State();

    EXPECT_TRUE(Command(c.nCommand));

    EXPECT_EQ(c.nStateAfter, m_pDoc->m_nPlayState);
    EXPECT_EQ(c.log, m_graph.CallString());
    EXPECT_EQ(c.log.empty() ? graphBefore : c.graphAfter, m_graph.State());
    EXPECT_TRUE(Shown().empty());
}

const TransitionCase kTransitions[] = {
    {"PlayFromStopped", kStopped, ID_PLAY, PLAY_RUNNING, State_Running, "QueryInterface(IMediaControl), Run"},
    {"PlayFromPaused", kPaused, ID_PLAY, PLAY_RUNNING, State_Running, "QueryInterface(IMediaControl), Run"},
    {"PauseFromRunning", kRunning, ID_PAUSE, PLAY_PAUSED, State_Paused, "QueryInterface(IMediaControl), Pause"},
    {"PauseFromStopped", kStopped, ID_PAUSE, PLAY_PAUSED, State_Paused, "QueryInterface(IMediaControl), Pause"},
    {"StopFromRunning", kRunning, ID_STOP, PLAY_STOPPED, State_Stopped, kStopLog},
    {"StopFromPaused", kPaused, ID_STOP, PLAY_STOPPED, State_Stopped, kStopLog},
    {"StepFromStopped", kStopped, ID_STEP, PLAY_PAUSED, State_Paused, kStepLog},
    {"StepFromPaused", kPaused, ID_STEP, PLAY_PAUSED, State_Paused, kStepLog},
    {"StepFromRunning", kRunning, ID_STEP, PLAY_PAUSED, State_Paused, kStepLog},
    {"PlayWhileRunning", kRunning, ID_PLAY, PLAY_RUNNING, State_Running, ""},
    {"PlayWithoutMedia", kNoGraph, ID_PLAY, PLAY_NONE, State_Stopped, ""},
    {"PlayUnrendered", kUnrendered, ID_PLAY, PLAY_NONE, State_Stopped, ""},
    {"PauseWhilePaused", kPaused, ID_PAUSE, PLAY_PAUSED, State_Paused, ""},
    {"PauseWithoutMedia", kNoGraph, ID_PAUSE, PLAY_NONE, State_Stopped, ""},
    {"PauseUnrendered", kUnrendered, ID_PAUSE, PLAY_NONE, State_Stopped, ""},
    {"StopWhileStopped", kStopped, ID_STOP, PLAY_STOPPED, State_Stopped, ""},
    {"StopWithoutMedia", kNoGraph, ID_STOP, PLAY_NONE, State_Stopped, ""},
    {"StopUnrendered", kUnrendered, ID_STOP, PLAY_NONE, State_Stopped, ""},
};

INSTANTIATE_TEST_SUITE_P(Commands, TransitionTest, testing::ValuesIn(kTransitions),
                         [](const testing::TestParamInfo<TransitionCase>& info) {
                             return std::string(info.param.pszName);
                         });

// ---- Enable rules, through the message map ----

struct EnableCase {
    const char* pszName;
    int nState;
    BOOL bPlay, bPause, bStop, bNeedsMedia;
};

void PrintTo(const EnableCase& c, std::ostream* os) { *os << c.pszName; }

class EnableTest : public PlayStateTest, public testing::WithParamInterface<EnableCase> {
protected:
    // Runs the update pass for nID; returns the recorder, or fails when nothing handled it.
    CRecordingCmdUI Update(UINT nID)
    {
        CRecordingCmdUI cmdUI;
        cmdUI.m_nID = nID;
        EXPECT_TRUE(m_pDoc->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &cmdUI)) << "command " << nID;
        return cmdUI;
    }
    void ExpectEnabled(UINT nID, BOOL bEnabled)
    {
        CRecordingCmdUI cmdUI = Update(nID);
        EXPECT_EQ(1, cmdUI.m_nEnableCalls) << "command " << nID;
        EXPECT_EQ(bEnabled, cmdUI.m_bEnabled) << "command " << nID;
    }
};

TEST_P(EnableTest, FollowsThePlayState)
{
    const EnableCase& c = GetParam();
    m_pDoc->m_nPlayState = c.nState;
    ExpectEnabled(ID_PLAY, c.bPlay);
    ExpectEnabled(ID_PAUSE, c.bPause);
    ExpectEnabled(ID_STOP, c.bStop);
    ExpectEnabled(ID_STEP, c.bNeedsMedia);
    ExpectEnabled(ID_CONTROL_OPTIONS, c.bNeedsMedia);
    // Handled, but left at the framework's default (enabled).
    EXPECT_EQ(0, Update(ID_FULL_SCREEN).m_nEnableCalls);
    EXPECT_EQ(0, Update(ID_FILE_PRINT_SETUP).m_nEnableCalls);
}

const EnableCase kEnableRules[] = {
    {"None", PLAY_NONE, FALSE, FALSE, FALSE, FALSE},
    {"Stopped", PLAY_STOPPED, TRUE, TRUE, FALSE, TRUE},
    {"Paused", PLAY_PAUSED, TRUE, FALSE, TRUE, TRUE},
    {"Running", PLAY_RUNNING, FALSE, TRUE, TRUE, TRUE},
};

INSTANTIATE_TEST_SUITE_P(States, EnableTest, testing::ValuesIn(kEnableRules),
                         [](const testing::TestParamInfo<EnableCase>& info) {
                             return std::string(info.param.pszName);
                         });

// ---- Failure messages ----

struct FailureCase {
    const char* pszName;
    Start from;
    UINT nCommand;
    const char* pszFailing;  // the method that fails; null: IMediaControl is refused
    const char* pszText;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.pszName; }

class FailureTest : public PlayStateTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, TellsTheUserAndKeepsTheState)
{
    const FailureCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(c.from));
    const int nStateBefore = m_pDoc->m_nPlayState;
    const OAFilterState graphBefore = m_graph.State();
    if (c.pszFailing != nullptr)
        m_graph.SetResult(c.pszFailing, E_FAIL);
    else
        m_graph.RefuseInterface(IID_IMediaControl);

    EXPECT_TRUE(Command(c.nCommand));

    std::vector<ShownMessage> shown = Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Tandrel98", shown[0].caption);
    EXPECT_EQ(c.pszText, shown[0].text);
    EXPECT_EQ(nStateBefore, m_pDoc->m_nPlayState);
    EXPECT_EQ(graphBefore, m_graph.State());
}

const FailureCase kFailures[] = {
    {"PlayWithoutControl", kStopped, ID_PLAY, nullptr, "Can't Play"},
    {"RunFails", kPaused, ID_PLAY, "Run", "Can't Play"},
    {"PauseWithoutControl", kRunning, ID_PAUSE, nullptr, "Cant't Pause"},
    {"PauseFails", kStopped, ID_PAUSE, "Pause", "Cant't Pause"},
    {"StopRunningWithoutControl", kRunning, ID_STOP, nullptr, "Can't Stop"},
    {"StopPausedWithoutControl", kPaused, ID_STOP, nullptr, "Can't Stop"},
};

INSTANTIATE_TEST_SUITE_P(Commands, FailureTest, testing::ValuesIn(kFailures),
                         [](const testing::TestParamInfo<FailureCase>& info) {
                             return std::string(info.param.pszName);
                         });

// ---- Step ----

struct StepCase {
    const char* pszName;
    double dDuration;  // the position is 1.0
    bool bSteps;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.pszName; }

class StepTest : public PlayStateTest, public testing::WithParamInterface<StepCase> {};

TEST_P(StepTest, StepsOnlyWhenAFrameIsLeft)
{
    const StepCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(kRunning));
    m_graph.SetDuration(c.dDuration);

    m_pDoc->Step();

    EXPECT_EQ(c.bSteps ? kStepLog : kStepLooksOnly, m_graph.CallString());
    EXPECT_EQ(c.bSteps ? PLAY_PAUSED : PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_EQ(c.bSteps ? 1.0 + 0.0333333333333 : 1.0, m_graph.Position());
}

const StepCase kStepThresholds[] = {
    {"WellBeforeTheEnd", 4.0, true},
    {"JustMoreThanAFrameLeft", 1.0 + 0.0333333333333 + 1e-9, true},
    {"ExactlyOneFrameLeft", 1.0 + 0.0333333333333, false},
    {"LessThanAFrameLeft", 1.0 + 0.0333, false},
    {"AtTheEnd", 1.0, false},
};

INSTANTIATE_TEST_SUITE_P(Thresholds, StepTest, testing::ValuesIn(kStepThresholds),
                         [](const testing::TestParamInfo<StepCase>& info) {
                             return std::string(info.param.pszName);
                         });

struct StepFailureCase {
    const char* pszName;
    const char* pszFailing;    // a method that fails, or null
    const IID* piidRefused;    // an interface the graph refuses, or null
    std::string log;
};

void PrintTo(const StepFailureCase& c, std::ostream* os) { *os << c.pszName; }

class StepFailureTest : public PlayStateTest, public testing::WithParamInterface<StepFailureCase> {};

TEST_P(StepFailureTest, EndsSilently)
{
    const StepFailureCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(kStopped));
    if (c.pszFailing != nullptr)
        m_graph.SetResult(c.pszFailing, E_FAIL);
    if (c.piidRefused != nullptr)
        m_graph.RefuseInterface(*c.piidRefused);

    EXPECT_TRUE(Command(ID_STEP));

    EXPECT_EQ(c.log, m_graph.CallString());
    EXPECT_EQ(PLAY_STOPPED, m_pDoc->m_nPlayState);
    EXPECT_EQ(1.0, m_graph.Position());
    EXPECT_TRUE(Shown().empty());
}

const StepFailureCase kStepFailures[] = {
    {"PositionRefused", nullptr, &IID_IMediaPosition, "QueryInterface(IMediaPosition)"},
    {"DurationUnknown", "get_Duration", nullptr, "QueryInterface(IMediaPosition), get_Duration"},
    {"PositionUnknown", "get_CurrentPosition", nullptr, kStepLooksOnly},
    {"ControlRefused", nullptr, &IID_IMediaControl, kStepLooksOnly + ", QueryInterface(IMediaControl)"},
};

INSTANTIATE_TEST_SUITE_P(Cases, StepFailureTest, testing::ValuesIn(kStepFailures),
                         [](const testing::TestParamInfo<StepFailureCase>& info) {
                             return std::string(info.param.pszName);
                         });

// ---- Group loop switch ----

TEST_F(PlayStateTest, GroupLoopCommandInvertsOnlyTheGroupLoop)
{
    m_pDoc->m_bLoop = TRUE;
    m_pDoc->m_bGroupLoop = 5;  // any nonzero value counts as on
    EXPECT_TRUE(Command(ID_GROUP_LOOP));
    EXPECT_EQ(FALSE, m_pDoc->m_bGroupLoop);
    EXPECT_TRUE(Command(ID_GROUP_LOOP));
    EXPECT_EQ(TRUE, m_pDoc->m_bGroupLoop);
    EXPECT_EQ(TRUE, m_pDoc->m_bLoop);
}

// ---- Volume and rate ----

struct AudioCase {
    const char* pszName;
    UINT nCommand;
    bool bMedia;
    long lVolume;
    double dRate;
    long lVolumeAfter;
    double dRateAfter;
    std::string log;
};

void PrintTo(const AudioCase& c, std::ostream* os) { *os << c.pszName; }

class AudioCommandTest : public PlayStateTest, public testing::WithParamInterface<AudioCase> {};

TEST_P(AudioCommandTest, ChangesTheFieldAndAppliesIt)
{
    const AudioCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(c.bMedia ? kStopped : kNoGraph));
    m_pDoc->m_lVolume = c.lVolume;
    m_pDoc->m_dRate = c.dRate;

    EXPECT_TRUE(Command(c.nCommand));

    EXPECT_EQ(c.lVolumeAfter, m_pDoc->m_lVolume);
    EXPECT_EQ(c.dRateAfter, m_pDoc->m_dRate);  // bit for bit
    EXPECT_EQ(c.log, m_graph.CallString());
    EXPECT_TRUE(Shown().empty());
}

const AudioCase kAudioCommands[] = {
    {"VolumeUpKey", ID_VOLUME_UP, true, -1000, 1.0, -950, 1.0, "QueryInterface(IBasicAudio), put_Volume(-950)"},
    {"VolumeUpButton", ID_VOLUME_UP_BUTTON, true, -75, 1.0, -25, 1.0, "QueryInterface(IBasicAudio), put_Volume(-25)"},
    {"VolumeUpToFull", ID_VOLUME_UP, true, -50, 1.0, 0, 1.0, "QueryInterface(IBasicAudio), put_Volume(0)"},
    {"VolumeUpAboveTheBound", ID_VOLUME_UP, true, -30, 1.0, -30, 1.0, "QueryInterface(IBasicAudio), put_Volume(-30)"},
    {"VolumeUpAtFull", ID_VOLUME_UP, true, 0, 1.0, 0, 1.0, "QueryInterface(IBasicAudio), put_Volume(0)"},
    {"VolumeDownKey", ID_VOLUME_DOWN, true, -1000, 1.0, -1050, 1.0, "QueryInterface(IBasicAudio), put_Volume(-1050)"},
    {"VolumeDownToSilent", ID_VOLUME_DOWN_BUTTON, true, -9950, 1.0, -10000, 1.0, "QueryInterface(IBasicAudio), put_Volume(-10000)"},
    {"VolumeDownBelowTheBound", ID_VOLUME_DOWN_BUTTON, true, -9960, 1.0, -9960, 1.0, "QueryInterface(IBasicAudio), put_Volume(-9960)"},
    {"VolumeUpWithoutMedia", ID_VOLUME_UP, false, -1000, 1.0, -1000, 1.0, ""},
    {"VolumeDownWithoutMedia", ID_VOLUME_DOWN, false, -1000, 1.0, -1000, 1.0, ""},
    {"Faster", ID_RATE_FASTER, true, -1000, 1.0, -1000, 1.2, "QueryInterface(IMediaPosition), put_Rate(1.2), get_Rate"},
    {"FasterAtTheGuard", ID_RATE_FASTER, true, -1000, 3.0, -1000, 3.5999999999999996, "QueryInterface(IMediaPosition), put_Rate(3.6), get_Rate"},
    {"FasterAboveTheGuard", ID_RATE_FASTER, true, -1000, 4.0, -1000, 4.0, ""},
    {"FasterFromZero", ID_RATE_FASTER, true, -1000, 0.0, -1000, 0.0, "QueryInterface(IMediaPosition), put_Rate(0)"},
    {"Slower", ID_RATE_SLOWER, true, -1000, 4.0, -1000, 3.3333333333333335, "QueryInterface(IMediaPosition), put_Rate(3.33333333333333), get_Rate"},
    {"SlowerAtZero", ID_RATE_SLOWER, true, -1000, 0.0, -1000, 0.0, ""},
    {"FasterWithoutMedia", ID_RATE_FASTER, false, -1000, 1.0, -1000, 1.2, ""},
    {"SlowerWithoutMedia", ID_RATE_SLOWER, false, -1000, 1.0, -1000, 0.8333333333333334, ""},
};

INSTANTIATE_TEST_SUITE_P(Commands, AudioCommandTest, testing::ValuesIn(kAudioCommands),
                         [](const testing::TestParamInfo<AudioCase>& info) {
                             return std::string(info.param.pszName);
                         });

TEST_F(PlayStateTest, VolumeCommandsIgnoreMuteAndLeaveItSet)
{
    ASSERT_NO_FATAL_FAILURE(Reach(kRunning));
    m_pDoc->m_bMute = TRUE;
    m_pDoc->VolumeDown();
    EXPECT_EQ("QueryInterface(IBasicAudio), put_Volume(-1050)", m_graph.CallString());
    EXPECT_EQ(TRUE, m_pDoc->m_bMute);
}

TEST_F(PlayStateTest, RateChangedWithoutMediaReachesTheNextOpen)
{
    m_pDoc->RateFaster();
    ASSERT_NO_FATAL_FAILURE(Reach(kStopped));
    EXPECT_EQ(1.2, m_graph.Rate());
}

}  // namespace
