#include "NTandrelApp.h"

#include <objbase.h>

#include <string>

#include "DocTemplate.h"
#include "MainFrm.h"
#include "NTandrelDoc.h"
#include "NTandrelView.h"
#include "OpenInternetDlg.h"
#include "resource.h"

namespace {

// The tabs pad the description; after the pattern they would become part of its last
// extension, and ".aif" files would not be listed.
const char kOpenFilter[] =
    "Media Files (*.mpg;*.dat;*.avi;*.mov;*.mid;*.wav;*.au;*.aif)\t\t\t\t\t\t"
    "|*.mpg;*.dat;*.avi;*.mov;*.mid;*.wav;*.au;*.aif"
    "|All Files (*.*)|*.*||";

CDocument* CreateDoc()
{
    return new CNTandrelDoc;
}

CFrameWnd* CreateFrame()
{
    return new CMainFrame;
}

CView* CreateView()
{
    return new CNTandrelView;
}

}  // namespace

CNTandrelApp* GetPlayerApp()
{
    return static_cast<CNTandrelApp*>(AfxGetApp());
}

BEGIN_MESSAGE_MAP(CNTandrelApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT, &CNTandrelApp::OnAppAbout)
    ON_COMMAND(ID_OPEN_INTERNET, &CNTandrelApp::OnOpenInternet)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CNTandrelApp::OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, &CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

CNTandrelApp::CNTandrelApp()
    : CWinApp(nullptr),
      m_bStarting(FALSE),
      m_pDoc(nullptr),
      m_pOpenDialog(nullptr),
      m_posGroup(),
      m_nGroupNext(0),
      m_nGroupCount(1),
      m_bGroupChosen(FALSE),
      m_szOpenFiles()
{
    m_pszAppName = "Tandrel98";
    CPlaybackHost::Set(this);
}

CNTandrelApp::~CNTandrelApp()
{
    if (CPlaybackHost::Get() == this)
        CPlaybackHost::Set(nullptr);
}

void CNTandrelApp::PathFromCommandLine(const char* pszCmdLine, char* pszPath, int cchPath)
{
    // The shell quotes a path with spaces; the quotes are not part of the name.
    int nLength = lstrlenA(pszCmdLine);
    if (nLength >= 2 && pszCmdLine[0] == '"' && pszCmdLine[nLength - 1] == '"') {
        int nCopy = nLength - 1;  // the text between the quotes, with room for the NUL
        lstrcpynA(pszPath, pszCmdLine + 1, nCopy < cchPath ? nCopy : cchPath);
        return;
    }
    lstrcpynA(pszPath, pszCmdLine, cchPath);
}

BOOL CNTandrelApp::InitInstance()
{
    Enable3dControls();
    LoadStdProfileSettings(5);
    CoInitialize(nullptr);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, CreateDoc, CreateFrame, CreateView));
    EnableShellOpen();
    RegisterShellFileTypes(FALSE);

    m_bStarting = TRUE;
    // A path of MAX_PATH characters or more cannot be held whole; the document refuses
    // it, so it is passed on as it is rather than cut.
    std::string path(lstrlenA(m_lpCmdLine) + 1, '\0');
    PathFromCommandLine(m_lpCmdLine, &path[0], static_cast<int>(path.size()));
    path.resize(lstrlenA(path.c_str()));
    if (!path.empty())
        OpenStartupMedia(path.c_str());
    else
        OpenStartupMedia("vost.mpg");

    if (m_pMainWnd != nullptr)
        m_pMainWnd->DragAcceptFiles(TRUE);
    return TRUE;
}

BOOL CNTandrelApp::OpenStartupMedia(const char* pszPath)
{
    if (OpenDocumentFile(pszPath) == nullptr || m_pDoc == nullptr)
        return FALSE;
    m_pDoc->FitWindowToVideo(CNTandrelDoc::FileTitleOf(pszPath));
    m_pDoc->Play();
    m_bStarting = FALSE;
    return TRUE;
}

int CNTandrelApp::Run()
{
    if (m_pMainWnd == nullptr)
        AfxPostQuitMessage(0);
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG msg;
    for (;;) {
        HANDLE hEvent = m_pDoc != nullptr ? m_pDoc->m_hGraphEvent : nullptr;
        if (hEvent != nullptr) {
            // The graph's events, and the end of a media's sound while it plays out.
            const HANDLE handles[2] = {hEvent, m_pDoc->PlayOutHandle()};
            const DWORD nHandles = handles[1] != nullptr ? 2 : 1;
            DWORD dwResult = MsgWaitForMultipleObjects(nHandles, handles, FALSE,
                                                       bIdle ? 0 : INFINITE, QS_ALLINPUT);
            if (dwResult == WAIT_OBJECT_0) {
                m_pDoc->HandleGraphEvent();
                continue;
            }
            if (nHandles == 2 && dwResult == WAIT_OBJECT_0 + 1) {
                m_pDoc->EndPlayOut();
                continue;
            }
            if (dwResult == WAIT_TIMEOUT) {
                if (!OnIdle(lIdleCount++))
                    bIdle = FALSE;
                continue;
            }
            if (dwResult != WAIT_OBJECT_0 + nHandles)
                continue;
            // The wake may have been for a message sent from another thread, which the
            // peek below delivers; the pump then takes only what is really queued, so
            // the loop never blocks in it while the media has events to give.
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
                continue;
        } else {
            while (bIdle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                if (!OnIdle(lIdleCount++)) {
                    bIdle = FALSE;
                    WaitMessage();
                    break;
                }
            }
        }
        if (!PumpQueuedMessages(&bIdle, &lIdleCount))
            return ExitInstance();
    }
}

int CNTandrelApp::ExitInstance()
{
    delete m_pOpenDialog;
    m_pOpenDialog = nullptr;
    CoUninitialize();
    return CWinApp::ExitInstance();
}

void CNTandrelApp::SetCurrentDocument(CNTandrelDoc* pDoc)
{
    if (pDoc != nullptr)
        SetDocument(pDoc);
    else
        ClearDocument();
}

HWND CNTandrelApp::GetMainWindow() const
{
    return m_pMainWnd != nullptr ? m_pMainWnd->m_hWnd : nullptr;
}

BOOL CNTandrelApp::HasNextInGroup() const
{
    return m_pOpenDialog != nullptr && m_bGroupChosen && m_nGroupNext < m_nGroupCount;
}

BOOL CNTandrelApp::NextInGroup(std::string* pPath)
{
    if (!HasNextInGroup() || m_nGroupNext < 0)
        return FALSE;
    POSITION pos = m_posGroup[m_nGroupNext++];
    *pPath = m_pOpenDialog->GetNextPathName(pos);
    return TRUE;
}

int CNTandrelApp::BuildGroup()
{
    if (m_pOpenDialog == nullptr)
        return 0;
    m_nGroupCount = 0;
    POSITION pos = m_pOpenDialog->GetStartPosition();
    while (pos != nullptr) {
        m_posGroup[m_nGroupCount++] = pos;
        if (m_nGroupCount == kMaxGroup)
            break;
        m_pOpenDialog->GetNextPathName(pos);
    }
    // The platform lists the last file chosen first: the group starts with it.
    if (m_nGroupCount > 1) {
        POSITION first = m_posGroup[0];
        m_posGroup[0] = m_posGroup[m_nGroupCount - 1];
        m_posGroup[m_nGroupCount - 1] = first;
    }
    return m_nGroupCount;
}

void CNTandrelApp::OnFileOpen()
{
    if (m_pOpenDialog == nullptr) {
        m_pOpenDialog = new CFileDialog(TRUE, "*.*", m_szOpenFiles,
                                        OFN_ALLOWMULTISELECT | OFN_PATHMUSTEXIST |
                                            OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER,
                                        kOpenFilter, nullptr);
        m_pOpenDialog->m_ofn.lpstrTitle = "Open Media Files";
        m_pOpenDialog->m_ofn.lpstrFile = m_szOpenFiles;
        m_pOpenDialog->m_ofn.nMaxFile = kOpenBufferSize;
    }
    if (m_pOpenDialog->DoModal() != IDOK)
        return;
    m_nGroupNext = 0;
    if (BuildGroup() == 0)
        return;
    m_bGroupChosen = TRUE;
    POSITION pos = m_posGroup[0];
    m_nGroupNext = 1;
    std::string path = m_pOpenDialog->GetNextPathName(pos);
    OpenDocumentFile(path.c_str());
}

void CNTandrelApp::OnOpenInternet()
{
    COpenInternetDlg dialog(m_pMainWnd);
    if (dialog.DoModal() == IDOK && m_pDoc != nullptr)
        m_pDoc->OnOpenDocument(dialog.m_strURL.c_str());
}

void CNTandrelApp::OnAppAbout() {}

void CNTandrelApp::SaveMediaCopy()
{
    char szFile[MAX_PATH] = "Backup.mpg";
    CFileDialog dialog(FALSE, "*.mpg", szFile, OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER,
                       "All Files (*.mpg)|*.mpg||", nullptr);
    dialog.m_ofn.lpstrFile = szFile;
    dialog.m_ofn.nMaxFile = MAX_PATH;
    if (dialog.DoModal() == IDOK && m_pDoc != nullptr)
        m_pDoc->OnSaveDocument(dialog.GetPathName().c_str());
}
