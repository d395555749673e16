#include "WinApp.h"

#include <commdlg.h>
#include <cstdio>

#include "AfxRes.h"
#include "DocTemplate.h"
#include "Document.h"
#include "Holders.h"
#include "Wnd.h"

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

CWinApp* AfxGetApp()
{
    return g_pApp;
}

CWnd* AfxGetMainWnd()
{
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

void AfxPostQuitMessage(int nExitCode)
{
    PostQuitMessage(nExitCode);
}

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(const char* pszAppName)
    : m_pszAppName(pszAppName),
      m_lpCmdLine(""),
      m_hInstance(nullptr),
      m_pMainWnd(nullptr),
      m_msgCur(),
      m_pDocTemplate(nullptr),
      m_nMaxMRU(0),
      m_szProfile(),
      m_ptCursorLast{-1, -1},
      m_nMsgLast(0)
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    delete m_pDocTemplate;
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    // Each window from the target up to the main window may consume the message.
    HWND hWndStop = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            return FALSE;
    }
    // Input that no window of ours took (the video window's own) goes to the main window.
    if (m_pMainWnd != nullptr && pMsg->hwnd != nullptr &&
        CWnd::FromHandlePermanent(pMsg->hwnd) == nullptr)
        return m_pMainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinApp::PumpMessage()
{
    if (!GetMessageA(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        TranslateMessage(&m_msgCur);
        DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinApp::IsIdleMessage(MSG* pMsg)
{
    // Moving the mouse without moving it, painting and caret blinks cause no idle work.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y &&
            pMsg->message == m_nMsgLast)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    if (lCount <= 0 && m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr) {
        // Refresh the enabled and checked state of every command the user can see.
        ::SendMessageA(m_pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
        return TRUE;
    }
    return FALSE;
}

int CWinApp::Run()
{
    if (m_pMainWnd == nullptr)
        AfxPostQuitMessage(0);
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        MSG msg;
        while (bIdle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        if (!PumpQueuedMessages(&bIdle, &lIdleCount))
            return ExitInstance();
    }
}

BOOL CWinApp::PumpQueuedMessages(BOOL* pbIdle, LONG* plIdleCount)
{
    MSG msg;
    do {
        if (!PumpMessage())
            return FALSE;
        if (IsIdleMessage(&m_msgCur)) {
            *pbIdle = TRUE;
            *plIdleCount = 0;
        }
    } while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    return TRUE;
}

void CWinApp::AddDocTemplate(CSingleDocTemplate* pTemplate)
{
    delete m_pDocTemplate;
    m_pDocTemplate = pTemplate;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->CloseAllDocuments(bEndSession);
}

CDocument* CWinApp::OpenDocumentFile(const char* pszFileName)
{
    if (m_pDocTemplate == nullptr)
        return nullptr;
    CDocument* pDoc = m_pDocTemplate->OpenDocumentFile(pszFileName);
    if (pDoc != nullptr && pszFileName != nullptr)
        AddToRecentFileList(pszFileName);
    return pDoc;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    // The profile file: the program's name with ".INI" in the Windows directory.
    char szWindows[MAX_PATH] = "";
    GetWindowsDirectoryA(szWindows, MAX_PATH);
    std::snprintf(m_szProfile, sizeof(m_szProfile), "%s\\%s.INI", szWindows,
                  m_pszAppName != nullptr ? m_pszAppName : "APP");
    m_nMaxMRU = nMaxMRU;
    m_recentFiles.clear();
    for (UINT i = 1; i <= nMaxMRU; ++i) {
        char szKey[16];
        std::snprintf(szKey, sizeof(szKey), "File%u", i);
        char szFile[MAX_PATH] = "";
        GetPrivateProfileStringA("Recent File List", szKey, "", szFile, MAX_PATH, m_szProfile);
        if (szFile[0] != '\0')
            m_recentFiles.push_back(szFile);
    }
}

void CWinApp::AddToRecentFileList(const char* pszPathName)
{
    if (m_nMaxMRU == 0)
        return;
    for (auto it = m_recentFiles.begin(); it != m_recentFiles.end(); ++it) {
        if (lstrcmpiA(it->c_str(), pszPathName) == 0) {
            m_recentFiles.erase(it);
            break;
        }
    }
    m_recentFiles.insert(m_recentFiles.begin(), pszPathName);
    if (m_recentFiles.size() > m_nMaxMRU)
        m_recentFiles.resize(m_nMaxMRU);
    for (UINT i = 0; i < m_nMaxMRU; ++i) {
        char szKey[16];
        std::snprintf(szKey, sizeof(szKey), "File%u", i + 1);
        WritePrivateProfileStringA("Recent File List", szKey,
                                   i < m_recentFiles.size() ? m_recentFiles[i].c_str() : nullptr,
                                   m_szProfile);
    }
}

void CWinApp::EnableShellOpen() {}

void CWinApp::RegisterShellFileTypes(BOOL)
{
    // The document type of the template, opened by this program: "<file type id>" named
    // "<file type name>", with an open command that passes the file.
    if (m_pDocTemplate == nullptr)
        return;
    char szTypeId[128] = "", szTypeName[128] = "";
    m_pDocTemplate->GetDocString(szTypeId, sizeof(szTypeId), 5);
    m_pDocTemplate->GetDocString(szTypeName, sizeof(szTypeName), 6);
    if (szTypeId[0] == '\0')
        return;
    char szModule[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    char szCommand[MAX_PATH + 16];
    std::snprintf(szCommand, sizeof(szCommand), "\"%s\" \"%%1\"", szModule);

    CRegKeyHolder keyType;
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, szTypeId, &keyType) != ERROR_SUCCESS)
        return;
    RegSetValueExA(keyType.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(szTypeName),
                   static_cast<DWORD>(lstrlenA(szTypeName) + 1));
    CRegKeyHolder keyCommand;
    if (RegCreateKeyA(keyType.Get(), "shell\\open\\command", &keyCommand) == ERROR_SUCCESS)
        RegSetValueExA(keyCommand.Get(), nullptr, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(szCommand),
                       static_cast<DWORD>(lstrlenA(szCommand) + 1));
}

void CWinApp::OnFileNew()
{
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFilePrintSetup()
{
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
    pd.Flags = PD_PRINTSETUP;
    PrintDlgA(&pd);
    if (pd.hDevMode != nullptr)
        GlobalFree(pd.hDevMode);
    if (pd.hDevNames != nullptr)
        GlobalFree(pd.hDevNames);
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine != nullptr ? lpCmdLine : "";
    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
