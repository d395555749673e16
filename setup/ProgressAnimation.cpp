#include "ProgressAnimation.h"

#include <commctrl.h>

namespace {

// The classic bar's pictures: inside a one-pixel frame of the client area, the position's
// share of the width is shown in blocks two thirds of the bar's height wide and two pixels
// apart, a block whole as soon as it is begun. Positions that begin the same number of
// blocks show the same picture. (A bar that fills to the exact pixel is given only
// positions that end on a whole block, so that it shows these pictures too.)
class CBarPicture {
public:
    explicit CBarPicture(HWND hwndBar)
    {
        RECT rc;
        GetClientRect(hwndBar, &rc);
        m_nWidth = rc.right - rc.left - 2;
        m_nBlock = MulDiv(rc.bottom - rc.top - 2, 2, 3);
    }

    // The number of blocks begun at nPos.
    int ExtentAt(int nPos) const
    {
        if (!IsKnown())
            return nPos;  // every position a picture of its own
        int nFilled = MulDiv(nPos, m_nWidth, kAnimationRange);
        return (nFilled + Step() - 1) / Step();
    }

    // The first position from nPos on at which the picture of nExtent blocks ends on a
    // whole block (or on the bar's end).
    int WholeBlocksFrom(int nPos, int nExtent) const
    {
        if (!IsKnown() || nExtent == 0)
            return nPos;
        int nTarget = (nExtent - 1) * Step() + m_nBlock;
        if (nTarget > m_nWidth)
            nTarget = m_nWidth;
        while (nPos < kAnimationRange && MulDiv(nPos, m_nWidth, kAnimationRange) < nTarget)
            ++nPos;
        return nPos;
    }

private:
    static const int kBlockGap = 2;

    bool IsKnown() const { return m_nWidth > 0 && m_nBlock > 0; }
    int Step() const { return m_nBlock + kBlockGap; }

    int m_nWidth = 0;
    int m_nBlock = 0;
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
            SendMessageA(hwndBar, PBM_SETPOS,
                         static_cast<WPARAM>(picture.WholeBlocksFrom(nPos, nExtent)), 0);
            nShown = nExtent;
        }
    }
}
