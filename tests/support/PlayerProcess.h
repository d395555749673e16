// Runs the player program as a person would and watches it from outside: its main
// window, its floating palette (whose buttons' enabled states tell the play state), its
// message boxes, and its exit. Every wait is bounded.
#pragma once

#include <windows.h>

#include <string>

#include "MessageBoxWatcher.h"
#include "TestEnv.h"

class CPlayerProcess {
public:
    CPlayerProcess() = default;
    ~CPlayerProcess();
    CPlayerProcess(const CPlayerProcess&) = delete;
    CPlayerProcess& operator=(const CPlayerProcess&) = delete;

    // Starts Tandrel98.exe with pszCommandLine (the part after the program's name) in
    // pszDirectory (the test's scratch folder when null).
    bool Start(const std::string& commandLine, const std::string& directory);
    // The visible main window, once it shows a caption other than "Tandrel98" when
    // bFitted is set (the media was fitted), else as soon as it exists.
    HWND WaitMainWindow(DWORD dwMilliseconds, bool bFitted = true);
    HWND MainWindow() const { return m_hwndMain; }
    // The palette's toolbar control and the floating window around it.
    HWND Palette();
    HWND PaletteFrame();
    // The video renderer's window inside the main window, or null.
    HWND VideoWindow();

    // The play state as the palette's buttons show it: 0 none, 1 stopped, 2 paused,
    // 3 running, -1 when the buttons match no state.
    int PlayState();
    bool WaitPlayState(int nState, DWORD dwMilliseconds);

    // Posts a key to hWnd (the main window when null) as the keyboard would deliver it.
    void PostKey(UINT vk, HWND hWnd = nullptr);
    // Types a key with Ctrl held, through the real input queue (the window is brought
    // to the front first).
    void TypeCtrlKey(UINT vk);
    // Clicks at a point of hWnd's client area.
    void PostClick(UINT msgDown, UINT msgUp, POINT ptClient, HWND hWnd = nullptr);

    // The player's dialog or message box that takes input now (the one on top), holding
    // the control nChildID when that is not 0; null when there is none.
    HWND TopDialog(int nChildID = 0);
    // A visible dialog or message box of the player, with the caption pszTitle when that
    // is not null, enabled or not; null when there is none.
    HWND VisibleDialog(const char* pszTitle = nullptr);
    // Waits for a message box of the player, records it and presses its button.
    bool WaitMessageBox(ShownMessage* pShown, DWORD dwMilliseconds);
    bool WaitExit(DWORD dwMilliseconds, DWORD* pdwExitCode = nullptr);
    // Closes a player that still runs as its close box would and gives its exit code
    // (0 when it had already ended cleanly; the exception's code after a crash; 0xDEAD
    // when it did not end within dwMilliseconds, after which it is killed).
    DWORD CloseAndExitCode(DWORD dwMilliseconds);
    bool IsRunning() const;
    void Kill();
    DWORD ProcessId() const { return m_pi.dwProcessId; }

    static std::string PlayerPath();
    static std::string WindowText(HWND hWnd);

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_hwndMain = nullptr;
};
