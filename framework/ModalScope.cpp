#include "ModalScope.h"

#include "Wnd.h"
#include "WinApp.h"

namespace {

int g_nModalDepth = 0;

}  // namespace

CModalScope::CModalScope() : m_hWndOwner(nullptr)
{
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWndMain = pMainWnd != nullptr ? pMainWnd->m_hWnd : nullptr;
    m_hWndOwner = hWndMain;
    if (hWndMain != nullptr && g_nModalDepth > 0) {
        // A dialog opened from a modal dialog belongs on top of that one.
        HWND hWndPopup = ::GetLastActivePopup(hWndMain);
        if (hWndPopup != nullptr && hWndPopup != hWndMain && ::IsWindowEnabled(hWndPopup) &&
            ::IsWindowVisible(hWndPopup))
            m_hWndOwner = hWndPopup;
    }
    ::EnumThreadWindows(::GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(this));
    ++g_nModalDepth;
}

CModalScope::~CModalScope()
{
    --g_nModalDepth;
    for (auto it = m_disabled.rbegin(); it != m_disabled.rend(); ++it) {
        if (::IsWindow(*it))
            ::EnableWindow(*it, TRUE);
    }
}

BOOL CALLBACK CModalScope::DisableOne(HWND hWnd, LPARAM lParam)
{
    CModalScope* pScope = reinterpret_cast<CModalScope*>(lParam);
    if (hWnd != pScope->m_hWndOwner && ::IsWindowEnabled(hWnd)) {
        ::EnableWindow(hWnd, FALSE);
        pScope->m_disabled.push_back(hWnd);
    }
    return TRUE;
}

BOOL CModalScope::IsActive()
{
    return g_nModalDepth > 0;
}
