#include "MainFrm.h"

#include <cstdio>
#include <cstdlib>

#include "ModalScope.h"
#include "NTandrelApp.h"
#include "NTandrelDoc.h"
#include "resource.h"

namespace {

const UINT kPaletteButtons[] = {
    ID_FILE_OPEN, ID_OPEN_INTERNET, ID_CONTROL_OPTIONS, ID_PLAY,
    ID_PAUSE, ID_STOP, ID_GROUP_LOOP, ID_VOLUME_UP_BUTTON,
    ID_VOLUME_DOWN_BUTTON, ID_STEP, ID_HELP_PAGE, ID_EXIT,
};

const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};

}  // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_COMMAND(ID_EXIT, &CMainFrame::OnExit)
    ON_COMMAND(ID_HELP_PAGE, &CMainFrame::OnHelpPage)
    ON_COMMAND(ID_INFORMATION, &CMainFrame::OnNothing)
    ON_COMMAND(ID_PLAY, &CMainFrame::OnNothing)
    ON_COMMAND(ID_PAUSE, &CMainFrame::OnNothing)
    ON_COMMAND(ID_CONTROL_OPTIONS, &CMainFrame::OnNothing)
    ON_COMMAND(ID_STOP, &CMainFrame::OnNothing)
    ON_COMMAND_RANGE(ID_VIEW_PALETTE, ID_VIEW_PALETTE, &CFrameWnd::OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_PALETTE, &CFrameWnd::OnUpdateControlBarMenu)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.style = WS_OVERLAPPEDWINDOW;
    cs.hMenu = nullptr;
    cs.cx = 320;
    cs.cy = 240;
    cs.x = (GetSystemMetrics(SM_CXSCREEN) - 320) / 2;
    cs.y = (GetSystemMetrics(SM_CYSCREEN) - 240) / 2;
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (CFrameWnd::OnCreate(lpcs) == -1)
        return -1;

    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndPalette.Create(this,
                             WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY |
                                 CBRS_SIZE_FIXED,
                             ID_VIEW_PALETTE) ||
        !m_wndPalette.LoadBitmap(IDB_PALETTE) ||
        !m_wndPalette.SetButtons(kPaletteButtons,
                                 static_cast<int>(sizeof(kPaletteButtons) / sizeof(UINT))))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators,
                                      static_cast<int>(sizeof(kIndicators) / sizeof(UINT))))
        return -1;

    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY |
                             CBRS_SIZE_DYNAMIC);

    m_wndPalette.ModifyStyle(0, TBSTYLE_FLAT);
    m_wndPalette.SetWindowText("Tandrel98");
    m_wndPalette.EnableDocking(0);
    m_wndPalette.SetColumns(3);
    int nLoop = m_wndPalette.CommandToIndex(ID_GROUP_LOOP);
    m_wndPalette.SetButtonStyle(nLoop, m_wndPalette.GetButtonStyle(nLoop) | TBBS_CHECKBOX);

    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);

    const int cxScreen = GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = GetSystemMetrics(SM_CYSCREEN);
    POINT pt = {(cxScreen / 2) / 2 + cxScreen / 2 + 8, (cyScreen / 2) / 2 + cyScreen / 2 - 160};
    FloatControlBar(&m_wndPalette, pt, CBRS_ALIGN_TOP);
    // The floating palette has no close box.
    if (CWnd* pFloat = m_wndPalette.GetFloatingFrame())
        pFloat->ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);

    ShowControlBar(&m_wndToolBar, FALSE, FALSE);
    ShowControlBar(&m_wndStatusBar, FALSE, FALSE);
    SetWindowText("Tandrel98");
    return 0;
}

void CMainFrame::OnClose()
{
    if (CModalScope::IsActive())
        return;
    // Stop first, so that letting go of the media does not wait for it to end.
    CNTandrelDoc* pDoc = GetPlayerApp()->m_pDoc;
    if (pDoc != nullptr) {
        pDoc->Stop();
        pDoc->DeleteContents();
    }
    CFrameWnd::OnClose();
}

void CMainFrame::OnExit()
{
    OnClose();
}

void CMainFrame::OnNothing() {}

void CMainFrame::OnHelpPage()
{
    CNTandrelDoc* pDoc = GetPlayerApp()->m_pDoc;
    if (pDoc != nullptr && pDoc->m_nSizeMode == 2)
        return;
    char szModule[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    char szDrive[_MAX_DRIVE], szDir[_MAX_DIR], szName[_MAX_FNAME], szExt[_MAX_EXT];
    _splitpath(szModule, szDrive, szDir, szName, szExt);
    char szPage[MAX_PATH];
    std::snprintf(szPage, sizeof(szPage), "%s%sHelp\\Demo.html", szDrive, szDir);
    ShellExecuteA(m_hWnd, "open", szPage, nullptr, nullptr, SW_SHOWDEFAULT);
}

void CMainFrame::ShowPaletteAt(POINT ptScreen)
{
    FloatControlBar(&m_wndPalette, ptScreen, CBRS_ALIGN_TOP);
    ShowControlBar(&m_wndPalette, TRUE, FALSE);
}

void CMainFrame::HidePalette()
{
    ShowControlBar(&m_wndPalette, FALSE, FALSE);
}

void CMainFrame::OnRButtonDown(UINT, POINT point)
{
    SetCapture(m_hWnd);
    ClientToScreen(&point);
    ShowPaletteAt(point);
    Default();
}

void CMainFrame::OnRButtonUp(UINT, POINT)
{
    if (GetCapture() == m_hWnd) {
        ReleaseCapture();
        Default();
    }
}

void CMainFrame::OnLButtonDown(UINT, POINT)
{
    HidePalette();
    Default();
}

void CMainFrame::OnLButtonUp(UINT, POINT)
{
    Default();
}
