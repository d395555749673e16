// The player's application object: starts the player, runs the message loop that also
// waits on the media's events, and keeps the open group.
#pragma once

#include "FileDialog.h"
#include "PlaybackHost.h"
#include "WinApp.h"

class CNTandrelDoc;

class CNTandrelApp : public CWinApp, public CPlaybackHost {
public:
    CNTandrelApp();
    ~CNTandrelApp() override;

    BOOL InitInstance() override;
    int Run() override;
    int ExitInstance() override;

    void OnFileOpen();
    void OnOpenInternet();
    void OnAppAbout();
    // Saves a byte-for-byte copy of the current media under a name the user chooses.
    void SaveMediaCopy() override;
    // Takes the Open dialog's selection as the group; returns its size.
    int BuildGroup();

    void SetDocument(CNTandrelDoc* pDoc) { m_pDoc = pDoc; }
    void ClearDocument() { m_pDoc = nullptr; }

    // The document's view of the application.
    void SetCurrentDocument(CNTandrelDoc* pDoc) override;
    BOOL IsStartingUp() const override { return m_bStarting; }
    BOOL HasNextInGroup() const override;
    BOOL NextInGroup(std::string* pPath) override;
    int GetGroupCount() const override { return m_nGroupCount; }
    void RestartGroup() override { m_nGroupNext = 0; }
    HWND GetMainWindow() const override;
    CNTandrelDoc* GetCurrentDocument() const override { return m_pDoc; }

    // The command line as one path: surrounding double quotes are not part of it.
    static void PathFromCommandLine(const char* pszCmdLine, char* pszPath, int cchPath);

    enum { kMaxGroup = 256, kOpenBufferSize = 4096 };

    BOOL m_bStarting;
    CNTandrelDoc* m_pDoc;
    CFileDialog* m_pOpenDialog;
    POSITION m_posGroup[kMaxGroup];
    int m_nGroupNext;
    int m_nGroupCount;
    // Set once an Open dialog has given a selection: a cancelled first dialog leaves
    // the program without a group.
    BOOL m_bGroupChosen;
    char m_szOpenFiles[kOpenBufferSize];

protected:
    DECLARE_MESSAGE_MAP()

private:
    // Opens the start-up media, fits the window to it and plays it.
    BOOL OpenStartupMedia(const char* pszPath);
};

CNTandrelApp* GetPlayerApp();
