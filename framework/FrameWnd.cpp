#include "FrameWnd.h"

#include <algorithm>
#include <string>

#include "AfxRes.h"
#include "ControlBar.h"
#include "Document.h"
#include "ModalScope.h"
#include "View.h"
#include "WinApp.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CFrameWnd::OnIdleUpdateCmdUI)
    ON_COMMAND(ID_CONTEXT_HELP, &CFrameWnd::OnContextHelp)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_hAccelTable(nullptr), m_pViewActive(nullptr), m_dwDockStyle(0), m_pContext(nullptr)
{
}

CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    m_hAccelTable = LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(nIDResource));
    char szTitle[MAX_PATH] = "";
    LoadStringA(hInstance, nIDResource, szTitle, sizeof(szTitle));
    for (char* p = szTitle; *p != '\0'; ++p) {
        if (*p == '\n') {
            *p = '\0';
            break;
        }
    }
    m_pContext = pContext;
    BOOL bCreated = CreateEx(0, nullptr, szTitle, dwDefaultStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT,
                             pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr, nullptr);
    m_pContext = nullptr;
    return bCreated;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA lpcs)
{
    if (Default() == -1)
        return -1;
    return OnCreateClient(lpcs, m_pContext) ? 0 : -1;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* pContext)
{
    if (pContext == nullptr || pContext->m_pfnCreateView == nullptr)
        return TRUE;
    CView* pView = pContext->m_pfnCreateView();
    if (pView == nullptr)
        return FALSE;
    pView->SetDocument(pContext->m_pCurrentDoc);
    if (!pView->CreateEx(WS_EX_CLIENTEDGE, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                         m_hWnd,
                         reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)))) {
        delete pView;  // a view that never had a window does not delete itself
        return FALSE;
    }
    m_pViewActive = pView;
    return TRUE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The view (and through it the document), then this frame, then the application.
    if (m_pViewActive != nullptr && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable != nullptr)
        return TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    if (m_pViewActive != nullptr)
        m_pViewActive->OnInitialUpdate();
    RecalcLayout();
    if (bMakeVisible) {
        ShowWindow(SW_SHOW);
        UpdateWindow(m_hWnd);
    }
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (m_hWnd == nullptr)
        return;
    RECT rc = {};
    GetClientRect(&rc);
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->IsFloating() || pBar->m_hWnd == nullptr || !(pBar->GetStyle() & WS_VISIBLE))
            continue;
        SIZE size = pBar->CalcFixedLayout(TRUE, TRUE);
        int cy = std::min<int>(size.cy, rc.bottom - rc.top);
        if (pBar->GetBarStyle() & CBRS_ALIGN_BOTTOM) {
            ::MoveWindow(pBar->m_hWnd, rc.left, rc.bottom - cy, rc.right - rc.left, cy, TRUE);
            rc.bottom -= cy;
        } else {
            ::MoveWindow(pBar->m_hWnd, rc.left, rc.top, rc.right - rc.left, cy, TRUE);
            rc.top += cy;
        }
    }
    if (m_pViewActive != nullptr && m_pViewActive->m_hWnd != nullptr)
        ::MoveWindow(m_pViewActive->m_hWnd, rc.left, rc.top, rc.right - rc.left,
                     rc.bottom - rc.top, TRUE);
}

void CFrameWnd::OnSize(UINT nType, int, int)
{
    Default();
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnClose()
{
    // A modal dialog or box is running a handler of ours further up the stack; closing
    // now would destroy what that handler still uses.
    if (CModalScope::IsActive())
        return;
    // The main window closes the document with it, which ends the program.
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->CloseAllDocuments(FALSE);
        return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    Default();
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        AfxPostQuitMessage(0);
    }
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::OnDropFiles(HDROP hDropInfo)
{
    SetActiveWindow(m_hWnd);
    CWinApp* pApp = AfxGetApp();
    UINT nFiles = DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles && pApp != nullptr; ++i) {
        // The whole name, however long: cut to a buffer it would open another file. The
        // document refuses a name too long to hold, and the other files are still opened.
        std::string file(DragQueryFileA(hDropInfo, i, nullptr, 0) + 1, '\0');
        UINT cch = DragQueryFileA(hDropInfo, i, &file[0], static_cast<UINT>(file.size()));
        file.resize(cch < file.size() ? cch : 0);
        if (!file.empty())
            pApp->OpenDocumentFile(file.c_str());
    }
    DragFinish(hDropInfo);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_hWnd != nullptr)
            ::SendMessageA(pBar->m_hWnd, WM_IDLEUPDATECMDUI, wParam, 0);
    }
    return 0;
}

void CFrameWnd::AddControlBar(CControlBar* pBar)
{
    if (std::find(m_listControlBars.begin(), m_listControlBars.end(), pBar) ==
        m_listControlBars.end())
        m_listControlBars.push_back(pBar);
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    m_listControlBars.erase(std::remove(m_listControlBars.begin(), m_listControlBars.end(), pBar),
                            m_listControlBars.end());
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    for (CControlBar* pBar : m_listControlBars) {
        if (pBar->m_hWnd != nullptr && static_cast<UINT>(GetDlgCtrlID(pBar->m_hWnd)) == nID)
            return pBar;
    }
    return nullptr;
}

void CFrameWnd::DockControlBar(CControlBar* pBar)
{
    if (pBar->m_pFloatFrame != nullptr) {
        ::SetParent(pBar->m_hWnd, m_hWnd);
        pBar->m_pFloatFrame->DestroyWindow();
    }
    RecalcLayout();
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, POINT ptScreen, DWORD)
{
    if (pBar->m_pFloatFrame == nullptr) {
        CMiniDockFrameWnd* pFloat = new CMiniDockFrameWnd(pBar);
        char szTitle[128] = "";
        GetWindowTextA(pBar->m_hWnd, szTitle, sizeof(szTitle));
        if (!pFloat->Create(this, szTitle)) {
            delete pFloat;
            return;
        }
        pBar->m_pFloatFrame = pFloat;
        ::SetParent(pBar->m_hWnd, pFloat->m_hWnd);
        ::ShowWindow(pBar->m_hWnd, SW_SHOWNA);
        RecalcLayout();
    }
    static_cast<CMiniDockFrameWnd*>(pBar->m_pFloatFrame)->FitAround(ptScreen);
    if (pBar->GetStyle() & WS_VISIBLE)
        ::ShowWindow(pBar->m_pFloatFrame->m_hWnd, SW_SHOWNA);
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    if (pBar->m_pFloatFrame != nullptr) {
        ::ShowWindow(pBar->m_hWnd, bShow ? SW_SHOWNA : SW_HIDE);
        ::ShowWindow(pBar->m_pFloatFrame->m_hWnd, bShow ? SW_SHOWNA : SW_HIDE);
    } else {
        ::ShowWindow(pBar->m_hWnd, bShow ? SW_SHOWNA : SW_HIDE);
        RecalcLayout();
    }
}

void CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (pBar != nullptr)
        ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    pCmdUI->Enable(pBar != nullptr);
    if (pBar != nullptr)
        pCmdUI->SetCheck(pBar->IsVisible() ? 1 : 0);
}

void CFrameWnd::OnContextHelp()
{
    // The help cursor stays until the next click or key; the click itself is taken.
    // The loop below runs this handler's own message pump, so the mode counts as modal:
    // the frame may not be closed under it.
    CModalScope scope;
    SetCapture(m_hWnd);
    SetCursor(LoadCursorA(nullptr, IDC_HELP));
    MSG msg = {};
    while (GetCapture() == m_hWnd && GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if ((msg.message >= WM_LBUTTONDOWN && msg.message <= WM_MBUTTONDBLCLK) ||
            msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
            break;
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_SETCURSOR) {
            SetCursor(LoadCursorA(nullptr, IDC_HELP));
            continue;
        }
        DispatchMessageA(&msg);
    }
    if (msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
    ReleaseCapture();
}
