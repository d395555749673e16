// One progress-bar control, destroyed with the object.
#pragma once

#include <windows.h>

class CProgressBar {
public:
    // Creates a visible child progress bar of hwndParent at the given client rectangle.
    CProgressBar(HWND hwndParent, int nLeft, int nTop, int nRight, int nBottom, UINT nId);
    ~CProgressBar();
    CProgressBar(const CProgressBar&) = delete;
    CProgressBar& operator=(const CProgressBar&) = delete;

    HWND GetSafeHwnd() const { return m_hwnd; }

private:
    HWND m_hwnd;
};
