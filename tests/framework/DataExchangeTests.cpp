// The data exchange forms on real controls: numbers shown and parsed back with the
// framework's messages for what does not parse or lies outside its range, check boxes,
// radio groups and combo box texts.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "DataExchange.h"
#include "MessageBoxWatcher.h"
#include "Wnd.h"

namespace {

const int kField = 100;

std::string Text(HWND hWnd)
{
    char sz[256] = "";
    GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

// A window with one control of each kind the pages use.
class DataExchange : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, "exchange", WS_POPUP, 0, 0, 300, 200, nullptr,
                                   nullptr));
        m_hEdit = Child("EDIT", "", WS_CHILD | WS_TABSTOP, kField);
        m_hCheck = Child("BUTTON", "check", WS_CHILD | BS_AUTOCHECKBOX, 101);
        for (int i = 0; i < 3; ++i)
            m_hRadio[i] = Child("BUTTON", "radio",
                                WS_CHILD | BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP : 0), 110 + i);
        m_hCombo = Child("COMBOBOX", "", WS_CHILD | CBS_DROPDOWNLIST | WS_GROUP, 120);
        for (const char* psz : {"320x200x08", "640x400x08", "640x480x08"})
            SendMessageA(m_hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(psz));
    }
    void TearDown() override { m_wnd.DestroyWindow(); }

    HWND Child(const char* pszClass, const char* pszText, DWORD dwStyle, int nID)
    {
        return CreateWindowExA(0, pszClass, pszText, dwStyle, 0, 0, 100, 100, m_wnd.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(nID)),
                               GetModuleHandleA(nullptr), nullptr);
    }

    // Runs one exchange; false when it failed.
    template <class F>
    bool Exchange(BOOL bSave, F exchange)
    {
        CDataExchange dx(&m_wnd, bSave);
        try {
            exchange(&dx);
        } catch (...) {
            return false;
        }
        return true;
    }

    CWnd m_wnd;
    HWND m_hEdit = nullptr, m_hCheck = nullptr, m_hRadio[3] = {}, m_hCombo = nullptr;
    CMessageBoxWatcher m_boxes;
};

TEST_F(DataExchange, WholeNumbersParseWithBlanksAroundAndNothingElse)
{
    struct Row {
        const char* pszTyped;
        bool bAccepted;
        long lValue;
    } rows[] = {
        {"12", true, 12},   {"  -7\t", true, -7}, {"0", true, 0},         {"+3", true, 3},
        {"12abc", false, 0}, {"", false, 0},      {"abc", false, 0},       {"1.5", false, 0},
        {"-0", false, 0},   {"00", true, 0},
        // Beyond what a long holds: refused, not taken as the nearest bound.
        {"2147483647", true, 2147483647L}, {"99999999999", false, 0}, {"-99999999999", false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszTyped);
        SetWindowTextA(m_hEdit, row.pszTyped);
        size_t nBoxesBefore = m_boxes.Texts().size();
        long lValue = 99;
        EXPECT_EQ(Exchange(TRUE, [&](CDataExchange* pDX) { DDX_Text(pDX, kField, lValue); }),
                  row.bAccepted);
        std::vector<std::string> texts = m_boxes.Texts();
        if (row.bAccepted) {
            EXPECT_EQ(lValue, row.lValue);
            EXPECT_EQ(texts.size(), nBoxesBefore);
        } else {
            EXPECT_EQ(lValue, 99) << "a refused text leaves the member";
            ASSERT_EQ(texts.size(), nBoxesBefore + 1);
            EXPECT_EQ(texts.back(), "Please enter an integer.");
        }
    }
}

TEST_F(DataExchange, NumbersParseAndShowWithFifteenDigits)
{
    struct Row {
        const char* pszTyped;
        bool bAccepted;
        double dValue;
    } rows[] = {
        {"1", true, 1.0},     {" 2.5 ", true, 2.5}, {"1e1", true, 10.0}, {".5", true, 0.5},
        {"0", true, 0.0},     {"abc", false, 0},    {"", false, 0},      {"4x", false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.pszTyped);
        SetWindowTextA(m_hEdit, row.pszTyped);
        size_t nBoxesBefore = m_boxes.Texts().size();
        double dValue = 99;
        EXPECT_EQ(Exchange(TRUE, [&](CDataExchange* pDX) { DDX_Text(pDX, kField, dValue); }),
                  row.bAccepted);
        if (row.bAccepted) {
            EXPECT_EQ(dValue, row.dValue);
        } else {
            ASSERT_EQ(m_boxes.Texts().size(), nBoxesBefore + 1);
            EXPECT_EQ(m_boxes.Texts().back(), "Please enter a number.");
        }
    }

    struct Shown {
        double dValue;
        const char* pszText;
    } shown[] = {{1.0, "1"}, {0.04, "0.04"}, {1.0 / 3, "0.333333333333333"}, {1e20, "1e+20"}};
    for (const Shown& row : shown) {
        double dValue = row.dValue;
        EXPECT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { DDX_Text(pDX, kField, dValue); }));
        EXPECT_EQ(Text(m_hEdit), row.pszText);
    }
    long lValue = -42;
    EXPECT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { DDX_Text(pDX, kField, lValue); }));
    EXPECT_EQ(Text(m_hEdit), "-42");
}

TEST_F(DataExchange, TheRangeCheckTakesBothBoundsAndNamesThem)
{
    struct Row {
        double dValue;
        bool bAccepted;
    } rows[] = {{0.0, true}, {4.0, true}, {2.5, true}, {4.01, false}, {-0.5, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dValue);
        size_t nBoxesBefore = m_boxes.Texts().size();
        EXPECT_EQ(Exchange(TRUE,
                           [&](CDataExchange* pDX) {
                               pDX->PrepareCtrl(kField);
                               DDV_MinMaxDouble(pDX, row.dValue, 0.0, 4.0);
                           }),
                  row.bAccepted);
        if (!row.bAccepted) {
            ASSERT_EQ(m_boxes.Texts().size(), nBoxesBefore + 1);
            EXPECT_EQ(m_boxes.Texts().back(), "Please enter a number between 0 and 4.");
        }
    }
    // Loading never checks.
    double dOut = 9;
    EXPECT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) { DDV_MinMaxDouble(pDX, dOut, 0, 4); }));
}

TEST_F(DataExchange, CheckBoxesRadioGroupsAndComboTextsMoveBothWays)
{
    BOOL bCheck = TRUE;
    int nRadio = 2;
    std::string mode = "640";
    ASSERT_TRUE(Exchange(FALSE, [&](CDataExchange* pDX) {
        DDX_Check(pDX, 101, bCheck);
        DDX_Radio(pDX, 110, nRadio);
        DDX_CBString(pDX, 120, mode);
    }));
    EXPECT_EQ(SendMessageA(m_hCheck, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(m_hRadio[2], BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(m_hRadio[0], BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(m_hCombo, CB_GETCURSEL, 0, 0), 1) << "the first entry beginning so";

    SendMessageA(m_hCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(m_hRadio[2], BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(m_hRadio[1], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(m_hCombo, CB_SETCURSEL, 2, 0);
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) {
        DDX_Check(pDX, 101, bCheck);
        DDX_Radio(pDX, 110, nRadio);
        DDX_CBString(pDX, 120, mode);
    }));
    EXPECT_EQ(bCheck, FALSE);
    EXPECT_EQ(nRadio, 1);
    EXPECT_EQ(mode, "640x480x08");

    // Nothing checked, nothing selected.
    SendMessageA(m_hRadio[1], BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(m_hCombo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_TRUE(Exchange(TRUE, [&](CDataExchange* pDX) {
        DDX_Radio(pDX, 110, nRadio);
        DDX_CBString(pDX, 120, mode);
    }));
    EXPECT_EQ(nRadio, -1);
    EXPECT_EQ(mode, "");
}

}  // namespace
