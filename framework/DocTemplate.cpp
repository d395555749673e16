#include "DocTemplate.h"

#include "Document.h"
#include "FrameWnd.h"
#include "ResourceText.h"
#include "View.h"
#include "WinApp.h"

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, PFN_CREATEDOC pfnDoc,
                                       PFN_CREATEFRAME pfnFrame, PFN_CREATEVIEW pfnView)
    : m_nIDResource(nIDResource),
      m_pfnCreateDoc(pfnDoc),
      m_pfnCreateFrame(pfnFrame),
      m_pfnCreateView(pfnView),
      m_pOnlyDoc(nullptr)
{
}

CSingleDocTemplate::~CSingleDocTemplate()
{
    delete m_pOnlyDoc;
}

BOOL CSingleDocTemplate::GetDocString(char* pszText, int cchText, int nIndex) const
{
    char szFull[512] = "";
    pszText[0] = '\0';
    if (LoadText(m_nIDResource, szFull, sizeof(szFull)) == 0)
        return FALSE;
    const char* p = szFull;
    for (int i = 0; i < nIndex; ++i) {
        while (*p != '\0' && *p != '\n')
            ++p;
        if (*p == '\0')
            return FALSE;
        ++p;
    }
    int n = 0;
    while (p[n] != '\0' && p[n] != '\n')
        ++n;
    lstrcpynA(pszText, p, n + 1 < cchText ? n + 1 : cchText);
    return TRUE;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const char* pszPathName, BOOL bMakeVisible)
{
    CWinApp* pApp = AfxGetApp();
    CDocument* pDoc = m_pOnlyDoc;
    CFrameWnd* pFrame = nullptr;
    bool bCreated = false;
    if (pDoc == nullptr) {
        // The first open: the document, then its frame with the view inside.
        pDoc = m_pfnCreateDoc();
        m_pOnlyDoc = pDoc;
        pFrame = m_pfnCreateFrame();
        CCreateContext context = {pDoc, m_pfnCreateView};
        if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context)) {
            // A frame whose window was never made does not delete itself.
            if (pFrame->m_hWnd == nullptr)
                delete pFrame;
            m_pOnlyDoc = nullptr;
            delete pDoc;
            return nullptr;
        }
        if (pApp != nullptr && pApp->m_pMainWnd == nullptr)
            pApp->m_pMainWnd = pFrame;
        bCreated = true;
    }

    BOOL bOpened = pszPathName == nullptr ? pDoc->OnNewDocument()
                                          : pDoc->OnOpenDocument(pszPathName);
    if (!bOpened) {
        if (bCreated) {
            // The new frame goes again; the document goes with it.
            if (pApp != nullptr && pApp->m_pMainWnd == pFrame)
                pApp->m_pMainWnd = nullptr;
            m_pOnlyDoc = nullptr;
            pFrame->DestroyWindow();
            delete pDoc;
        }
        return nullptr;
    }
    if (pszPathName != nullptr)
        pDoc->SetPathName(pszPathName);
    if (bCreated)
        pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    return pDoc;
}

void CSingleDocTemplate::CloseAllDocuments(BOOL)
{
    CDocument* pDoc = m_pOnlyDoc;
    if (pDoc == nullptr)
        return;
    pDoc->DeleteContents();
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd != nullptr)
        pApp->m_pMainWnd->DestroyWindow();
    m_pOnlyDoc = nullptr;
    delete pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc)
{
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}
