#include "ControlBar.h"

#include "FrameWnd.h"
#include "ResourceText.h"

namespace {

const int kImageWidth = 16;
const int kImageHeight = 15;

}  // namespace

BOOL AfxTooltipText(UINT nID, char* pszText, int cchText)
{
    char szFull[256] = "";
    if (LoadText(nID, szFull, sizeof(szFull)) == 0)
        return FALSE;
    const char* pszTip = szFull;
    for (const char* p = szFull; *p != '\0'; ++p) {
        if (*p == '\n') {
            pszTip = p + 1;
            break;
        }
    }
    lstrcpynA(pszText, pszTip, cchText);
    return TRUE;
}

// ---- CControlBar ----

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CControlBar::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CControlBar::CControlBar()
    : m_cxLeftBorder(6),
      m_cxRightBorder(6),
      m_cyTopBorder(2),
      m_cyBottomBorder(2),
      m_dwStyle(0),
      m_dwDockStyle(0),
      m_pDockSite(nullptr),
      m_pFloatFrame(nullptr)
{
}

CControlBar::~CControlBar()
{
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
    // The floating window deletes itself when destroyed (and forgets the bar then).
    if (m_pFloatFrame != nullptr)
        m_pFloatFrame->DestroyWindow();
}

BOOL CControlBar::IsVisible() const
{
    if (m_hWnd == nullptr || !(GetStyle() & WS_VISIBLE))
        return FALSE;
    return m_pFloatFrame == nullptr || m_pFloatFrame->IsWindowVisible();
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (m_pDockSite != nullptr && IsVisible())
        OnUpdateCmdUI(m_pDockSite, static_cast<BOOL>(wParam));
    return 0;
}

// ---- CToolBar ----

void CToolCmdUI::Enable(BOOL bOn)
{
    CCmdUI::Enable(bOn);
    ::SendMessageA(m_hWndToolBar, TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
}

void CToolCmdUI::SetCheck(int nCheck)
{
    ::SendMessageA(m_hWndToolBar, TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck != 0, 0));
}

CToolBar::CToolBar() : m_nImages(0) {}

CToolBar::~CToolBar() = default;

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & 0xFFFF;
    DWORD dwWinStyle = (dwStyle & 0xFFFF0000) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NORESIZE |
                       CCS_NODIVIDER;
    if (m_dwStyle & CBRS_TOOLTIPS)
        dwWinStyle |= TBSTYLE_TOOLTIPS;
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, dwWinStyle, 0, 0, 0, 0,
                        pParentWnd->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(kImageWidth, kImageHeight));
    m_pDockSite = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (m_pDockSite != nullptr)
        m_pDockSite->AddControlBar(this);
    return TRUE;
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CToolBar::LoadBitmap(UINT nIDBitmap)
{
    HBITMAP hBitmap = ::LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(nIDBitmap));
    if (hBitmap == nullptr)
        return FALSE;
    BITMAP bm = {};
    GetObjectA(hBitmap, sizeof(bm), &bm);
    DeleteObject(hBitmap);
    m_nImages = bm.bmWidth / kImageWidth;
    TBADDBITMAP add = {GetModuleHandleA(nullptr), nIDBitmap};
    return SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(m_nImages),
                       reinterpret_cast<LPARAM>(&add)) != static_cast<LRESULT>(-1);
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    // The resource: version, image width, image height, count, then the button ids.
    HMODULE hModule = GetModuleHandleA(nullptr);
    HRSRC hRsrc = FindResourceA(hModule, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(241));
    if (hRsrc == nullptr)
        return FALSE;
    HGLOBAL hGlobal = LoadResource(hModule, hRsrc);
    const WORD* pData = static_cast<const WORD*>(LockResource(hGlobal));
    DWORD cbData = SizeofResource(hModule, hRsrc);
    if (pData == nullptr || cbData < 8 || pData[0] != 1)
        return FALSE;
    int nCount = pData[3];
    if (cbData < static_cast<DWORD>(8 + 2 * nCount) || nCount > 64)
        return FALSE;
    UINT ids[64];
    for (int i = 0; i < nCount; ++i)
        ids[i] = pData[4 + i];
    return LoadBitmap(nIDResource) && SetButtons(ids, nCount);
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    int nImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON button = {};
        if (lpIDArray[i] == ID_SEPARATOR) {
            button.iBitmap = 8;
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.iBitmap = nImage++;
            button.idCommand = static_cast<int>(lpIDArray[i]);
            button.fsStyle = TBSTYLE_BUTTON;
            button.fsState = TBSTATE_ENABLED;
        }
        if (!SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button)))
            return FALSE;
    }
    return TRUE;
}

int CToolBar::GetCount() const
{
    return static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return static_cast<int>(::SendMessageA(m_hWnd, TB_COMMANDTOINDEX, nIDFind, 0));
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button = {};
    ::SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(&button));
    return static_cast<UINT>(button.idCommand);
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON button = {};
    ::SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                   reinterpret_cast<LPARAM>(&button));
    UINT nStyle = button.fsStyle | (static_cast<UINT>(button.fsState) << 8);
    nStyle &= ~static_cast<UINT>(TBSTATE_ENABLED << 8);
    if (!(button.fsState & TBSTATE_ENABLED))
        nStyle |= TBBS_DISABLED;
    return nStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    UINT nID = GetItemID(nIndex);
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_STYLE | TBIF_STATE;
    info.fsStyle = static_cast<BYTE>(nStyle & 0xFF);
    info.fsState = static_cast<BYTE>((nStyle >> 8) & ~TBSTATE_ENABLED);
    if (!(nStyle & TBBS_DISABLED))
        info.fsState |= TBSTATE_ENABLED;
    SendMessage(TB_SETBUTTONINFOA, nID, reinterpret_cast<LPARAM>(&info));
}

SIZE CToolBar::CalcFixedLayout(BOOL, BOOL)
{
    // The extent of the buttons as the control lays them out, rows broken at wraps.
    SIZE size = {0, 0};
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        RECT rc = {};
        if (::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(i),
                           reinterpret_cast<LPARAM>(&rc))) {
            if (rc.right > size.cx)
                size.cx = rc.right;
            if (rc.bottom > size.cy)
                size.cy = rc.bottom;
        }
    }
    size.cx += m_cxLeftBorder + m_cxRightBorder;
    size.cy += m_cyTopBorder + m_cyBottomBorder;
    return size;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        UINT nID = GetItemID(i);
        if (nID == ID_SEPARATOR)
            continue;
        CToolCmdUI ui;
        ui.m_nID = nID;
        ui.m_hWndToolBar = m_hWnd;
        if (!pTarget->OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &ui) && bDisableIfNoHndler) {
            AFX_CMDHANDLERINFO info = {nullptr};
            ui.Enable(pTarget->OnCmdMsg(nID, CN_COMMAND, nullptr, &info));
        }
    }
}

// ---- CStatusBar ----

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & 0xFFFF;
    DWORD dwWinStyle = (dwStyle & 0xFFFF0000) | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_BOTTOM;
    if (!CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, dwWinStyle, 0, 0, 0, 0, pParentWnd->m_hWnd,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID))))
        return FALSE;
    m_pDockSite = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (m_pDockSite != nullptr)
        m_pDockSite->AddControlBar(this);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    if (nIDCount > static_cast<int>(sizeof(m_ids) / sizeof(m_ids[0])))
        return FALSE;
    m_nCount = nIDCount;
    int edges[8];
    for (int i = 0; i < nIDCount; ++i) {
        m_ids[i] = lpIDArray[i];
        edges[i] = i == nIDCount - 1 ? -1 : 200 + 40 * i;
    }
    return SendMessage(SB_SETPARTS, static_cast<WPARAM>(nIDCount), reinterpret_cast<LPARAM>(edges)) != 0;
}

SIZE CStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    RECT rc = {};
    GetWindowRect(&rc);
    SIZE size = {32767, rc.bottom - rc.top > 0 ? rc.bottom - rc.top : 20};
    return size;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    for (int i = 0; i < m_nCount; ++i) {
        const char* pszText = "";
        switch (m_ids[i]) {
        case ID_INDICATOR_CAPS: pszText = (GetKeyState(VK_CAPITAL) & 1) ? "CAP" : ""; break;
        case ID_INDICATOR_NUM: pszText = (GetKeyState(VK_NUMLOCK) & 1) ? "NUM" : ""; break;
        case ID_INDICATOR_SCRL: pszText = (GetKeyState(VK_SCROLL) & 1) ? "SCRL" : ""; break;
        default: continue;
        }
        SendMessage(SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(pszText));
    }
}

// ---- CMiniDockFrameWnd ----

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

BOOL CMiniDockFrameWnd::Create(CFrameWnd* pOwner, const char* pszTitle)
{
    return CreateEx(WS_EX_TOOLWINDOW, nullptr, pszTitle,
                    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, 0, 100, 100,
                    pOwner->m_hWnd, nullptr);
}

void CMiniDockFrameWnd::FitAround(POINT ptScreen)
{
    SIZE size = m_pBar->CalcFixedLayout(FALSE, TRUE);
    RECT rc = {0, 0, size.cx, size.cy};
    AdjustWindowRectEx(&rc, GetStyle(), FALSE,
                       static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
    ::SetWindowPos(m_hWnd, nullptr, ptScreen.x, ptScreen.y, rc.right - rc.left,
                   rc.bottom - rc.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(m_pBar->m_hWnd, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CMiniDockFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // The bar's buttons command the frame the bar belongs to.
    CFrameWnd* pFrame = m_pBar->GetDockingFrame();
    if (pFrame == nullptr)
        return FALSE;
    return pFrame->OnCommand(wParam, lParam);
}

BOOL CMiniDockFrameWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
    if (pHdr->code == TTN_GETDISPINFOA) {
        NMTTDISPINFOA* pInfo = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        AfxTooltipText(static_cast<UINT>(pHdr->idFrom), pInfo->szText, sizeof(pInfo->szText));
        pInfo->lpszText = pInfo->szText;
        pInfo->hinst = nullptr;
        *pResult = 0;
        return TRUE;
    }
    if (pHdr->code == TTN_GETDISPINFOW) {
        NMTTDISPINFOW* pInfo = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        char szText[80] = "";
        AfxTooltipText(static_cast<UINT>(pHdr->idFrom), szText, sizeof(szText));
        MultiByteToWideChar(CP_ACP, 0, szText, -1, pInfo->szText, 80);
        pInfo->lpszText = pInfo->szText;
        pInfo->hinst = nullptr;
        *pResult = 0;
        return TRUE;
    }
    return FALSE;
}

void CMiniDockFrameWnd::OnClose()
{
    if (m_pBar->GetDockingFrame() != nullptr)
        m_pBar->GetDockingFrame()->ShowControlBar(m_pBar, FALSE, FALSE);
}

void CMiniDockFrameWnd::PostNcDestroy()
{
    if (m_pBar->m_pFloatFrame == this)
        m_pBar->m_pFloatFrame = nullptr;
    delete this;
}
