// One page of a property sheet, made from a dialog template when its tab is first shown.
// Its controls show the members whenever the page comes to the front, and the members
// take the controls' values (validated) whenever the page is left, Finish included.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Dialog.h"
#include "CallbackType.h"

class CPropertySheet;

// Control notifications a page's map binds (the notification code and the control id).
#define AFX_CN_CONTROL(code) (0x10000 + static_cast<int>(code))
#define ON_CONTROL(code, id, memberFxn)                                            \
    {WM_COMMAND, AFX_CN_CONTROL(code), (id), (id), [](AFX_THUNK_ARGS) -> LRESULT { \
         AFX_UNUSED_ARGS;                                                          \
         (AFX_THIS->*(memberFxn))();                                               \
         return 0;                                                                 \
     }},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT nIDTemplate);

    // The page as the platform's sheet takes it; the caption is the template's.
    PROPSHEETPAGEA m_psp;

    // The page comes to the front; FALSE keeps it from showing.
    virtual BOOL OnSetActive();
    // The page is about to be left (another tab, or Finish); FALSE keeps it in front.
    virtual BOOL OnKillActive();
    // Finish was accepted; the members already hold the controls' values. FALSE keeps
    // the sheet open.
    virtual BOOL OnApply();
    // The sheet's buttons belong to the sheet: a page ends nothing itself.
    void OnOK() override;
    void OnCancel() override;

protected:
    DECLARE_MESSAGE_MAP()

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    TANDREL_ASSERT_CALLBACK(DLGPROC, PageProc);

    CPropertySheet* m_pSheet;
    BOOL m_bFirstSetActive;
};
