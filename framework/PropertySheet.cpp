#include "PropertySheet.h"

#include "ModalScope.h"
#include "PropertyPage.h"

namespace {

// The sheet whose window is being created, and the hook that takes it over.
CPropertySheet* g_pSheetInit = nullptr;
HHOOK g_hCreationHook = nullptr;

}  // namespace

CPropertySheet::CPropertySheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_psh(), m_strCaption(pszCaption != nullptr ? pszCaption : ""), m_pParentWnd(pParentWnd),
      m_bFinished(FALSE)
{
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.hInstance = ::GetModuleHandleA(nullptr);
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    pPage->m_pSheet = this;
    m_pages.push_back(pPage);
}

int CPropertySheet::GetActiveIndex() const
{
    if (m_hWnd == nullptr)
        return -1;
    HWND hTab = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    return hTab != nullptr ? static_cast<int>(::SendMessageA(hTab, TCM_GETCURSEL, 0, 0)) : -1;
}

namespace {

// Whether a window being created can be the sheet: a top-level dialog. Anything else the
// thread creates first (a window made in a creation callback, say) is left alone.
bool IsSheetCandidate(HWND hWnd, const CBT_CREATEWNDA* pCreate)
{
    if (pCreate == nullptr || pCreate->lpcs == nullptr || (pCreate->lpcs->style & WS_CHILD) != 0)
        return false;
    char szClass[16] = "";
    return ::GetClassNameA(hWnd, szClass, sizeof(szClass)) > 0 && lstrcmpA(szClass, "#32770") == 0;
}

}  // namespace

// Takes over the first top-level dialog the thread creates after the hook is set: the sheet.
LRESULT CALLBACK CPropertySheet::CreationHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = g_hCreationHook;
    if (nCode == HCBT_CREATEWND && g_pSheetInit != nullptr &&
        IsSheetCandidate(reinterpret_cast<HWND>(wParam), reinterpret_cast<CBT_CREATEWNDA*>(lParam))) {
        CPropertySheet* pSheet = g_pSheetInit;
        g_pSheetInit = nullptr;
        pSheet->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(hHook, nCode, wParam, lParam);
}

INT_PTR CPropertySheet::DoModal()
{
    m_pageDescs.clear();
    for (CPropertyPage* pPage : m_pages) {
        pPage->m_bFirstSetActive = TRUE;
        m_pageDescs.push_back(pPage->m_psp);
    }
    CModalScope scope;
    m_psh.dwFlags |= PSH_PROPSHEETPAGE;
    m_psh.dwFlags &= ~static_cast<DWORD>(PSH_MODELESS);
    m_psh.hwndParent = scope.GetOwner();
    if (m_psh.hwndParent == nullptr && m_pParentWnd != nullptr)
        m_psh.hwndParent = m_pParentWnd->m_hWnd;
    m_psh.pszCaption = m_strCaption.c_str();
    m_psh.nPages = static_cast<UINT>(m_pageDescs.size());
    m_psh.ppsp = m_pageDescs.empty() ? nullptr : m_pageDescs.data();
    m_bFinished = FALSE;

    g_pSheetInit = this;
    g_hCreationHook = ::SetWindowsHookExA(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId());
    INT_PTR nResult = ::PropertySheetA(&m_psh);
    if (g_hCreationHook != nullptr)
        ::UnhookWindowsHookEx(g_hCreationHook);
    g_hCreationHook = nullptr;
    g_pSheetInit = nullptr;
    if (m_hWnd != nullptr)
        Detach();
    if (nResult < 0)
        return -1;
    return m_bFinished ? IDOK : IDCANCEL;
}

LRESULT CPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        // Nothing else of the thread is to be taken over.
        if (g_hCreationHook != nullptr) {
            ::UnhookWindowsHookEx(g_hCreationHook);
            g_hCreationHook = nullptr;
        }
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CPropertySheet::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}
