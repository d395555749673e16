// What the document's tests on fake media share: a main window for the document to caption
// and wake, the application side, two media behind the graph factory, the message boxes
// answered, and the document itself. At the end the document holds no graph of either.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FakeGraph.h"
#include "MessageBoxWatcher.h"
#include "NTandrelDoc.h"
#include "TestEnv.h"
#include "TestHost.h"

class CDocumentFixture : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        m_hwndMain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, m_hwndMain);
        m_host.m_hwndMain = m_hwndMain;
    }

    void TearDown() override
    {
        m_pDoc.reset();
        DestroyWindow(m_hwndMain);
        EXPECT_EQ(nullptr, m_host.m_pDoc);
        for (const CFakeGraph* pMedia : {&m_first, &m_second})
            EXPECT_EQ(0, pMedia->Holders());
    }

    // The main window's title, which the fit sets to the media's file title.
    std::string Caption() const
    {
        char sz[MAX_PATH] = "";
        GetWindowTextA(m_hwndMain, sz, MAX_PATH);
        return sz;
    }

    bool IsCurrent(const CFakeGraph& media) const { return Plays(m_pDoc->m_pGraph, media); }

    CTestHost m_host;
    CFakeGraphFactory m_factory;
    CFakeGraph m_first;
    CFakeGraph m_second;
    CMessageBoxWatcher m_boxes;
    HWND m_hwndMain = nullptr;
    std::unique_ptr<CNTandrelDoc> m_pDoc;
};
