#include "PropertyPage.h"

#include <cstring>

#include "AfxRes.h"
#include "PropertySheet.h"

namespace {

// Fills the controls from the template's initial data, if it has any: entries of control
// id, 16-bit message, length and bytes, up to a zero id.
void ExecuteDlgInit(HWND hDlg, const char* pszTemplate)
{
    HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    HRSRC hResource = ::FindResourceA(hInstance, pszTemplate, MAKEINTRESOURCEA(RT_DLGINIT));
    if (hResource == nullptr)
        return;
    DWORD cbSize = ::SizeofResource(hInstance, hResource);
    HGLOBAL hData = ::LoadResource(hInstance, hResource);
    const BYTE* p = hData != nullptr ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    if (p == nullptr)
        return;
    const BYTE* pEnd = p + cbSize;
    while (pEnd - p >= 8) {
        WORD nIDC = 0, nMsg = 0;
        DWORD cbData = 0;
        memcpy(&nIDC, p, sizeof(nIDC));
        if (nIDC == 0)
            break;
        memcpy(&nMsg, p + 2, sizeof(nMsg));
        memcpy(&cbData, p + 4, sizeof(cbData));
        p += 8;
        if (cbData > static_cast<DWORD>(pEnd - p) || cbData == 0 || p[cbData - 1] != '\0')
            break;  // malformed data: stop rather than read past it
        UINT message = nMsg == CB_ADDSTRING_16 ? CB_ADDSTRING
                       : nMsg == LB_ADDSTRING_16 ? LB_ADDSTRING : 0;
        if (message != 0)
            ::SendDlgItemMessageA(hDlg, nIDC, message, 0, reinterpret_cast<LPARAM>(p));
        p += cbData;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
END_MESSAGE_MAP()

CPropertyPage::CPropertyPage(UINT nIDTemplate)
    : CDialog(nIDTemplate), m_psp(), m_pSheet(nullptr), m_bFirstSetActive(TRUE)
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = ::GetModuleHandleA(nullptr);
    m_psp.pszTemplate = MAKEINTRESOURCEA(nIDTemplate);
    m_psp.pfnDlgProc = PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

// The page's dialog procedure: the object takes the window over at WM_INITDIALOG (lParam
// is the sheet's copy of m_psp); from then on its map sees every message first.
INT_PTR CALLBACK CPropertyPage::PageProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    const PROPSHEETPAGEA* pPsp = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    CPropertyPage* pPage = pPsp != nullptr ? reinterpret_cast<CPropertyPage*>(pPsp->lParam) : nullptr;
    if (pPage == nullptr || !pPage->SubclassWindow(hWnd))
        return FALSE;
    ExecuteDlgInit(hWnd, pPage->m_psp.pszTemplate);
    return pPage->OnInitDialog();
}

BOOL CPropertyPage::OnSetActive()
{
    // The first activation follows OnInitDialog, which has just loaded the controls.
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    return TRUE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0) {
        const AFX_MSGMAP_ENTRY* pEntry =
            FindMessageEntry(WM_COMMAND, AFX_CN_CONTROL(HIWORD(wParam)), LOWORD(wParam));
        if (pEntry != nullptr) {
            pEntry->pfnThunk(this, LOWORD(wParam), wParam, lParam, nullptr);
            return TRUE;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pHdr = reinterpret_cast<const NMHDR*>(lParam);
    if (pHdr == nullptr || pHdr->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, pResult);
    switch (pHdr->code) {
    case PSN_SETACTIVE:
        *pResult = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        *pResult = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        // Finish counts only when every page accepted it: a refusal after other pages
        // accepted keeps the sheet open, and a close box after that is no Finish.
        if (OnApply()) {
            if (m_pSheet != nullptr)
                m_pSheet->m_bFinished = TRUE;
            *pResult = PSNRET_NOERROR;
        } else {
            if (m_pSheet != nullptr)
                m_pSheet->m_bFinished = FALSE;
            *pResult = PSNRET_INVALID_NOCHANGEPAGE;
        }
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    // The sheet reads the answer as the message's result; a dialog also keeps it here.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *pResult);
    return TRUE;
}
