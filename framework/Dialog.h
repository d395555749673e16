// Modal dialogs from a dialog template, and the exchange of data between a dialog's
// controls and the members of its object.
#pragma once

#include <windows.h>

#include <string>

#include "Wnd.h"
#include "CallbackType.h"

// One pass of data exchange: from the members to the controls (loading) or back
// (saving and validating).
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control nIDC of the dialog; a dialog without it fails the exchange.
    HWND PrepareCtrl(int nIDC);
    // Ends the exchange unsuccessfully: UpdateData returns FALSE and, when saving, the
    // focus goes to the control last prepared.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    int m_idLastControl;
};

// Moves the text of edit control nIDC to value (saving) or value to the control
// (loading); any length.
void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Shows the dialog owned by the main frame (or by the modal window on top of it; by
    // the parent window before there is a main frame) with the rest of the program
    // disabled, and returns what ended it: IDOK, IDCANCEL, or -1 when it could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Exchanges data with DoDataExchange; FALSE when an exchange failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    // Called once the controls exist, before the dialog shows; TRUE lets the dialog
    // manager put the focus on the first control.
    virtual BOOL OnInitDialog();
    // Command 1: saves the controls and ends with IDOK; stays open when that fails.
    virtual void OnOK();
    // Command 2 (also Esc and the close box): ends with IDCANCEL, keeping the members.
    virtual void OnCancel();

protected:
    DECLARE_MESSAGE_MAP()

    // Lists the dialog's exchanges (DDX_ calls); the base has none.
    virtual void DoDataExchange(CDataExchange* pDX);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    TANDREL_ASSERT_CALLBACK(DLGPROC, DialogProc);
    void CenterOverOwner();
};
