// Thin wrappers of the standard and common controls the player's pages bind: each is a
// window object that data exchange attaches to a dialog's control.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "Wnd.h"

// A trackbar.
class CSliderCtrl : public CWnd {
public:
    int GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, TBM_GETPOS, 0, 0)); }
    void SetPos(int nPos) { ::SendMessageA(m_hWnd, TBM_SETPOS, TRUE, nPos); }
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE)
    {
        ::SendMessageA(m_hWnd, TBM_SETRANGEMIN, bRedraw, nMin);
    }
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE)
    {
        ::SendMessageA(m_hWnd, TBM_SETRANGEMAX, bRedraw, nMax);
    }
    void SetTicFreq(int nFreq) { ::SendMessageA(m_hWnd, TBM_SETTICFREQ, nFreq, 0); }
};

// A progress bar. Its 16-bit range message is the classic one; the 32-bit form takes
// ranges above 65535.
class CProgressCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper)
    {
        ::SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper));
    }
    void SetRange32(int nLower, int nUpper)
    {
        ::SendMessageA(m_hWnd, PBM_SETRANGE32, nLower, nUpper);
    }
    int SetPos(int nPos) { return static_cast<int>(::SendMessageA(m_hWnd, PBM_SETPOS, nPos, 0)); }
};

// A single-line edit field.
class CEdit : public CWnd {
};

// A combo box.
class CComboBox : public CWnd {
public:
    int GetCurSel() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCURSEL, 0, 0)); }
    int GetCount() const { return static_cast<int>(::SendMessageA(m_hWnd, CB_GETCOUNT, 0, 0)); }
};
