#include "ProgressBar.h"

#include <commctrl.h>

CProgressBar::CProgressBar(HWND hwndParent, int nLeft, int nTop, int nRight, int nBottom,
                           UINT nId)
    : m_hwnd(nullptr)
{
    InitCommonControls();
    m_hwnd = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, nLeft, nTop,
                             nRight - nLeft, nBottom - nTop, hwndParent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)),
                             GetModuleHandleA(nullptr), nullptr);
}

CProgressBar::~CProgressBar()
{
    if (m_hwnd != nullptr)
        DestroyWindow(m_hwnd);
}
