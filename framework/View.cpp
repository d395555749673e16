#include "View.h"

#include <commdlg.h>

#include "AfxRes.h"
#include "Document.h"

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_PAINT()
    ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(nullptr) {}

CView::~CView() = default;

BOOL CView::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnInitialUpdate() {}

void CView::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hWnd, &ps);
    OnDraw(hdc);
    EndPaint(m_hWnd, &ps);
}

BOOL CView::OnPreparePrinting(PRINTDLGA* pPrintDlg)
{
    return PrintDlgA(pPrintDlg);
}

void CView::OnBeginPrinting(HDC) {}

void CView::OnEndPrinting(HDC) {}

void CView::OnFilePrint()
{
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = ::GetParent(m_hWnd);
    pd.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    pd.nCopies = 1;
    if (!OnPreparePrinting(&pd) || pd.hDC == nullptr)
        return;

    char szTitle[MAX_PATH] = "";
    GetWindowTextA(::GetParent(m_hWnd), szTitle, sizeof(szTitle));
    DOCINFOA di = {};
    di.cbSize = sizeof(di);
    di.lpszDocName = szTitle;
    OnBeginPrinting(pd.hDC);
    if (StartDocA(pd.hDC, &di) > 0) {
        if (StartPage(pd.hDC) > 0) {
            OnDraw(pd.hDC);
            EndPage(pd.hDC);
        }
        EndDoc(pd.hDC);
    }
    OnEndPrinting(pd.hDC);
    DeleteDC(pd.hDC);
    if (pd.hDevMode != nullptr)
        GlobalFree(pd.hDevMode);
    if (pd.hDevNames != nullptr)
        GlobalFree(pd.hDevNames);
}
