// The play-state machine of the playback document on fake media: the transport commands
// and where they do nothing, their enable rules, their failure messages, the step, and the
// volume and rate commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CmdUI.h"
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

const char kMedia[] = "C:\\media\\clip.mpg";
// One frame on from the 1.0 every test starts at.
const double kOneStepOn = 1.0333333333333;

// Where a test starts from, before the command under test.
enum Start { kNoGraph, kUnrendered, kStopped, kPaused, kRunning };

class PlayStateTest : public CDocumentFixture {
protected:
    void SetUp() override
    {
        CDocumentFixture::SetUp();
        m_pDoc.reset(new CNTandrelDoc);
    }

    // Brings the document into the state of start through its own operations, the media
    // 4 seconds long and at 1.0; the messages shown on the way do not count.
    void Reach(Start start)
    {
        m_first.SetDuration(4.0);
        m_first.SetPosition(1.0);
        if (start != kNoGraph) {
            m_factory.Queue(&m_first);
            if (start == kUnrendered)
                m_first.SetResult("RenderFile", E_FAIL);
            m_pDoc->OnOpenDocument(kMedia);
            m_first.SetResult("RenderFile", S_OK);
        }
        if (start == kPaused)
            m_pDoc->Pause();
        if (start == kRunning)
            m_pDoc->Play();
        static const int s_states[] = {PLAY_NONE, PLAY_NONE, PLAY_STOPPED, PLAY_PAUSED, PLAY_RUNNING};
        ASSERT_EQ(s_states[start], m_pDoc->m_nPlayState);
        m_nShownBefore = m_boxes.Shown().size();
    }

    // The message boxes shown since Reach.
    std::vector<ShownMessage> Shown() const
    {
        std::vector<ShownMessage> shown = m_boxes.Shown();
        return std::vector<ShownMessage>(shown.begin() + static_cast<long>(m_nShownBefore), shown.end());
    }

    BOOL Command(UINT nID) { return m_pDoc->OnCmdMsg(nID, CN_COMMAND, nullptr); }

    size_t m_nShownBefore = 0;
};

// ---- Transitions, and the commands that do nothing in a state ----

struct TransitionCase {
    const char* pszName;
    Start from;
    UINT nCommand;
    int nStateAfter;
    GraphState graphAfter;
    double dPositionAfter;
    bool bDoesNothing;  // the media refuses every transport call: none may be made
};

void PrintTo(const TransitionCase& c, std::ostream* os) { *os << c.pszName; }

class TransitionTest : public PlayStateTest, public testing::WithParamInterface<TransitionCase> {};

TEST_P(TransitionTest, LeavesTheMediaInTheNewState)
{
    const TransitionCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(c.from));
    if (c.bDoesNothing)
        m_first.Lack(CFakeGraph::kControl);

    EXPECT_TRUE(Command(c.nCommand));

    EXPECT_EQ(c.nStateAfter, m_pDoc->m_nPlayState);
    EXPECT_EQ(c.graphAfter, m_first.State());
    EXPECT_EQ(c.dPositionAfter, m_first.Position());
    EXPECT_TRUE(Shown().empty());
}

const TransitionCase kTransitions[] = {
    {"PlayFromStopped", kStopped, ID_PLAY, PLAY_RUNNING, GRAPH_RUNNING, 1.0, false},
    {"PlayFromPaused", kPaused, ID_PLAY, PLAY_RUNNING, GRAPH_RUNNING, 1.0, false},
    {"PauseFromRunning", kRunning, ID_PAUSE, PLAY_PAUSED, GRAPH_PAUSED, 1.0, false},
    {"PauseFromStopped", kStopped, ID_PAUSE, PLAY_PAUSED, GRAPH_PAUSED, 1.0, false},
    {"StopFromRunning", kRunning, ID_STOP, PLAY_STOPPED, GRAPH_STOPPED, 0.0, false},
    {"StopFromPaused", kPaused, ID_STOP, PLAY_STOPPED, GRAPH_STOPPED, 0.0, false},
    {"StepFromStopped", kStopped, ID_STEP, PLAY_PAUSED, GRAPH_PAUSED, kOneStepOn, false},
    {"StepFromPaused", kPaused, ID_STEP, PLAY_PAUSED, GRAPH_PAUSED, kOneStepOn, false},
    {"StepFromRunning", kRunning, ID_STEP, PLAY_PAUSED, GRAPH_PAUSED, kOneStepOn, false},
    {"PlayWhileRunning", kRunning, ID_PLAY, PLAY_RUNNING, GRAPH_RUNNING, 1.0, true},
    {"PlayWithoutMedia", kNoGraph, ID_PLAY, PLAY_NONE, GRAPH_STOPPED, 1.0, true},
    {"PlayUnrendered", kUnrendered, ID_PLAY, PLAY_NONE, GRAPH_STOPPED, 1.0, true},
    {"PauseWhilePaused", kPaused, ID_PAUSE, PLAY_PAUSED, GRAPH_PAUSED, 1.0, true},
    {"PauseWithoutMedia", kNoGraph, ID_PAUSE, PLAY_NONE, GRAPH_STOPPED, 1.0, true},
    {"PauseUnrendered", kUnrendered, ID_PAUSE, PLAY_NONE, GRAPH_STOPPED, 1.0, true},
    {"StopWhileStopped", kStopped, ID_STOP, PLAY_STOPPED, GRAPH_STOPPED, 1.0, true},
    {"StopWithoutMedia", kNoGraph, ID_STOP, PLAY_NONE, GRAPH_STOPPED, 1.0, true},
    {"StopUnrendered", kUnrendered, ID_STOP, PLAY_NONE, GRAPH_STOPPED, 1.0, true},
};

INSTANTIATE_TEST_SUITE_P(Commands, TransitionTest, testing::ValuesIn(kTransitions), RowName());

// ---- Enable rules, through the message map ----

struct EnableCase {
    const char* pszName;
    int nState;
    BOOL bPlay, bPause, bStop, bNeedsMedia;
};

void PrintTo(const EnableCase& c, std::ostream* os) { *os << c.pszName; }

// Keeps what an update handler decided.
class CRecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        CCmdUI::Enable(bOn);
    }
    BOOL m_bEnabled = FALSE;
};

class EnableTest : public PlayStateTest, public testing::WithParamInterface<EnableCase> {
protected:
    // Runs the update pass for nID; fails when nothing handled it.
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
        EXPECT_TRUE(cmdUI.m_bEnableChanged) << "command " << nID;
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
    EXPECT_FALSE(Update(ID_FULL_SCREEN).m_bEnableChanged);
    EXPECT_FALSE(Update(ID_FILE_PRINT_SETUP).m_bEnableChanged);
}

const EnableCase kEnableRules[] = {
    {"None", PLAY_NONE, FALSE, FALSE, FALSE, FALSE},
    {"Stopped", PLAY_STOPPED, TRUE, TRUE, FALSE, TRUE},
    {"Paused", PLAY_PAUSED, TRUE, FALSE, TRUE, TRUE},
    {"Running", PLAY_RUNNING, FALSE, TRUE, TRUE, TRUE},
};

INSTANTIATE_TEST_SUITE_P(States, EnableTest, testing::ValuesIn(kEnableRules), RowName());

// ---- Failure messages ----

struct FailureCase {
    const char* pszName;
    Start from;
    UINT nCommand;
    const char* pszFailing;  // the call that fails; null: the media has no transport control
    const char* pszText;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.pszName; }

class FailureTest : public PlayStateTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, TellsTheUserAndKeepsTheState)
{
    const FailureCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(c.from));
    const int nStateBefore = m_pDoc->m_nPlayState;
    const GraphState graphBefore = m_first.State();
    if (c.pszFailing != nullptr)
        m_first.SetResult(c.pszFailing, E_FAIL);
    else
        m_first.Lack(CFakeGraph::kControl);

    EXPECT_TRUE(Command(c.nCommand));

    std::vector<ShownMessage> shown = Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Tandrel98", shown[0].caption);
    EXPECT_EQ(c.pszText, shown[0].text);
    EXPECT_EQ(nStateBefore, m_pDoc->m_nPlayState);
    EXPECT_EQ(graphBefore, m_first.State());
    EXPECT_EQ(1.0, m_first.Position());
}

const FailureCase kFailures[] = {
    {"PlayWithoutControl", kStopped, ID_PLAY, nullptr, "Can't Play"},
    {"RunFails", kPaused, ID_PLAY, "Run", "Can't Play"},
    {"PauseWithoutControl", kRunning, ID_PAUSE, nullptr, "Cant't Pause"},
    {"PauseFails", kStopped, ID_PAUSE, "Pause", "Cant't Pause"},
    {"StopRunningWithoutControl", kRunning, ID_STOP, nullptr, "Can't Stop"},
    {"StopPausedWithoutControl", kPaused, ID_STOP, nullptr, "Can't Stop"},
};

INSTANTIATE_TEST_SUITE_P(Commands, FailureTest, testing::ValuesIn(kFailures), RowName());

// ---- Step ----

// From 1.0 on running media: the step shows the frame one step on and leaves the media
// paused there, unless that frame is not before the end or the media cannot tell or be
// moved; then nothing changes and nothing is shown.
struct StepCase {
    const char* pszName;
    double dDuration;
    const char* pszFailing;  // a call that fails, or null
    bool bLackPosition, bLackControl;
    bool bSteps;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.pszName; }

class StepTest : public PlayStateTest, public testing::WithParamInterface<StepCase> {};

TEST_P(StepTest, StepsOnlyWhenAFrameIsLeft)
{
    const StepCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Reach(kRunning));
    m_first.SetDuration(c.dDuration);
    if (c.pszFailing != nullptr)
        m_first.SetResult(c.pszFailing, E_FAIL);
    if (c.bLackPosition)
        m_first.Lack(CFakeGraph::kPosition);
    if (c.bLackControl)
        m_first.Lack(CFakeGraph::kControl);

    EXPECT_TRUE(Command(ID_STEP));

    EXPECT_EQ(c.bSteps ? PLAY_PAUSED : PLAY_RUNNING, m_pDoc->m_nPlayState);
    EXPECT_EQ(c.bSteps ? GRAPH_PAUSED : GRAPH_RUNNING, m_first.State());
    EXPECT_EQ(c.bSteps ? kOneStepOn : 1.0, m_first.Position());
    EXPECT_TRUE(Shown().empty());
}

const StepCase kSteps[] = {
    {"WellBeforeTheEnd", 4.0, nullptr, false, false, true},
    {"JustMoreThanAFrameLeft", kOneStepOn + 1e-9, nullptr, false, false, true},
    {"ExactlyOneFrameLeft", kOneStepOn, nullptr, false, false, false},
    {"LessThanAFrameLeft", 1.0333, nullptr, false, false, false},
    {"AtTheEnd", 1.0, nullptr, false, false, false},
    {"WithoutPositions", 4.0, nullptr, true, false, false},
    {"DurationUnknown", 4.0, "GetDuration", false, false, false},
    {"PositionUnknown", 4.0, "GetCurrentPosition", false, false, false},
    {"WithoutControl", 4.0, nullptr, false, true, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, StepTest, testing::ValuesIn(kSteps), RowName());

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

// The media was opened at the volume -1000 and the rate 1.0; a volume command gives it the
// new volume even when that did not change.
struct AudioCase {
    const char* pszName;
    UINT nCommand;
    bool bMedia;
    long lVolume;
    double dRate;
    long lVolumeAfter;  // the document's, and with media the media's
    double dRateAfter;
    double dMediaRate;  // what the media plays at afterwards
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
    if (c.bMedia) {
        EXPECT_EQ(c.lVolumeAfter, m_first.Volume());
        EXPECT_EQ(c.dMediaRate, m_first.Rate());
    }
    EXPECT_TRUE(Shown().empty());
}

const AudioCase kAudioCommands[] = {
    {"VolumeUpKey", ID_VOLUME_UP, true, -1000, 1.0, -950, 1.0, 1.0},
    {"VolumeUpButton", ID_VOLUME_UP_BUTTON, true, -75, 1.0, -25, 1.0, 1.0},
    {"VolumeUpToFull", ID_VOLUME_UP, true, -50, 1.0, 0, 1.0, 1.0},
    {"VolumeUpAboveTheBound", ID_VOLUME_UP, true, -30, 1.0, -30, 1.0, 1.0},
    {"VolumeUpAtFull", ID_VOLUME_UP, true, 0, 1.0, 0, 1.0, 1.0},
    {"VolumeDownKey", ID_VOLUME_DOWN, true, -1000, 1.0, -1050, 1.0, 1.0},
    {"VolumeDownToSilent", ID_VOLUME_DOWN_BUTTON, true, -9950, 1.0, -10000, 1.0, 1.0},
    {"VolumeDownBelowTheBound", ID_VOLUME_DOWN_BUTTON, true, -9960, 1.0, -9960, 1.0, 1.0},
    {"VolumeUpWithoutMedia", ID_VOLUME_UP, false, -1000, 1.0, -1000, 1.0, 0.0},
    {"VolumeDownWithoutMedia", ID_VOLUME_DOWN, false, -1000, 1.0, -1000, 1.0, 0.0},
    {"Faster", ID_RATE_FASTER, true, -1000, 1.0, -1000, 1.2, 1.2},
    {"FasterAtTheGuard", ID_RATE_FASTER, true, -1000, 3.0, -1000, 3.5999999999999996, 3.5999999999999996},
    {"FasterAboveTheGuard", ID_RATE_FASTER, true, -1000, 4.0, -1000, 4.0, 1.0},
    // The engine refuses the rate 0 and plays on at the rate it had.
    {"FasterFromZero", ID_RATE_FASTER, true, -1000, 0.0, -1000, 0.0, 1.0},
    {"Slower", ID_RATE_SLOWER, true, -1000, 4.0, -1000, 3.3333333333333335, 3.3333333333333335},
    {"SlowerAtZero", ID_RATE_SLOWER, true, -1000, 0.0, -1000, 0.0, 1.0},
    {"FasterWithoutMedia", ID_RATE_FASTER, false, -1000, 1.0, -1000, 1.2, 0.0},
    {"SlowerWithoutMedia", ID_RATE_SLOWER, false, -1000, 1.0, -1000, 0.8333333333333334, 0.0},
};

INSTANTIATE_TEST_SUITE_P(Commands, AudioCommandTest, testing::ValuesIn(kAudioCommands), RowName());

TEST_F(PlayStateTest, VolumeCommandsIgnoreMuteAndLeaveItSet)
{
    m_pDoc->m_bMute = TRUE;
    ASSERT_NO_FATAL_FAILURE(Reach(kRunning));
    ASSERT_EQ(-10000, m_first.Volume());
    EXPECT_TRUE(Command(ID_VOLUME_DOWN));
    EXPECT_EQ(-1050, m_first.Volume());
    EXPECT_EQ(TRUE, m_pDoc->m_bMute);
}

TEST_F(PlayStateTest, RateChangedWithoutMediaReachesTheNextOpen)
{
    m_pDoc->RateFaster();
    ASSERT_NO_FATAL_FAILURE(Reach(kStopped));
    EXPECT_EQ(1.2, m_first.Rate());
}

}  // namespace