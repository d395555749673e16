// Control bars: the frame's toolbars and status bar, docked along an edge of the frame
// or floating in a small window of their own.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "AfxRes.h"
#include "CmdUI.h"
#include "Wnd.h"

class CFrameWnd;

// Bar styles.
#define CBRS_ALIGN_LEFT 0x1000
#define CBRS_ALIGN_TOP 0x2000
#define CBRS_ALIGN_RIGHT 0x4000
#define CBRS_ALIGN_BOTTOM 0x8000
#define CBRS_ALIGN_ANY 0xF000
#define CBRS_BORDER_TOP 0x0200
#define CBRS_BORDER_BOTTOM 0x0800
#define CBRS_TOOLTIPS 0x0010
#define CBRS_FLYBY 0x0020
#define CBRS_SIZE_DYNAMIC 0x0040
#define CBRS_SIZE_FIXED 0x0080
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Toolbar button styles: the control's style in the low byte, its state in the next.
#define TBBS_BUTTON 0x0000
#define TBBS_SEPARATOR TBSTYLE_SEP
#define TBBS_CHECKBOX TBSTYLE_CHECK
#define TBBS_CHECKED (TBSTATE_CHECKED << 8)
#define TBBS_DISABLED 0x0400  // the inverse of TBSTATE_ENABLED
#define TBBS_WRAPPED (TBSTATE_WRAP << 8)

#define ID_SEPARATOR 0

class CControlBar : public CWnd {
public:
    CControlBar();
    ~CControlBar() override;

    // The size the bar wants: along its edge when docked, or its floating client size.
    virtual SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Refreshes the bar's items from the update handlers reachable from pTarget.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;

    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    DWORD GetDockingStyle() const { return m_dwDockStyle; }
    BOOL IsFloating() const { return m_pFloatFrame != nullptr; }
    // Visible where it lives: in the frame, or in its floating window.
    BOOL IsVisible() const;
    // The floating window that holds the bar, or null while it is docked.
    CWnd* GetFloatingFrame() const { return m_pFloatFrame; }
    CFrameWnd* GetDockingFrame() const { return m_pDockSite; }

    int m_cxLeftBorder, m_cxRightBorder, m_cyTopBorder, m_cyBottomBorder;

    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
    friend class CFrameWnd;
    friend class CMiniDockFrameWnd;

    DWORD m_dwStyle;
    DWORD m_dwDockStyle;
    CFrameWnd* m_pDockSite;
    CWnd* m_pFloatFrame;
};

// The CCmdUI of one toolbar button.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    HWND m_hWndToolBar = nullptr;
};

class CToolBar : public CControlBar {
public:
    CToolBar();
    ~CToolBar() override;

    // Creates the toolbar control as a child of pParentWnd, registered with its frame.
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                  DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR_ID);
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR_ID);
    // The buttons' images: a bitmap of 16 by 15 pixel images side by side.
    BOOL LoadBitmap(UINT nIDBitmap);
    // A toolbar resource (its button ids) with the bitmap of the same id.
    BOOL LoadToolBar(UINT nIDResource);
    // The buttons in order; ID_SEPARATOR makes a gap. Images are used in order.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int GetCount() const;
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);

    SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    enum { AFX_IDW_TOOLBAR_ID = 0xE800 };

protected:
    int m_nImages;
};

class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = 0xE801);
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

private:
    UINT m_ids[8] = {};
    int m_nCount = 0;
};

// The small window that holds a floating bar: a tool window with the bar's caption,
// owned by the bar's frame, to which it passes the bar's commands.
class CMiniDockFrameWnd : public CWnd {
public:
    explicit CMiniDockFrameWnd(CControlBar* pBar) : m_pBar(pBar) {}
    BOOL Create(CFrameWnd* pOwner, const char* pszTitle);
    // Sizes the window around the bar, with the bar's top-left corner at ptScreen.
    void FitAround(POINT ptScreen);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override;

    void OnClose();

protected:
    DECLARE_MESSAGE_MAP()

    CControlBar* m_pBar;
};

// Fills a tooltip from the string resource of the command: the part after the newline.
BOOL AfxTooltipText(UINT nID, char* pszText, int cchText);
