// The main window's geometry: the fitting and centring arithmetic, the style-change
// table, the view rule, and the same rules applied to real windows.
#include <gtest/gtest.h>

#include "FakeGraph.h"
#include "MessageBoxWatcher.h"
#include "NTandrelDoc.h"
#include "TestEnv.h"
#include "TestHost.h"
#include "VideoGeometry.h"

namespace {

RECT Rect(int l, int t, int r, int b)
{
    RECT rc = {l, t, r, b};
    return rc;
}

void ExpectRect(const RECT& rc, int x, int y, int cx, int cy)
{
    EXPECT_EQ(rc.left, x);
    EXPECT_EQ(rc.top, y);
    EXPECT_EQ(rc.right - rc.left, cx);
    EXPECT_EQ(rc.bottom - rc.top, cy);
}

TEST(FitArithmetic, CentresTheClientAreaOnTheVideoTruncatingTowardZero)
{
    // A frame 8 pixels wider and 27 taller than its client area.
    RECT rcWindow = Rect(100, 100, 428, 367), rcClient = Rect(0, 0, 320, 240);
    ExpectRect(FitWindowRect(rcWindow, rcClient, 352, 240, 640, 480), 140, 106, 360, 267);
    ExpectRect(FitWindowRect(rcWindow, rcClient, 1024, 768, 800, 600), -116, -97, 1032, 795);
    ExpectRect(FitWindowRect(rcWindow, rcClient, 0, 0, 800, 600), 396, 286, 8, 27);
}

TEST(StyleChangeArithmetic, FollowsTheTableKeepingTheTopLeftCorner)
{
    const int vw = 352, vh = 240;
    const RECT r0 = Rect(50, 60, 50 + 362, 60 + 289);  // 362 x 289
    const struct {
        int nThick, nCaption;
        BOOL bMoves;
        int cx, cy;
    } cases[] = {
        {0, 0, FALSE, 362, 289},       {0, -1, TRUE, 362, 289 - 16}, {0, 1, TRUE, 362, 289 + 16},
        {-1, 0, TRUE, 362 + 4, 289 + 4}, {1, 0, TRUE, 362 - 4, 289 - 4}, {-1, -1, TRUE, vw - 4, vh - 4},
        {-1, 1, TRUE, vw - 4, vh + 12}, {1, -1, TRUE, vw + 4, vh + 4}, {1, 1, TRUE, vw + 4, vh + 20},
    };
    for (const auto& c : cases) {
        RECT r = r0;
        EXPECT_EQ(StyleChangeRect(&r, c.nThick, c.nCaption, vw, vh), c.bMoves)
            << c.nThick << "," << c.nCaption;
        ExpectRect(r, 50, 60, c.cx, c.cy);
    }
}

TEST(ViewRule, CoversTheViewAndItsBorder)
{
    ExpectRect(VideoRectForView(300, 200), 0, 0, 304, 204);
}

// A real overlapped window as the main window, with a fake media giving the video.
class RealWindowGeometry : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteSettingsKey();
        m_hWnd = CreateWindowExA(0, "STATIC", "Tandrel98", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                 320, 240, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        host.m_hwndMain = m_hWnd;
        graph.SetVideoSize(352, 240);
        factory.Queue(&graph);
    }
    void TearDown() override { DestroyWindow(m_hWnd); }

    void ExpectClientSize(int cx, int cy)
    {
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        EXPECT_EQ(rc.right, cx);
        EXPECT_EQ(rc.bottom, cy);
    }

    HWND m_hWnd = nullptr;
    CTestHost host;
    CFakeGraph graph;
    CFakeGraphFactory factory;
};

TEST_F(RealWindowGeometry, OpenFitsCentresCaptionsAndAttachesTheVideo)
{
    SetWindowLongA(m_hWnd, GWL_STYLE, GetWindowLongA(m_hWnd, GWL_STYLE) | WS_MAXIMIZE);
    CNTandrelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument("C:\\media\\clip.mpg"));
    char szTitle[64] = "";
    GetWindowTextA(m_hWnd, szTitle, sizeof(szTitle));
    EXPECT_STREQ(szTitle, "clip.mpg");
    EXPECT_FALSE(GetWindowLongA(m_hWnd, GWL_STYLE) & WS_MAXIMIZE);
    ExpectClientSize(352, 240);

    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    EXPECT_EQ(rc.left, (GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left)) / 2);
    EXPECT_EQ(rc.top, (GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)) / 2);

    EXPECT_EQ(graph.Owner(), m_hWnd);
    RECT rcVideo = graph.WindowPosition();
    EXPECT_EQ(rcVideo.left, 0);
    EXPECT_EQ(rcVideo.top, 0);
    EXPECT_EQ(rcVideo.right, 352);
    EXPECT_EQ(rcVideo.bottom, 240);
}

TEST_F(RealWindowGeometry, StyleChangesResizeTheRealWindow)
{
    CNTandrelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument("C:\\media\\clip.mpg"));
    RECT r0;
    GetWindowRect(m_hWnd, &r0);

    // Sizing border off: the window grows by the border it lost, the client stays.
    ASSERT_TRUE(doc.ApplyWindowStyle(TRUE, FALSE));
    RECT r1;
    GetWindowRect(m_hWnd, &r1);
    EXPECT_EQ(r1.left, r0.left);
    EXPECT_EQ(r1.top, r0.top);
    EXPECT_EQ(r1.right - r1.left, r0.right - r0.left + 4);
    EXPECT_FALSE(GetWindowLongA(m_hWnd, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongA(m_hWnd, GWL_STYLE) & WS_BORDER);

    // Both as they are: nothing moves.
    ASSERT_TRUE(doc.ApplyWindowStyle(TRUE, FALSE));
    RECT r2;
    GetWindowRect(m_hWnd, &r2);
    EXPECT_TRUE(EqualRect(&r1, &r2));

    // Caption off and border on at once: (vw + 4) x (vh + 4) at the same corner.
    ASSERT_TRUE(doc.ApplyWindowStyle(FALSE, TRUE));
    RECT r3;
    GetWindowRect(m_hWnd, &r3);
    ExpectRect(r3, r0.left, r0.top, 352 + 4, 240 + 4);
    EXPECT_FALSE((GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION);
}

TEST_F(RealWindowGeometry, EscapeCoversTheScreenWhenTheRendererRefusesAndComesBackExactly)
{
    graph.SetResult("SetFullScreen", E_NOTIMPL);
    CNTandrelDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument("C:\\media\\clip.mpg"));
    RECT rcBefore;
    GetWindowRect(m_hWnd, &rcBefore);
    LONG lStyleBefore = GetWindowLongA(m_hWnd, GWL_STYLE);

    doc.ToggleFullScreen();
    EXPECT_EQ(doc.m_nSizeMode, 2);
    RECT rc;
    GetWindowRect(m_hWnd, &rc);
    ExpectRect(rc, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_FALSE(GetWindowLongA(m_hWnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));

    doc.ToggleFullScreen();
    EXPECT_EQ(doc.m_nSizeMode, 0);
    GetWindowRect(m_hWnd, &rc);
    EXPECT_TRUE(EqualRect(&rc, &rcBefore));
    EXPECT_EQ(GetWindowLongA(m_hWnd, GWL_STYLE), lStyleBefore);
}

// The window covering the screen for a refused full screen never outlives its graph:
// whatever lets go of the graph puts the window back first.
struct LetGoCase {
    const char* pszName;
    void (*pfnLetGo)(CNTandrelDoc& doc, CFakeGraph& next);
};

class CoverLetGoTest : public RealWindowGeometry, public testing::WithParamInterface<LetGoCase> {};

TEST_P(CoverLetGoTest, PutsTheWindowBack)
{
    graph.SetResult("SetFullScreen", E_NOTIMPL);
    CMessageBoxWatcher boxes;  // answers the failed open's message
    CFakeGraph next;
    next.SetVideoSize(352, 240);
    factory.Queue(&next);
    {
        CNTandrelDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument("C:\\media\\clip.mpg"));
        RECT rcBefore;
        GetWindowRect(m_hWnd, &rcBefore);
        LONG lStyleBefore = GetWindowLongA(m_hWnd, GWL_STYLE);
        doc.ToggleFullScreen();
        ASSERT_TRUE(doc.m_bCoversScreen);

        GetParam().pfnLetGo(doc, next);
        EXPECT_FALSE(doc.m_bCoversScreen);
        EXPECT_EQ(GetWindowLongA(m_hWnd, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_POPUP),
                  lStyleBefore & (WS_CAPTION | WS_THICKFRAME | WS_POPUP));
        RECT rc;
        GetWindowRect(m_hWnd, &rc);
        EXPECT_LT(rc.right - rc.left, GetSystemMetrics(SM_CXSCREEN));
        if (lstrcmpA(GetParam().pszName, "New") == 0) {
            EXPECT_TRUE(EqualRect(&rc, &rcBefore));
        }
    }
    EXPECT_EQ(next.Holders(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    LetGo, CoverLetGoTest,
    testing::Values(LetGoCase{"New", [](CNTandrelDoc& doc, CFakeGraph&) { doc.DeleteContents(); }},
                    LetGoCase{"FailedOpen",
                              [](CNTandrelDoc& doc, CFakeGraph& next) {
                                  next.SetResult("RenderFile", E_FAIL);
                                  doc.OnOpenDocument("C:\\media\\broken.mpg");
                              }},
                    LetGoCase{"NextMedia",
                              [](CNTandrelDoc& doc, CFakeGraph&) {
                                  doc.OnOpenDocument("C:\\media\\second.mpg");
                              }}),
    [](const testing::TestParamInfo<LetGoCase>& info) { return std::string(info.param.pszName); });

TEST_F(RealWindowGeometry, EscapeFollowsTheSizeModes)
{
    CNTandrelDoc doc;
    doc.ToggleFullScreen();  // no media: nothing
    EXPECT_EQ(doc.m_nSizeMode, 0);
    ASSERT_TRUE(doc.OnOpenDocument("C:\\media\\clip.mpg"));
    doc.m_nSizeMode = 1;  // scalable: Esc does nothing
    doc.ToggleFullScreen();
    EXPECT_EQ(doc.m_nSizeMode, 1);
    EXPECT_FALSE(graph.FullScreen());

    // From the window the renderer takes the screen, and the next Esc gives it back.
    doc.m_nSizeMode = 0;
    doc.ToggleFullScreen();
    EXPECT_EQ(doc.m_nSizeMode, 2);
    EXPECT_TRUE(graph.FullScreen());
    EXPECT_FALSE(doc.m_bCoversScreen);
    doc.ToggleFullScreen();
    EXPECT_EQ(doc.m_nSizeMode, 0);
    EXPECT_FALSE(graph.FullScreen());
}

}  // namespace
