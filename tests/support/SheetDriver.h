// Drives the Movie Controls sheet from inside its own modal loop, in the test's process:
// a thread timer finds the sheet, hands it to the test's steps, and closes it afterwards
// if the steps did not, so that Configure always returns.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include "CallbackType.h"

class CSheetDriver {
public:
    typedef std::function<void(HWND hSheet)> Steps;

    explicit CSheetDriver(Steps steps) : m_steps(std::move(steps))
    {
        s_pCurrent = this;
        m_nTimer = SetTimer(nullptr, 0, 20, OnTick);
    }
    ~CSheetDriver()
    {
        if (m_nTimer != 0)
            KillTimer(nullptr, m_nTimer);
        s_pCurrent = nullptr;
    }
    CSheetDriver(const CSheetDriver&) = delete;
    CSheetDriver& operator=(const CSheetDriver&) = delete;

    bool Ran() const { return m_bRan; }

    // The page in front, and a control on it.
    static HWND Page(HWND hSheet)
    {
        return reinterpret_cast<HWND>(SendMessageA(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    static HWND Control(HWND hSheet, int nID) { return GetDlgItem(Page(hSheet), nID); }
    static void ShowPage(HWND hSheet, int nIndex) { SendMessageA(hSheet, PSM_SETCURSEL, nIndex, 0); }
    // The sheet's buttons, as a click delivers them.
    static void Press(HWND hSheet, int nID)
    {
        SendMessageA(hSheet, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hSheet, nID)));
    }
    static void Finish(HWND hSheet) { Press(hSheet, IDOK); }
    static void Close(HWND hSheet) { SendMessageA(hSheet, WM_SYSCOMMAND, SC_CLOSE, 0); }
    // Moves a trackbar as its thumb would, with the scroll message the trackbar sends.
    static void MoveSlider(HWND hSheet, int nID, int nPos, UINT nCode = TB_THUMBPOSITION)
    {
        HWND hSlider = Control(hSheet, nID);
        SendMessageA(hSlider, TBM_SETPOS, TRUE, nPos);
        bool bVertical = (GetWindowLongA(hSlider, GWL_STYLE) & TBS_VERT) != 0;
        SendMessageA(Page(hSheet), bVertical ? WM_VSCROLL : WM_HSCROLL,
                     MAKEWPARAM(nCode, nPos), reinterpret_cast<LPARAM>(hSlider));
    }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD)
    {
        CSheetDriver* pDriver = s_pCurrent;
        if (pDriver == nullptr || pDriver->m_bRan)
            return;
        HWND hSheet = FindWindowA("#32770", "Movie Controls");
        if (hSheet == nullptr || Page(hSheet) == nullptr)
            return;
        pDriver->m_bRan = true;
        KillTimer(nullptr, pDriver->m_nTimer);
        pDriver->m_nTimer = 0;
        pDriver->m_steps(hSheet);
        if (IsWindow(hSheet) && IsWindowVisible(hSheet))
            Close(hSheet);
    }
    TANDREL_ASSERT_CALLBACK(TIMERPROC, OnTick);

    static inline CSheetDriver* s_pCurrent = nullptr;
    Steps m_steps;
    UINT_PTR m_nTimer = 0;
    bool m_bRan = false;
};
