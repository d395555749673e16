// The player's main window: no menu, a hidden toolbar and status bar, the floating
// control palette, and the view with the video over it.
#pragma once

#include "ControlBar.h"
#include "ControlPalette.h"
#include "FrameWnd.h"

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    CControlPalette* GetPalette() { return &m_wndPalette; }
    // Floats the palette with its top-left corner at ptScreen and shows it.
    void ShowPaletteAt(POINT ptScreen);
    void HidePalette();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    int OnCreate(LPCREATESTRUCTA lpcs);
    void OnClose();
    void OnExit();
    void OnHelpPage();
    void OnRButtonDown(UINT nFlags, POINT point);
    void OnRButtonUp(UINT nFlags, POINT point);
    void OnLButtonDown(UINT nFlags, POINT point);
    void OnLButtonUp(UINT nFlags, POINT point);
    void OnNothing();

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    CControlPalette m_wndPalette;

protected:
    DECLARE_MESSAGE_MAP()
};
