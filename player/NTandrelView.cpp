#include "NTandrelView.h"

#include "Holders.h"
#include "MainFrm.h"
#include "NTandrelApp.h"
#include "NTandrelDoc.h"
#include "VideoGeometry.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CNTandrelView, CView)
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_NCRBUTTONUP()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrint)
END_MESSAGE_MAP()

CNTandrelView::CNTandrelView() : m_pFrame(nullptr), m_pPalette(nullptr), m_ptLast{0, 0} {}

void CNTandrelView::OnDraw(HDC) {}

BOOL CNTandrelView::OnPreparePrinting(PRINTDLGA* pPrintDlg)
{
    return CView::OnPreparePrinting(pPrintDlg);
}

void CNTandrelView::OnBeginPrinting(HDC) {}

void CNTandrelView::OnEndPrinting(HDC) {}

void CNTandrelView::FetchFrame()
{
    if (m_pFrame == nullptr) {
        m_pFrame = static_cast<CMainFrame*>(GetPlayerApp()->m_pMainWnd);
        m_pPalette = m_pFrame != nullptr ? m_pFrame->GetPalette() : nullptr;
    }
}

void CNTandrelView::OnRButtonDown(UINT, POINT point)
{
    FetchFrame();
    SetCapture(m_hWnd);
    ClientToScreen(&point);
    m_ptLast = point;
    if (m_pFrame != nullptr)
        m_pFrame->ShowPaletteAt(point);
    Default();
}

void CNTandrelView::OnRButtonUp(UINT, POINT)
{
    if (GetCapture() == m_hWnd) {
        ReleaseCapture();
        Default();
    }
}

void CNTandrelView::OnLButtonDown(UINT, POINT)
{
    FetchFrame();
    if (m_pFrame != nullptr)
        m_pFrame->HidePalette();
    Default();
}

void CNTandrelView::OnLButtonUp(UINT, POINT)
{
    Default();
}

void CNTandrelView::OnNcRButtonDown(UINT nHitTest, POINT point)
{
    if (nHitTest != HTCAPTION) {
        Default();
        return;
    }
    ::ScreenToClient(m_hWnd, &point);
    OnRButtonDown(0, point);
}

void CNTandrelView::OnNcRButtonUp(UINT nHitTest, POINT point)
{
    if (nHitTest != HTCAPTION) {
        Default();
        return;
    }
    OnRButtonUp(0, point);
}

void CNTandrelView::OnSize(UINT, int cx, int cy)
{
    Default();
    CNTandrelDoc* pDoc = GetPlayerApp()->m_pDoc;
    if (pDoc == nullptr || pDoc->m_pGraph == nullptr)
        return;
    RECT rc = VideoRectForView(cx, cy);
    pDoc->m_pGraph->SetVideoPosition(rc.left, rc.top, rc.right, rc.bottom);
}

void CNTandrelView::OnMove(int, int)
{
    Default();
}
