#include "Wnd.h"

#include <commctrl.h>

#include <map>

#include "CmdUI.h"
#include "CallbackType.h"

namespace {

std::map<HWND, CWnd*>& HandleMap()
{
    static std::map<HWND, CWnd*> s_map;
    return s_map;
}

CWnd* g_pWndInit = nullptr;

// Finds out whether an update handler has disabled a command.
class CCommandEnableProbe : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        m_bEnabled = bOn;
    }
    BOOL m_bEnabled = TRUE;
};

}  // namespace

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(nullptr), m_bSubclassed(false), m_pCurrentMsg(nullptr) {}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr) {
        HWND hWnd = Detach();
        if (IsWindow(hWnd))
            ::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = HandleMap().find(hWnd);
    return it != HandleMap().end() ? it->second : nullptr;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    HandleMap()[hWnd] = this;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr) {
        HandleMap().erase(hWnd);
        if (m_bSubclassed && IsWindow(hWnd))
            RemoveWindowSubclass(hWnd, AfxSubclassProc, 0);
    }
    m_hWnd = nullptr;
    m_bSubclassed = false;
    return hWnd;
}

void CWnd::HookWindowCreate(CWnd* pWnd)
{
    g_pWndInit = pWnd;
}

const char* CWnd::FrameworkClassName()
{
    static const char s_szClass[] = "TandrelFrameworkWnd";
    static bool s_bRegistered = false;
    if (!s_bRegistered) {
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
        wc.lpszClassName = s_szClass;
        s_bRegistered = RegisterClassA(&wc) != 0;
    }
    return s_szClass;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* pszClassName, const char* pszWindowName,
                    DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                    HMENU nIDorHMenu, void* lpParam)
{
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = pszClassName != nullptr ? pszClassName : FrameworkClassName();
    cs.lpszName = pszWindowName;
    cs.style = dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = GetModuleHandleA(nullptr);
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    HookWindowCreate(this);
    HWND hWnd = CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                cs.lpCreateParams);
    HookWindowCreate(nullptr);
    if (hWnd != nullptr && m_hWnd == nullptr)
        SubclassWindow(hWnd);  // a system class: take it over now
    return hWnd != nullptr;
}

// A window of another class is taken over through the common controls' subclass chain,
// which keeps every procedure in it typed; its own procedure stays next in the chain.
BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpA(szClass, FrameworkClassName()) == 0) {
        Attach(hWnd);  // AfxWndProc already serves it
        return TRUE;
    }
    if (!SetWindowSubclass(hWnd, AfxSubclassProc, 0, 0))
        return FALSE;
    Attach(hWnd);
    m_bSubclassed = true;
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == nullptr && g_pWndInit != nullptr) {
        pWnd = g_pWndInit;
        g_pWndInit = nullptr;
        pWnd->Attach(hWnd);
    }
    if (pWnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return Dispatch(pWnd, hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::AfxSubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return DefSubclassProc(hWnd, message, wParam, lParam);
    return Dispatch(pWnd, hWnd, message, wParam, lParam);
}

LRESULT CWnd::Dispatch(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg = {hWnd, message, wParam, lParam, 0, {0, 0}};
    const MSG* pOld = pWnd->m_pCurrentMsg;
    pWnd->m_pCurrentMsg = &msg;
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    pWnd->m_pCurrentMsg = pOld;

    if (message == WM_NCDESTROY && FromHandlePermanent(hWnd) == pWnd) {
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return lResult;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam))
            return 0;
    } else if (message == WM_NOTIFY) {
        LRESULT lResult = 0;
        if (OnNotify(wParam, lParam, &lResult))
            return lResult;
    } else if (const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message, 0, 0)) {
        return pEntry->pfnThunk(this, 0, wParam, lParam, nullptr);
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_bSubclassed)
        return DefSubclassProc(m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    if (m_pCurrentMsg == nullptr)
        return 0;
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    // Only menu, accelerator and button commands are routed; other control
    // notifications are left to the control's parent.
    if (nCode != 0 && nCode != 1)
        return FALSE;
    // A command that its update handler disables is not carried out.
    CCommandEnableProbe state;
    state.m_nID = nID;
    OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state);
    if (!state.m_bEnabled)
        return TRUE;
    return OnCmdMsg(nID, CN_COMMAND, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CWnd::PostNcDestroy() {}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE));
    DWORD dwNew = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNew)
        return FALSE;
    SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(dwNew));
    if (nFlags != 0)
        SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE));
}

CWnd* CWnd::GetParent() const
{
    return FromHandlePermanent(::GetParent(m_hWnd));
}

void CWnd::SetWindowText(const char* pszText)
{
    ::SetWindowTextA(m_hWnd, pszText);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

