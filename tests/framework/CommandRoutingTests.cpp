// Message maps: a command reaches the handler of the most derived class that binds it,
// ranges pass the id, update handlers receive the CCmdUI, unbound ids are not handled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CmdTarget.h"
#include "CmdUI.h"

namespace {

std::vector<std::string> g_calls;

class CBaseTarget : public CCmdTarget {
public:
    void OnShared() { g_calls.push_back("base shared"); }
    void OnBaseOnly() { g_calls.push_back("base only"); }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(100, &CBaseTarget::OnShared)
    ON_COMMAND(101, &CBaseTarget::OnBaseOnly)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget {
public:
    void OnShared() { g_calls.push_back("derived shared"); }
    void OnRange(UINT nID) { g_calls.push_back("range " + std::to_string(nID)); }
    void OnUpdateShared(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bEnable); }

    BOOL m_bEnable = FALSE;

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(100, &CDerivedTarget::OnShared)
    ON_UPDATE_COMMAND_UI(100, &CDerivedTarget::OnUpdateShared)
    ON_COMMAND_RANGE(200, 203, &CDerivedTarget::OnRange)
END_MESSAGE_MAP()

class CRecordingCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        m_nEnabled = bOn ? 1 : 0;
    }
    int m_nEnabled = -1;
};

class CommandRouting : public testing::Test {
protected:
    void SetUp() override { g_calls.clear(); }
    CDerivedTarget target;
};

TEST_F(CommandRouting, MostDerivedBindingWinsAndBasesAreSearched)
{
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(101, CN_COMMAND, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"derived shared", "base only"}));
}

TEST_F(CommandRouting, RangesPassTheIdAndStopAtTheirEnds)
{
    EXPECT_FALSE(target.OnCmdMsg(199, CN_COMMAND, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(200, CN_COMMAND, nullptr));
    EXPECT_TRUE(target.OnCmdMsg(203, CN_COMMAND, nullptr));
    EXPECT_FALSE(target.OnCmdMsg(204, CN_COMMAND, nullptr));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"range 200", "range 203"}));
}

TEST_F(CommandRouting, UpdateHandlersDecideAndUnboundIdsAreLeftAlone)
{
    CRecordingCmdUI ui;
    ui.m_nID = 100;
    target.m_bEnable = TRUE;
    EXPECT_TRUE(target.OnCmdMsg(100, CN_UPDATE_COMMAND_UI, &ui));
    EXPECT_EQ(ui.m_nEnabled, 1);
    EXPECT_TRUE(ui.m_bEnableChanged);

    target.m_bEnable = FALSE;
    EXPECT_TRUE(target.OnCmdMsg(100, CN_UPDATE_COMMAND_UI, &ui));
    EXPECT_EQ(ui.m_nEnabled, 0);

    // A command without an update handler is not claimed by the update pass.
    CRecordingCmdUI other;
    EXPECT_FALSE(target.OnCmdMsg(101, CN_UPDATE_COMMAND_UI, &other));
    EXPECT_EQ(other.m_nEnabled, -1);
    EXPECT_FALSE(target.OnCmdMsg(999, CN_COMMAND, nullptr));
    EXPECT_TRUE(g_calls.empty());
}

}  // namespace
