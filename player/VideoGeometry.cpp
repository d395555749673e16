#include "VideoGeometry.h"

RECT FitWindowRect(const RECT& rcWindow, const RECT& rcClient, int nVideoWidth, int nVideoHeight,
                   int cxScreen, int cyScreen)
{
    int nWidth = nVideoWidth + (rcWindow.right - rcWindow.left) - (rcClient.right - rcClient.left);
    int nHeight = nVideoHeight + (rcWindow.bottom - rcWindow.top) - (rcClient.bottom - rcClient.top);
    int nLeft = (cxScreen - nWidth) / 2;
    int nTop = (cyScreen - nHeight) / 2;
    RECT rc = {nLeft, nTop, nLeft + nWidth, nTop + nHeight};
    return rc;
}

BOOL StyleChangeRect(RECT* pRect, int nThickFrameChange, int nCaptionChange, int nVideoWidth,
                     int nVideoHeight)
{
    // A sizing border is two pixels wider than a thin one on each side; a caption is
    // sixteen pixels tall.
    const int d = nThickFrameChange < 0 ? -2 : (nThickFrameChange > 0 ? 2 : 0);
    RECT& r = *pRect;
    if (nCaptionChange != 0) {
        const int nCaption = nCaptionChange > 0 ? 16 : 0;
        if (d == 0) {
            r.bottom += nCaptionChange > 0 ? 16 : -16;
        } else {
            r.bottom = r.top + nVideoHeight + 2 * d + nCaption;
            r.right = r.left + nVideoWidth + 2 * d;
        }
        return TRUE;
    }
    if (d == 0)
        return FALSE;
    r.bottom -= 2 * d;
    r.right -= 2 * d;
    return TRUE;
}

RECT VideoRectForView(int cx, int cy)
{
    RECT rc = {0, 0, cx + 4, cy + 4};
    return rc;
}
