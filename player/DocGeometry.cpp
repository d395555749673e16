// The document's window geometry: fitting the main window to the video, re-styling it,
// and full screen.
#include "NTandrelDoc.h"
#include "NTandrelPageVideo.h"

#include "PlaybackHost.h"
#include "VideoGeometry.h"

namespace {

HWND MainWindow()
{
    CPlaybackHost* pHost = CPlaybackHost::Get();
    return pHost != nullptr ? pHost->GetMainWindow() : nullptr;
}

void ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
    SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>((dwStyle & ~dwRemove) | dwAdd));
    if (nFlags != 0)
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
}

}  // namespace

BOOL CNTandrelDoc::FitWindowToVideo(const char* pszTitle)
{
    HWND hWnd = MainWindow();
    if (hWnd == nullptr)
        return FALSE;
    SetWindowTextA(hWnd, pszTitle);
    ModifyStyle(hWnd, WS_MAXIMIZE, 0, 0);

    VideoFacts facts = {m_nVideoWidth, m_nVideoHeight, 0, 0, 0};
    if (m_pGraph == nullptr || FAILED(m_pGraph->GetVideoFacts(&facts)))
        return FALSE;
    m_nVideoWidth = facts.lWidth;
    m_nVideoHeight = facts.lHeight;
    if (!m_pGraph->HasVideoWindow())
        return FALSE;

    RECT rcWindow, rcClient;
    GetWindowRect(hWnd, &rcWindow);
    GetClientRect(hWnd, &rcClient);
    RECT rc = FitWindowRect(rcWindow, rcClient, m_nVideoWidth, m_nVideoHeight,
                            GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    MoveWindow(hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);

    RECT rcClient2;
    GetClientRect(hWnd, &rcClient2);
    m_pGraph->AttachVideo(hWnd, rcClient2.left, rcClient2.top, rcClient2.left + m_nVideoWidth,
                          rcClient2.top + m_nVideoHeight);
    return TRUE;
}

BOOL CNTandrelDoc::ApplyWindowStyle()
{
    if (MainWindow() == nullptr || m_pVideoPage == nullptr)
        return FALSE;
    return ApplyWindowStyle(m_pVideoPage->m_bCaption, m_pVideoPage->m_bThickFrame);
}

BOOL CNTandrelDoc::ApplyWindowStyle(BOOL bCaption, BOOL bThickFrame)
{
    HWND hWnd = MainWindow();
    if (hWnd == nullptr)
        return FALSE;
    RECT r;
    GetWindowRect(hWnd, &r);

    int nThickChange = 0;
    if ((bThickFrame != 0) != (m_bThickFrame != 0)) {
        m_bThickFrame = bThickFrame;
        if (!bThickFrame) {
            nThickChange = -1;
            ModifyStyle(hWnd, WS_THICKFRAME, 0, SWP_FRAMECHANGED);
            ModifyStyle(hWnd, 0, WS_BORDER, 0);
        } else {
            nThickChange = 1;
            ModifyStyle(hWnd, WS_BORDER, 0, 0);
            ModifyStyle(hWnd, 0, WS_THICKFRAME, SWP_FRAMECHANGED);
        }
    }
    int nCaptionChange = 0;
    if ((bCaption != 0) != (m_bCaption != 0)) {
        m_bCaption = bCaption;
        if (!bCaption) {
            nCaptionChange = -1;
            ModifyStyle(hWnd, WS_CAPTION, 0, 0);
        } else {
            nCaptionChange = 1;
            ModifyStyle(hWnd, 0, WS_CAPTION, SWP_FRAMECHANGED);
        }
    }
    if (StyleChangeRect(&r, nThickChange, nCaptionChange, m_nVideoWidth, m_nVideoHeight))
        MoveWindow(hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    return TRUE;
}

void CNTandrelDoc::ToggleFullScreen()
{
    if (m_pGraph == nullptr || !m_pGraph->HasVideoWindow())
        return;
    HWND hWnd = MainWindow();
    if (m_nSizeMode == 2) {
        m_pGraph->SetFullScreen(false);
        m_nSizeMode = 0;
        if (m_bRendererFullScreen && hWnd != nullptr) {
            // Put the video back over the view, as the view's rule places it: not every
            // renderer restores the size it had.
            RECT rcClient;
            GetClientRect(hWnd, &rcClient);
            m_pGraph->SetVideoPosition(0, 0, rcClient.right, rcClient.bottom);
        }
        m_bRendererFullScreen = FALSE;
        UncoverScreen();
    } else if (m_nSizeMode == 0) {
        HRESULT hr = m_pGraph->SetFullScreen(true);
        m_nSizeMode = 2;
        m_bRendererFullScreen = SUCCEEDED(hr);
        // Without a picture the switch goes unnoticed: nothing would fill the screen.
        if (FAILED(hr) && hWnd != nullptr && m_pGraph->HasVideo()) {
            // The renderer will not take the screen itself: the main window covers it,
            // without caption or border, and the video stretches with the view.
            GetWindowRect(hWnd, &m_rcBeforeFullScreen);
            m_dwStyleBeforeFullScreen = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
            SetWindowLongA(hWnd, GWL_STYLE,
                           static_cast<LONG>((m_dwStyleBeforeFullScreen &
                                              ~(WS_CAPTION | WS_THICKFRAME | WS_BORDER |
                                                WS_MAXIMIZE)) |
                                             WS_POPUP));
            SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                         GetSystemMetrics(SM_CYSCREEN), SWP_FRAMECHANGED | SWP_SHOWWINDOW);
            m_bCoversScreen = TRUE;
        }
    }
}

void CNTandrelDoc::UncoverScreen()
{
    HWND hWnd = MainWindow();
    if (m_bCoversScreen && hWnd != nullptr) {
        // Back to the window exactly as it was.
        SetWindowLongA(hWnd, GWL_STYLE, static_cast<LONG>(m_dwStyleBeforeFullScreen));
        const RECT& r = m_rcBeforeFullScreen;
        SetWindowPos(hWnd, HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    }
    m_bCoversScreen = FALSE;
}
