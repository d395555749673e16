#include "ProgressAnimation.h"

#include <commctrl.h>

namespace {

// What the bar shows for a position: its filled part, inside a one-pixel frame of the
// client area, as many pixels wide as the position's share of the range. Positions that
// fill the same number of pixels look the same.
class CBarPicture {
public:
    explicit CBarPicture(HWND hwndBar)
    {
        RECT rc;
        GetClientRect(hwndBar, &rc);
        m_nWidth = rc.right - rc.left - 2;
    }

    int ExtentAt(int nPos) const
    {
        // Without a known width every position counts as a picture of its own.
        return m_nWidth > 0 ? MulDiv(nPos, m_nWidth, kAnimationRange) : nPos;
    }

private:
    int m_nWidth = 0;
};

}  // namespace

void RunProgressAnimation(HWND hwndBar, AnimationPaint nPaint)
{
    SendMessageA(hwndBar, PBM_SETRANGE, 0, MAKELPARAM(0, kAnimationRange));
    SendMessageA(hwndBar, PBM_SETPOS, 0, 0);
    if (nPaint == PAINT_EVERY_STEP) {
        for (int i = 0; i < kAnimationSteps; ++i)
            SendMessageA(hwndBar, PBM_STEPIT, 0, 0);
        return;
    }

    // The position is kept here and given to the control only when the picture changes.
    // Past the top it starts over from the beginning, by what was left over, as the
    // control's own step does.
    const CBarPicture picture(hwndBar);
    int nPos = 0;
    int nShown = picture.ExtentAt(nPos);
    for (int i = 0; i < kAnimationSteps; ++i) {
        nPos += kAnimationStep;
        if (nPos > kAnimationRange)
            nPos %= kAnimationRange;
        int nExtent = picture.ExtentAt(nPos);
        if (nExtent != nShown) {
            SendMessageA(hwndBar, PBM_SETPOS, static_cast<WPARAM>(nPos), 0);
            nShown = nExtent;
        }
    }
}
