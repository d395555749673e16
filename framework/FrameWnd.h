// A top-level frame window: holds one view, routes commands view -> document -> frame ->
// application, translates its accelerators, and lays out its control bars.
#pragma once

#include <windows.h>

#include <vector>

#include "Wnd.h"

class CView;
class CDocument;
class CControlBar;

// What a frame needs to create its view for a document.
struct CCreateContext {
    CDocument* m_pCurrentDoc;
    CView* (*m_pfnCreateView)();
};

// Control-bar and pane ids the framework knows.
#define AFX_IDW_TOOLBAR 0xE800     // 59392
#define AFX_IDW_STATUS_BAR 0xE801  // 59393
#define AFX_IDW_PANE_FIRST 0xE900  // the view

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the frame with the accelerators and icon of nIDResource (its menu is not
    // attached: the player has none) and, through the context, its view.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                           CCreateContext* pContext);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                  AFX_CMDHANDLERINFO* pHandlerInfo = nullptr) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pView) { m_pViewActive = pView; }

    // Shows the frame for its document after the first open.
    virtual void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Places the docked, visible control bars along the edges and the view in the rest.
    virtual void RecalcLayout(BOOL bNotify = TRUE);

    // Control bars.
    void AddControlBar(CControlBar* pBar);
    void RemoveControlBar(CControlBar* pBar);
    CControlBar* GetControlBar(UINT nID) const;
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    void DockControlBar(CControlBar* pBar);
    // Puts the bar in a small floating window with its top-left corner at ptScreen.
    void FloatControlBar(CControlBar* pBar, POINT ptScreen, DWORD dwStyle = 0);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);

    HACCEL m_hAccelTable;

protected:
    DECLARE_MESSAGE_MAP()

public:
    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnClose();
    void OnDestroy();
    void OnSize(UINT nType, int cx, int cy);
    void OnDropFiles(HDROP hDropInfo);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // The framework's show/hide of the control bar whose id is the command.
    void OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    // Context-help mode: the help cursor until the next click or key.
    void OnContextHelp();

protected:
    // Creates the view that the context names; FALSE fails the frame's creation.
    virtual BOOL OnCreateClient(LPCREATESTRUCTA lpcs, CCreateContext* pContext);

    CView* m_pViewActive;
    std::vector<CControlBar*> m_listControlBars;
    DWORD m_dwDockStyle;

private:
    CCreateContext* m_pContext;  // during LoadFrame only
};
