#include "Dialog.h"

#include <algorithm>

#include "ModalScope.h"

namespace {

// Thrown by CDataExchange::Fail and caught by UpdateData.
struct CExchangeFailed {};

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hCtrl = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (hCtrl == nullptr)
        Fail();
    m_idLastControl = nIDC;
    return hCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl != 0) {
        // The dialog manager's own focus move, which also selects an edit's text.
        HWND hCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, m_idLastControl);
        if (hCtrl != nullptr)
            ::SendMessageA(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hCtrl), TRUE);
    }
    throw CExchangeFailed();
}

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value)
{
    HWND hCtrl = pDX->PrepareCtrl(nIDC);
    HWND hDlg = pDX->m_pDlgWnd->m_hWnd;
    if (pDX->m_bSaveAndValidate) {
        int nLength = ::GetWindowTextLengthA(hCtrl);
        std::string text(static_cast<size_t>(std::max(nLength, 0)) + 1, '\0');
        UINT nCopied = ::GetDlgItemTextA(hDlg, nIDC, &text[0], static_cast<int>(text.size()));
        text.resize(std::min<size_t>(nCopied, text.size() - 1));
        value.swap(text);
    } else {
        ::SetDlgItemTextA(hDlg, nIDC, value.c_str());
    }
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

INT_PTR CDialog::DoModal()
{
    CModalScope scope;
    HWND hWndParent = scope.GetOwner();
    if (hWndParent == nullptr && m_pParentWnd != nullptr)
        hWndParent = m_pParentWnd->m_hWnd;
    INT_PTR nResult = ::DialogBoxParamA(::GetModuleHandleA(nullptr),
                                        MAKEINTRESOURCEA(m_nIDTemplate), hWndParent, DialogProc,
                                        reinterpret_cast<LPARAM>(this));
    if (m_hWnd != nullptr)
        Detach();
    return nResult;
}

// Attaches the object at WM_INITDIALOG by subclassing the dialog window: from then on its
// messages reach the object's WindowProc first, and what the message map leaves goes on
// to the dialog manager, which calls back here and is told FALSE (not handled).
INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = reinterpret_cast<CDialog*>(lParam);
    if (pDlg == nullptr || !pDlg->SubclassWindow(hWnd)) {
        ::EndDialog(hWnd, -1);
        return FALSE;
    }
    RECT rcBefore;
    ::GetWindowRect(hWnd, &rcBefore);
    BOOL bSetFocus = pDlg->OnInitDialog();
    RECT rcAfter;
    ::GetWindowRect(hWnd, &rcAfter);
    // A dialog that OnInitDialog did not place shows centred over its owner.
    if (rcBefore.left == rcAfter.left && rcBefore.top == rcAfter.top &&
        !(pDlg->GetStyle() & WS_CHILD))
        pDlg->CenterOverOwner();
    return bSetFocus;
}

void CDialog::CenterOverOwner()
{
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO mi = {};
    mi.cbSize = sizeof(mi);
    if (!::GetMonitorInfoA(::MonitorFromWindow(hOwner != nullptr ? hOwner : m_hWnd,
                                               MONITOR_DEFAULTTONEAREST),
                           &mi))
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
    RECT rcCenter = mi.rcWork;
    if (hOwner != nullptr && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &rcCenter);

    RECT rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    LONG cx = rcDlg.right - rcDlg.left;
    LONG cy = rcDlg.bottom - rcDlg.top;
    LONG x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    LONG y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    // Keep it on the work area, its top-left corner first.
    x = std::max(mi.rcWork.left, std::min(x, mi.rcWork.right - cx));
    y = std::max(mi.rcWork.top, std::min(y, mi.rcWork.bottom - cy));
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CExchangeFailed&) {
        return FALSE;
    }
    return TRUE;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}
