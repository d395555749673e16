// A window owned by a C++ object: one static window procedure finds the object and calls
// its virtual WindowProc, which looks the message up in the object's message map.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "CmdTarget.h"
#include "CallbackType.h"

// The message crackers' macro of this name (windowsx.h, pulled in by dshow.h) would
// replace the member function below.
#ifdef SubclassWindow
#undef SubclassWindow
#endif

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd;
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The object that owns hWnd, or null for a window no object owns.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creates the window; the object owns it from WM_NCCREATE on. A class name that is
    // null registers (once) the framework's own window class.
    BOOL CreateEx(DWORD dwExStyle, const char* pszClassName, const char* pszWindowName,
                  DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                  HMENU nIDorHMenu, void* lpParam = nullptr);
    // Takes over a window created elsewhere (a common control): its messages go through
    // this object's map first, then to the control's own procedure.
    BOOL SubclassWindow(HWND hWnd);
    BOOL DestroyWindow();

    // Lets a class change the creation parameters; FALSE cancels the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Handles one message: the message map first, else DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The processing a message gets when no handler takes it.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Routes WM_COMMAND to OnCmdMsg; returns TRUE when it was handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Handles WM_NOTIFY; returns TRUE when handled, with the result in *pResult.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called for each message before it is dispatched; TRUE means it was consumed.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Called after the window is gone; frames delete themselves here.
    virtual void PostNcDestroy();

    // Default processing of the message being handled now.
    LRESULT Default();

    // Changes the style bits; with nFlags, also SetWindowPos(no move, size, z-order,
    // activation | nFlags) so that the frame is redrawn to match.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    DWORD GetStyle() const;

    CWnd* GetParent() const;
    void SetWindowText(const char* pszText);
    void GetWindowRect(RECT* pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void GetClientRect(RECT* pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    void ClientToScreen(POINT* pPoint) const { ::ClientToScreen(m_hWnd, pPoint); }
    void Invalidate() { ::InvalidateRect(m_hWnd, nullptr, TRUE); }
    void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }

    static LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    TANDREL_ASSERT_CALLBACK(WNDPROC, AfxWndProc);
    // The procedure of subclassed windows of other classes.
    static LRESULT CALLBACK AfxSubclassProc(HWND hWnd, UINT message, WPARAM wParam,
                                            LPARAM lParam, UINT_PTR uIdSubclass,
                                            DWORD_PTR dwRefData);
    TANDREL_ASSERT_CALLBACK(SUBCLASSPROC, AfxSubclassProc);
    static const char* FrameworkClassName();

protected:
    DECLARE_MESSAGE_MAP()

    void Attach(HWND hWnd);
    HWND Detach();
    // The next window created on this thread belongs to pWnd (dialogs use it too).
    static void HookWindowCreate(CWnd* pWnd);

    bool m_bSubclassed;  // taken over by SubclassWindow: the window's own procedure is next

private:
    static LRESULT Dispatch(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    const MSG* m_pCurrentMsg;
};

// Private framework messages.
#define WM_IDLEUPDATECMDUI 0x0363  // wParam: disable commands that have no handler

// Window message handlers a message map can bind (each names the handler it calls).
#define AFX_WM_THUNK(msg, body)                                  \
    {(msg), 0, 0, 0, [](AFX_THUNK_ARGS) -> LRESULT {             \
         AFX_UNUSED_ARGS;                                        \
         body                                                    \
     }},

#define ON_WM_CREATE() \
    AFX_WM_THUNK(WM_CREATE, return AFX_THIS->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam_));)
#define ON_WM_DESTROY() AFX_WM_THUNK(WM_DESTROY, AFX_THIS->OnDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_WM_THUNK(WM_CLOSE, AFX_THIS->OnClose(); return 0;)
#define ON_WM_PAINT() AFX_WM_THUNK(WM_PAINT, AFX_THIS->OnPaint(); return 0;)
#define ON_WM_SIZE()                                                                   \
    AFX_WM_THUNK(WM_SIZE, AFX_THIS->OnSize(static_cast<UINT>(wParam_),                 \
                                           static_cast<short>(LOWORD(lParam_)),        \
                                           static_cast<short>(HIWORD(lParam_)));       \
                 return 0;)
#define ON_WM_MOVE()                                                                   \
    AFX_WM_THUNK(WM_MOVE, AFX_THIS->OnMove(static_cast<short>(LOWORD(lParam_)),        \
                                           static_cast<short>(HIWORD(lParam_)));       \
                 return 0;)
#define AFX_POINT_OF(l) POINT{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))}
#define AFX_MOUSE_THUNK(msg, fn) \
    AFX_WM_THUNK(msg, AFX_THIS->fn(static_cast<UINT>(wParam_), AFX_POINT_OF(lParam_)); return 0;)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_THUNK(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_THUNK(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_THUNK(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_THUNK(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_NCRBUTTONDOWN() AFX_MOUSE_THUNK(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_MOUSE_THUNK(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_DROPFILES() \
    AFX_WM_THUNK(WM_DROPFILES, AFX_THIS->OnDropFiles(reinterpret_cast<HDROP>(wParam_)); return 0;)
#define ON_WM_TIMER() \
    AFX_WM_THUNK(WM_TIMER, AFX_THIS->OnTimer(static_cast<UINT_PTR>(wParam_)); return 0;)
#define AFX_SCROLL_THUNK(msg, fn)                                                         \
    AFX_WM_THUNK(msg, AFX_THIS->fn(LOWORD(wParam_), static_cast<short>(HIWORD(wParam_)),  \
                                   reinterpret_cast<HWND>(lParam_));                      \
                 return 0;)
#define ON_WM_HSCROLL() AFX_SCROLL_THUNK(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() AFX_SCROLL_THUNK(WM_VSCROLL, OnVScroll)
// LRESULT Handler(WPARAM, LPARAM)
#define ON_MESSAGE(msg, memberFxn) \
    AFX_WM_THUNK(msg, return (AFX_THIS->*(memberFxn))(wParam_, lParam_);)
