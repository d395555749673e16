#include "ControlPalette.h"

#include "FrameWnd.h"

BEGIN_MESSAGE_MAP(CControlPalette, CToolBar)
    ON_WM_RBUTTONDOWN()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CControlPalette::CControlPalette() : m_nColumns(3)
{
    m_cxLeftBorder = 5;
    m_cxRightBorder = 5;
    m_cyTopBorder = 5;
    m_cyBottomBorder = 5;
}

void CControlPalette::SetColumns(int nColumns)
{
    m_nColumns = nColumns;
    int nCount = GetCount();
    for (int i = 0; i < nCount; ++i) {
        UINT nStyle = GetButtonStyle(i);
        if ((i + 1) % nColumns == 0)
            nStyle |= TBBS_WRAPPED;
        else
            nStyle &= ~TBBS_WRAPPED;
        SetButtonStyle(i, nStyle);
    }
    Invalidate();
    if (GetDockingFrame() != nullptr)
        GetDockingFrame()->RecalcLayout();
}

void CControlPalette::OnRButtonDown(UINT, POINT)
{
    Default();
}

void CControlPalette::OnLButtonDown(UINT, POINT)
{
    Default();
}
