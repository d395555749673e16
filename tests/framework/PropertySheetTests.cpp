// The property sheet's modal run on real windows: what its result says after pages
// refused Finish, what its description of the pages points at afterwards, and which
// window it takes over as it is created.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "CallbackType.h"
#include "PropertyPage.h"
#include "PropertySheet.h"
#include "SheetDriver.h"
#include "resource.h"

namespace {

// A page that refuses Finish as often as it is told to.
class CRefusingPage : public CPropertyPage {
public:
    CRefusingPage(UINT nIDTemplate, int nRefusals) : CPropertyPage(nIDTemplate), m_nRefusals(nRefusals) {}
    BOOL OnApply() override { return m_nRefusals-- > 0 ? FALSE : TRUE; }

private:
    int m_nRefusals;
};

class CRecordingSheet : public CPropertySheet {
public:
    CRecordingSheet() : CPropertySheet("Movie Controls") {}
    BOOL OnInitDialog() override
    {
        m_bInitialised = TRUE;
        return CPropertySheet::OnInitDialog();
    }
    BOOL m_bInitialised = FALSE;
};

HWND s_hEarly = nullptr;

int CALLBACK CreateWindowBeforeTheSheet(HWND, UINT uMsg, LPARAM)
{
    if (uMsg == PSCB_PRECREATE && s_hEarly == nullptr)
        s_hEarly = CreateWindowExA(0, "STATIC", "early", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    return 0;
}
TANDREL_ASSERT_CALLBACK(PFNPROPSHEETCALLBACK, CreateWindowBeforeTheSheet);

int TabIndex(HWND hSheet)
{
    HWND hTab = reinterpret_cast<HWND>(SendMessageA(hSheet, PSM_GETTABCONTROL, 0, 0));
    return static_cast<int>(SendMessageA(hTab, TCM_GETCURSEL, 0, 0));
}

}  // namespace

// The first page accepts Finish and the second refuses it; what ends the sheet then
// decides its result.
TEST(PropertySheetRun, FinishCountsOnlyWhenEveryPageAcceptedIt)
{
    struct Row {
        const char* pszName;
        bool bFinishAgain;  // else the close box
        INT_PTR nResult;
    } rows[] = {
        {"close box after the refusal", false, IDCANCEL},
        {"Finish again, now accepted", true, IDOK},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszName);
        CRefusingPage accepting(IDD_PAGE_VIDEO, 0), refusing(IDD_PAGE_AUDIO, 1);
        CRecordingSheet sheet;
        sheet.AddPage(&accepting);
        sheet.AddPage(&refusing);
        CSheetDriver driver([&](HWND hSheet) {
            CSheetDriver::ShowPage(hSheet, 1);
            CSheetDriver::Finish(hSheet);
            ASSERT_TRUE(IsWindowVisible(hSheet)) << "a refused Finish keeps the sheet open";
            EXPECT_EQ(TabIndex(hSheet), 1);
            if (row.bFinishAgain)
                CSheetDriver::Finish(hSheet);
            else
                CSheetDriver::Close(hSheet);
        });
        EXPECT_EQ(sheet.DoModal(), row.nResult);
        EXPECT_TRUE(driver.Ran());
    }
}

// After the run the description still names the sheet's pages, so that reading it (or
// running the sheet again) reads nothing that was let go.
TEST(PropertySheetRun, ThePagesDescriptionOutlivesTheRun)
{
    CPropertyPage first(IDD_PAGE_VIDEO), second(IDD_PAGE_AUDIO);
    CRecordingSheet sheet;
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    {
        CSheetDriver driver([](HWND hSheet) { CSheetDriver::Finish(hSheet); });
        ASSERT_EQ(sheet.DoModal(), IDOK);
    }
    // Memory let go is soon taken again: take some of the same size and fill it.
    std::vector<std::vector<char>> taken;
    for (int i = 0; i < 64; ++i)
        taken.emplace_back(sizeof(PROPSHEETPAGEA) * 2, '\xA5');
    ASSERT_EQ(sheet.m_psh.nPages, 2u);
    ASSERT_NE(sheet.m_psh.ppsp, nullptr);
    EXPECT_EQ(sheet.m_psh.ppsp[0].dwSize, sizeof(PROPSHEETPAGEA));
    EXPECT_EQ(sheet.m_psh.ppsp[0].lParam, reinterpret_cast<LPARAM>(&first));
    EXPECT_EQ(sheet.m_psh.ppsp[1].lParam, reinterpret_cast<LPARAM>(&second));
}

// A window the thread creates just before the sheet (here in the platform's creation
// callback) is not mistaken for it: the sheet object still gets the sheet's messages.
TEST(PropertySheetRun, OnlyTheSheetWindowIsTakenOver)
{
    CPropertyPage page(IDD_PAGE_VIDEO);
    CRecordingSheet sheet;
    sheet.AddPage(&page);
    sheet.m_psh.dwFlags |= PSH_USECALLBACK;
    sheet.m_psh.pfnCallback = CreateWindowBeforeTheSheet;
    HWND hSheetSeen = nullptr;
    CSheetDriver driver([&](HWND hSheet) {
        hSheetSeen = hSheet;
        EXPECT_EQ(sheet.m_hWnd, hSheet) << "the object holds the sheet's window";
        CSheetDriver::Finish(hSheet);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(driver.Ran());
    EXPECT_NE(s_hEarly, nullptr) << "the creation callback ran";
    EXPECT_TRUE(sheet.m_bInitialised) << "the sheet's own initialisation reached the object";
    if (s_hEarly != nullptr)
        DestroyWindow(s_hEarly);
}
