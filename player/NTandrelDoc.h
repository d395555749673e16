// The playback document: owns the filter graph of the media being played, its play state
// and the live copy of the player's settings.
#pragma once

#include <windows.h>

#include <memory>

#include "Document.h"
#include "File.h"
#include "Holders.h"
#include "MediaGraph.h"

class CCmdUI;
class CNTandrelSheet;
class CNTandrelPageMedia;
class CNTandrelPageVideo;
class CNTandrelPageAudio;
class CNTandrelInfoPage;

// The volume that silences playback, in hundredths of a decibel: what mute sends.
const long kMuteVolume = -10000;

enum {
    PLAY_NONE = 0,     // nothing rendered
    PLAY_STOPPED = 1,  // rendered, graph stopped
    PLAY_PAUSED = 2,
    PLAY_RUNNING = 3,
};

class CNTandrelDoc : public CDocument {
public:
    CNTandrelDoc();
    ~CNTandrelDoc() override;

    // Creates the filter graph and takes its event handle; tells the user when the
    // engine is missing. On failure no graph is left.
    BOOL CreateGraph();
    // Detaches the video window and writes the settings record; FALSE (nothing written)
    // when the graph has no video window interface.
    BOOL DetachVideoAndSaveSettings();

    void Play();
    void Pause();
    void Stop();
    void StopOnAbort();
    void Step();
    void ToggleGroupLoop();
    void RewindIfAtEnd();
    // Takes one event of the graph; called whenever m_hGraphEvent is signalled. At the end
    // of a media whose sound still plays, the end's rules wait for the play-out.
    void HandleGraphEvent();
    // Signalled when the end of a media has been heard and its rules are due; null while
    // no play-out is pending. The run loop waits on it beside m_hGraphEvent.
    HANDLE PlayOutHandle() const;
    // Called when PlayOutHandle is signalled: the end's rules (loop, the group, the pause
    // at the end) run now, unless the play-out was cancelled meanwhile.
    void EndPlayOut();
    // Opens the group's next entry that can be opened; FALSE when none is left.
    BOOL OpenNextInGroup();
    // The current position in seconds; FALSE (and *pdPosition untouched) without media.
    BOOL GetPosition(double* pdPosition);

    // Runs the Movie Controls sheet (commands 32778 and 32774): the pages get the
    // document's values, and give them back only when the sheet ends with Finish.
    void Configure();
    // Fill the Media and Information pages from the document and the graph; FALSE when
    // an interface of the graph could not be had (what was read stays).
    BOOL FillMediaPage();
    BOOL FillInfoPage();
    // Moves the media to the Media page's seek position; FALSE without page or media.
    BOOL SeekToMediaPage();
    // Send the Audio page's volume (silence while muted) and balance to playback and keep
    // them; FALSE without the page, without media or without audio.
    BOOL ApplyVolume();
    BOOL ApplyBalance();

    // The document the application holds now, or null.
    static CNTandrelDoc* Current();

    void VolumeUp();
    void VolumeDown();
    void RateSlower();
    void RateFaster();

    // Fits the main window to the rendered video, centres it and attaches the video
    // window to it; pszTitle becomes the window's caption. FALSE without a main window
    // or without video interfaces.
    BOOL FitWindowToVideo(const char* pszTitle);
    // Re-styles the main window from the Video page's caption and sizing-border values.
    BOOL ApplyWindowStyle();
    // The same with the values given; the rules shared with the Video page.
    BOOL ApplyWindowStyle(BOOL bCaption, BOOL bThickFrame);
    // Switches between the window and full screen (command 57605).
    void ToggleFullScreen();
    // Puts the main window back where it was when it covers the screen for the video;
    // the cover never outlives the graph it was made for.
    void UncoverScreen();

    // The part of pszPath after its last backslash or colon; points into pszPath.
    static const char* FileTitleOf(const char* pszPath);

    // A command of the document's own that follows the end of a media sees what the end's
    // rules left, as it would without the play-out: they run first. Stop drops them.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                  AFX_CMDHANDLERINFO* pHandlerInfo = nullptr) override;
    void SetTitle(const char* pszTitle) override;
    BOOL IsModified() override;
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    void DeleteContents() override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(const char* pszPathName) override;
    // Refuses to save onto the media's own file, which the copy reads from.
    BOOL OnSaveDocument(const char* pszPathName) override;
    // Storing writes a byte-for-byte copy of the media file; loading does nothing.
    void Serialize(CArchive& ar) override;

    void OnUpdatePlay(CCmdUI* pCmdUI);
    void OnUpdatePause(CCmdUI* pCmdUI);
    void OnUpdateStop(CCmdUI* pCmdUI);
    void OnUpdateNeedsMedia(CCmdUI* pCmdUI);
    void OnUpdateAlways(CCmdUI* pCmdUI);

    HANDLE m_hGraphEvent;
    int m_nPlayState;
    // The graph of the media, which the document alone holds: it asks the graph for each
    // operation through the boundary (MediaGraph.h). Null while no media is open.
    std::unique_ptr<CMediaGraph> m_pGraph;
    CNTandrelSheet* m_pControlSheet;
    CNTandrelPageMedia* m_pMediaPage;
    CNTandrelPageVideo* m_pVideoPage;
    CNTandrelPageAudio* m_pAudioPage;
    CNTandrelInfoPage* m_pInfoPage;
    int m_nStartPage;
    BOOL m_bLoop;
    BOOL m_bGroupLoop;
    double m_dRate;
    int m_nSizeMode;
    int m_nVideoWidth;
    int m_nVideoHeight;
    int m_nDisplayMode;
    BOOL m_bCaption;
    BOOL m_bThickFrame;
    BOOL m_bMute;
    long m_lVolume;
    long m_lTreble;
    long m_lBass;
    long m_lBalance;
    char m_szMediaPath[MAX_PATH];
    // The media file open for reading while the document is being saved.
    std::unique_ptr<CFile> m_pCopySource;

    // Set while the main window itself covers the screen because the renderer would not
    // go full screen; the window's place and style to go back to.
    BOOL m_bCoversScreen;
    RECT m_rcBeforeFullScreen;
    DWORD m_dwStyleBeforeFullScreen;
    // Set while the renderer itself shows the video on the whole screen.
    BOOL m_bRendererFullScreen;
    // Set from the end of a media with sound until its rules run or are cancelled.
    BOOL m_bPlayingOut;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void LoadSettings();
    // The rules of the end of a media; FALSE when they moved on to another media (the
    // wake-up message is then not posted).
    BOOL ApplyEndRules();
    // Arms the play-out timer when the graph's sound has still to be heard; FALSE when the
    // end's rules are due at once.
    BOOL BeginPlayOut();
    // Stop, another media or the end of the program: the pending end is dropped.
    void CancelPlayOut();
    // The pending end's rules run now.
    void FinishPlayOut();

    // Pauses a running or stopped graph before the group moves on (message on failure).
    void PauseForAdvance();
    // Gives a newly rendered media the stored volume, mute and balance.
    void ApplyStoredAudio();
    // Renders pszPath into the graph. An address the engine cannot open itself is fetched
    // first (with the download's progress dialog) and its local copy rendered in a new
    // graph, so that the graph boundary never shows a window.
    HRESULT RenderMedia(const char* pszPath);

    // The play-out's timer: a synchronization timer, so that the wait that sees it
    // signalled also resets it.
    CHandleHolder m_playOutTimer;
};
