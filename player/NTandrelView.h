// The view: draws nothing; the video window covers it and follows its size. Clicks on
// the parts the video leaves free show and hide the palette as clicks on the video do.
#pragma once

#include "View.h"

class CMainFrame;
class CControlPalette;

class CNTandrelView : public CView {
public:
    CNTandrelView();

    void OnDraw(HDC hdc) override;
    BOOL OnPreparePrinting(PRINTDLGA* pPrintDlg) override;
    void OnBeginPrinting(HDC hdc) override;
    void OnEndPrinting(HDC hdc) override;

    void OnRButtonDown(UINT nFlags, POINT point);
    void OnRButtonUp(UINT nFlags, POINT point);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    void OnNcRButtonDown(UINT nHitTest, POINT point);
    void OnNcRButtonUp(UINT nHitTest, POINT point);
    void OnSize(UINT nType, int cx, int cy);
    void OnMove(int x, int y);

    CMainFrame* m_pFrame;
    CControlPalette* m_pPalette;
    POINT m_ptLast;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void FetchFrame();
};
