// A modal tabbed dialog of property pages, run by the platform's property sheet. The
// object takes the sheet window over as it is created, so its OnInitDialog and OnCommand
// see the sheet's messages before the platform does.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "Wnd.h"
#include "CallbackType.h"

class CPropertyPage;

class CPropertySheet : public CWnd {
public:
    CPropertySheet(const char* pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    // Pages show in the order they are added; the sheet does not own them.
    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    // The index of the page in front, or -1 while the sheet has no window.
    int GetActiveIndex() const;

    // Runs the sheet owned by the main frame (or the modal window on top of it) with the
    // rest of the program disabled. IDOK when it ended with the OK button and every page
    // accepted its values, IDCANCEL when it ended another way, -1 when it could not run.
    virtual INT_PTR DoModal();

    // Called as the sheet is set up; the base lets the platform lay out the sheet and its
    // first page. TRUE lets the dialog manager choose the focus.
    virtual BOOL OnInitDialog();

    // The platform's description of the sheet (flags, caption, start page).
    PROPSHEETHEADERA m_psh;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class CPropertyPage;
    static LRESULT CALLBACK CreationHook(int nCode, WPARAM wParam, LPARAM lParam);
    TANDREL_ASSERT_CALLBACK(HOOKPROC, CreationHook);

    std::string m_strCaption;
    CWnd* m_pParentWnd;
    std::vector<CPropertyPage*> m_pages;
    // The pages as the platform takes them; m_psh.ppsp points here, so they live as long
    // as the sheet.
    std::vector<PROPSHEETPAGEA> m_pageDescs;
    BOOL m_bFinished;  // a page was told that Finish was accepted
};
