// The single-document template: creates the one document, its frame and its view at the
// first open and reuses the document for every later one.
#pragma once

#include <windows.h>

class CDocument;
class CFrameWnd;
class CView;

class CSingleDocTemplate {
public:
    typedef CDocument* (*PFN_CREATEDOC)();
    typedef CFrameWnd* (*PFN_CREATEFRAME)();
    typedef CView* (*PFN_CREATEVIEW)();

    CSingleDocTemplate(UINT nIDResource, PFN_CREATEDOC pfnDoc, PFN_CREATEFRAME pfnFrame,
                       PFN_CREATEVIEW pfnView);
    virtual ~CSingleDocTemplate();
    CSingleDocTemplate(const CSingleDocTemplate&) = delete;
    CSingleDocTemplate& operator=(const CSingleDocTemplate&) = delete;

    // Opens pszPathName into the document (an empty document when null). The first call
    // creates the document, frame and view; when that open fails, the new frame is
    // destroyed again. Returns the document, or null on failure.
    virtual CDocument* OpenDocumentFile(const char* pszPathName, BOOL bMakeVisible = TRUE);
    CDocument* GetDocument() const { return m_pOnlyDoc; }
    // Closes the document and its frame.
    void CloseAllDocuments(BOOL bEndSession);
    // Field n (0-based) of the template string: window title, document name, ...
    BOOL GetDocString(char* pszText, int cchText, int nIndex) const;
    UINT GetResourceId() const { return m_nIDResource; }

    // The document is gone (its frame was destroyed).
    void RemoveDocument(CDocument* pDoc);

private:
    UINT m_nIDResource;
    PFN_CREATEDOC m_pfnCreateDoc;
    PFN_CREATEFRAME m_pfnCreateFrame;
    PFN_CREATEVIEW m_pfnCreateView;
    CDocument* m_pOnlyDoc;
};
