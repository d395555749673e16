#include "NTandrelSheet.h"

#include <string>

#include "Holders.h"
#include "PlaybackHost.h"
#include "ResourceText.h"
#include "resource.h"

namespace {

// Resolutions up to this many dots per inch get the small layout.
const int kSmallLayoutDpi = 96;
// The sheet's bottom edge stays this far above the bottom of the screen.
const int kBottomGap = 30;

struct SheetLayout {
    int cx, cy;                   // the sheet
    int nButtonRight;             // the button's left edge is the sheet width less this
    int cxButton, cyButton;
};
const SheetLayout kSmall = {342, 188, 48, 36, 16};
const SheetLayout kLarge = {454, 230, 68, 42, 20};
const int kButtonTop = 8;

HWND MainWindow()
{
    CPlaybackHost* pHost = CPlaybackHost::Get();
    return pHost != nullptr ? pHost->GetMainWindow() : nullptr;
}

std::string TextOf(UINT nID)
{
    char sz[256];
    LoadText(nID, sz, sizeof(sz));
    return sz;
}

}  // namespace

CNTandrelSheet::CNTandrelSheet(UINT nStartPage)
    : CPropertySheet(TextOf(IDS_MOVIE_CONTROLS).c_str(), nullptr, nStartPage),
      m_nLastActivePage(0)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    m_psh.dwFlags &= ~static_cast<DWORD>(PSH_HASHELP);
    AddPage(&m_pageMedia);
    AddPage(&m_pageVideo);
    AddPage(&m_pageAudio);
    AddPage(&m_pageInfo);
}

BOOL CNTandrelSheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDOK)
        m_nLastActivePage = GetActiveIndex();
    return CPropertySheet::OnCommand(wParam, lParam);
}

BOOL CNTandrelSheet::OnInitDialog()
{
    int nDpi = kSmallLayoutDpi;
    {
        CDCHolder dc(MainWindow());
        if (dc.Get() != nullptr)
            nDpi = ::GetDeviceCaps(dc.Get(), LOGPIXELSX);
    }
    const SheetLayout& layout = nDpi <= kSmallLayoutDpi ? kSmall : kLarge;

    CPropertySheet::OnInitDialog();

    int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    MoveWindow((cxScreen - layout.cx) / 2, cyScreen - layout.cy - kBottomGap, layout.cx,
               layout.cy, TRUE);

    if (HWND hCancel = ::GetDlgItem(m_hWnd, IDCANCEL)) {
        ::ShowWindow(hCancel, SW_HIDE);
        ::EnableWindow(hCancel, FALSE);
    }
    if (HWND hOK = ::GetDlgItem(m_hWnd, IDOK)) {
        ::MoveWindow(hOK, layout.cx - layout.nButtonRight, kButtonTop, layout.cxButton,
                     layout.cyButton, TRUE);
        ::SetWindowTextA(hOK, TextOf(IDS_FINISH).c_str());
    }
    return TRUE;
}

void CNTandrelSheet::DropMainWindowTimers()
{
    HWND hMain = MainWindow();
    if (hMain == nullptr)
        return;  // a null window would take every timer of the thread, the pages' own too
    MSG msg;
    while (::PeekMessageA(&msg, hMain, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    }
}
