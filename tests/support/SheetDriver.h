// Drives the Movie Controls sheet from inside its own modal loop, in the test's process:
// a thread timer finds this thread's sheet, hands it to the test's steps, and closes it
// afterwards if the steps did not, so that Configure always returns. A sheet that shows no
// page within kBoundMs is a failure, and is closed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include "CallbackType.h"

#include <gtest/gtest.h>

class CSheetDriver {
public:
    typedef std::function<void(HWND hSheet)> Steps;

    static constexpr DWORD kBoundMs = 10000;

    explicit CSheetDriver(Steps steps) : m_steps(std::move(steps)), m_dwStart(GetTickCount())
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
        // This thread's sheet: another process may show one too.
        HWND hSheet = nullptr;
        while ((hSheet = FindWindowExA(nullptr, hSheet, "#32770", "Movie Controls")) != nullptr &&
               GetWindowThreadProcessId(hSheet, nullptr) != GetCurrentThreadId()) {
        }
        if (GetTickCount() - pDriver->m_dwStart > kBoundMs) {
            // Too late: whatever sheet shows is closed, so that Configure returns.
            if (!pDriver->m_bLate)
                ADD_FAILURE() << "no Movie Controls sheet with a page within " << kBoundMs << " ms";
            pDriver->m_bLate = true;
            if (hSheet != nullptr)
                Close(hSheet);
            return;
        }
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
    DWORD m_dwStart;
    UINT_PTR m_nTimer = 0;
    bool m_bRan = false;
    bool m_bLate = false;
};
