// A view: the child window that shows a document in its frame. Commands reach the view
// first and then its document.
#pragma once

#include <windows.h>

#include "Wnd.h"

class CDocument;

class CView : public CWnd {
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    void SetDocument(CDocument* pDoc) { m_pDocument = pDoc; }

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                  AFX_CMDHANDLERINFO* pHandlerInfo = nullptr) override;
    void PostNcDestroy() override;

    // Draws the document; hdc is the screen or a printer page.
    virtual void OnDraw(HDC hdc) = 0;
    // Called once the document is open and the frame is about to be shown.
    virtual void OnInitialUpdate();

    // Printing: asks for a printer and prints one page per document page (one), each
    // drawn by OnDraw.
    void OnFilePrint();
    virtual BOOL OnPreparePrinting(PRINTDLGA* pPrintDlg);
    virtual void OnBeginPrinting(HDC hdc);
    virtual void OnEndPrinting(HDC hdc);

    void OnPaint();

protected:
    DECLARE_MESSAGE_MAP()

    CDocument* m_pDocument;
};
