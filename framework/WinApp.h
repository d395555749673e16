// The application: one global object that starts the program, runs its message loop
// with idle processing, and handles the application-wide commands.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "CmdTarget.h"

class CWnd;
class CDocument;
class CSingleDocTemplate;

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(const char* pszAppName = nullptr);
    ~CWinApp() override;

    // Starts the program; FALSE ends it at once.
    virtual BOOL InitInstance();
    // The message loop; returns the exit code.
    virtual int Run();
    // Cleans up at the end; returns the exit code.
    virtual int ExitInstance();
    // Idle processing; lCount counts the calls since the last message. TRUE asks for more.
    virtual BOOL OnIdle(LONG lCount);
    // Takes one message, translates and dispatches it; FALSE at WM_QUIT.
    virtual BOOL PumpMessage();
    // Whether idle processing is due after this message.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // Gives windows a chance to consume a message before it is dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Pumps one message and then every other one already queued; a message after which
    // idle processing is due sets *pbIdle again and restarts the count. FALSE at WM_QUIT.
    BOOL PumpQueuedMessages(BOOL* pbIdle, LONG* plIdleCount);

    void AddDocTemplate(CSingleDocTemplate* pTemplate);
    // Closes the document and its frame (which ends the program).
    void CloseAllDocuments(BOOL bEndSession);
    // Opens a document through the template and records it in the recent-file list.
    virtual CDocument* OpenDocumentFile(const char* pszFileName);
    // The recent-file list of nMaxMRU entries, kept in the program's profile file.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void AddToRecentFileList(const char* pszPathName);
    const std::vector<std::string>& GetRecentFileList() const { return m_recentFiles; }
    // Registers the document type (from the template string) so the shell can open it.
    void EnableShellOpen();
    void RegisterShellFileTypes(BOOL bCompat = FALSE);
    void Enable3dControls() {}

    void OnFileNew();
    void OnFilePrintSetup();

    const char* m_pszAppName;
    const char* m_lpCmdLine;
    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd;
    MSG m_msgCur;

protected:
    DECLARE_MESSAGE_MAP()

    CSingleDocTemplate* m_pDocTemplate;
    std::vector<std::string> m_recentFiles;
    UINT m_nMaxMRU;
    char m_szProfile[MAX_PATH];
    POINT m_ptCursorLast;
    UINT m_nMsgLast;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
void AfxPostQuitMessage(int nExitCode);
