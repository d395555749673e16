// Drives another process's dialogs the way a person would, through the window manager:
// finds its top-level dialogs by title, reads their texts, types into edit boxes and
// presses buttons. Also used for message boxes, which are dialogs too.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CProcessDriver {
public:
    CProcessDriver() = default;
    ~CProcessDriver();
    CProcessDriver(const CProcessDriver&) = delete;
    CProcessDriver& operator=(const CProcessDriver&) = delete;

    // Starts commandLine in currentDir. The process and all it starts are ended by Kill
    // and by the driver's end.
    bool Start(const std::string& commandLine, const std::string& currentDir);
    DWORD ProcessId() const { return m_dwProcessId; }
    HANDLE Process() const { return m_hProcess; }

    // The visible dialog of this process with this title; null after the time-out.
    HWND WaitForDialog(const char* pszTitle, DWORD dwTimeoutMs = 15000) const;
    // True once no visible dialog of this title is left (it was ended or hidden).
    bool WaitForDialogGone(const char* pszTitle, DWORD dwTimeoutMs = 15000) const;
    // The exit code, or STILL_ACTIVE when the process did not end in time.
    DWORD WaitForExit(DWORD dwTimeoutMs = 30000) const;
    bool HasExited() const;
    // The program files of the processes in its job that still run: those it started,
    // directly or not, that have not ended.
    std::vector<std::string> RunningInJob() const;
    // Ends the process and every process it started that still runs (a failed test must
    // not leave them behind).
    void Kill();

private:
    HANDLE m_hProcess = nullptr;
    HANDLE m_hJob = nullptr;
    DWORD m_dwProcessId = 0;
};

// A visible top-level dialog with this title of process dwProcessId (0: any process);
// with bVisibleOnly false, also one that was hidden and not yet destroyed.
HWND FindDialog(DWORD dwProcessId, const char* pszTitle, bool bVisibleOnly = true);
// All visible top-level windows whose title contains pszPart, of any process.
std::vector<HWND> FindWindowsWithTitle(const char* pszPart);

// The text of every static control of the dialog, in creation order, joined by "|".
std::string StaticTexts(HWND hDlg);
// A control's text, read with WM_GETTEXT.
std::string ControlText(HWND hDlg, int nId);
void SetControlText(HWND hDlg, int nId, const std::string& text);
// Presses a button as a click does: the dialog receives its command.
void PressButton(HWND hDlg, int nId);

// Answers the message box of this process (0: any) with this caption: returns its text
// and presses OK. Empty when none came in time.
std::string AnswerMessageBox(DWORD dwProcessId, const char* pszCaption, DWORD dwTimeoutMs = 15000);
