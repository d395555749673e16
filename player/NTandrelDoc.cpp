#include "NTandrelDoc.h"

#include <string>

#include "Archive.h"
#include "CmdUI.h"
#include "DefSetting.h"
#include "File.h"
#include "Holders.h"
#include "MessageBox.h"
#include "PlaybackHost.h"
#include "UrlFetch.h"
#include "resource.h"

namespace {

// One frame at 30 frames a second: the step's distance.
const double kStepSeconds = 0.0333333333333;
// How close to the end a completed media must be for the loop to rewind it.
const double kRewindThreshold = 0.033333;

const long kVolumeStep = 50;
const long kVolumeUpBound = -50;
const long kVolumeDownBound = -9950;
const double kRateSlower = 0.8333333333333334;
const double kRateFaster = 1.2;
const double kRateFasterGuard = 3.0;
const double kMinStoredRate = 0.0;
const double kMaxStoredRate = 4.0;
const long kBalanceLimit = 10000;

// The stored record comes from outside the program (another program, an older version, a
// damaged hive). A value the player could not have stored, and that would break it, gives
// way to its default; every other value is kept as it is.
void TakeDefaultsWhereHarmful(DEFSETTING_RECORD* pRecord)
{
    CDefSetting defaults;
    defaults.SetDefaults();
    const DEFSETTING_RECORD& d = defaults.m_Record;
    // Rates the Media page accepts, 0 among them; with any other the page refuses to be
    // left or finished, and a rate that is not a number, infinite or negative never moves
    // with the rate keys again.
    if (!(pRecord->dRate >= kMinStoredRate && pRecord->dRate <= kMaxStoredRate))
        pRecord->dRate = d.dRate;
    // The engine refuses a volume or balance beyond its scale: the media plays at full
    // volume, or centred, whatever was stored and whatever the Audio page shows, and the
    // volume keys take up to millions of presses to bring the volume back.
    if (pRecord->lVolume < kMuteVolume || pRecord->lVolume > 0)
        pRecord->lVolume = d.lVolume;
    if (pRecord->lBalance < -kBalanceLimit || pRecord->lBalance > kBalanceLimit)
        pRecord->lBalance = d.lBalance;
    // A start page the sheet does not have is kept: the sheet opens on its first page.
}

// True when both paths name one existing file, however they are spelled.
bool IsSameFile(const char* pszA, const char* pszB)
{
    CHandleHolder a(CreateFileA(pszA, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    CHandleHolder b(CreateFileA(pszB, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!a.IsValid() || !b.IsValid())
        return false;
    BY_HANDLE_FILE_INFORMATION infoA, infoB;
    if (GetFileInformationByHandle(a.Get(), &infoA) && GetFileInformationByHandle(b.Get(), &infoB)) {
        return infoA.dwVolumeSerialNumber == infoB.dwVolumeSerialNumber &&
               infoA.nFileIndexHigh == infoB.nFileIndexHigh &&
               infoA.nFileIndexLow == infoB.nFileIndexLow;
    }
    char szFullA[MAX_PATH] = "", szFullB[MAX_PATH] = "";
    DWORD cchA = GetFullPathNameA(pszA, MAX_PATH, szFullA, nullptr);
    DWORD cchB = GetFullPathNameA(pszB, MAX_PATH, szFullB, nullptr);
    return cchA > 0 && cchA < MAX_PATH && cchB > 0 && cchB < MAX_PATH &&
           lstrcmpiA(szFullA, szFullB) == 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CNTandrelDoc, CDocument)
    ON_COMMAND(ID_PLAY, &CNTandrelDoc::Play)
    ON_UPDATE_COMMAND_UI(ID_PLAY, &CNTandrelDoc::OnUpdatePlay)
    ON_COMMAND(ID_PAUSE, &CNTandrelDoc::Pause)
    ON_UPDATE_COMMAND_UI(ID_PAUSE, &CNTandrelDoc::OnUpdatePause)
    ON_COMMAND(ID_STOP, &CNTandrelDoc::Stop)
    ON_UPDATE_COMMAND_UI(ID_STOP, &CNTandrelDoc::OnUpdateStop)
    ON_COMMAND(ID_STEP, &CNTandrelDoc::Step)
    ON_UPDATE_COMMAND_UI(ID_STEP, &CNTandrelDoc::OnUpdateNeedsMedia)
    ON_COMMAND(ID_GROUP_LOOP, &CNTandrelDoc::ToggleGroupLoop)
    ON_UPDATE_COMMAND_UI(ID_CONTROL_OPTIONS, &CNTandrelDoc::OnUpdateNeedsMedia)
    ON_COMMAND(ID_CONTROL_OPTIONS, &CNTandrelDoc::Configure)
    ON_COMMAND(ID_INFORMATION, &CNTandrelDoc::Configure)
    ON_COMMAND(ID_FULL_SCREEN, &CNTandrelDoc::ToggleFullScreen)
    ON_UPDATE_COMMAND_UI(ID_FULL_SCREEN, &CNTandrelDoc::OnUpdateAlways)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_SETUP, &CNTandrelDoc::OnUpdateAlways)
    ON_COMMAND(ID_VOLUME_UP, &CNTandrelDoc::VolumeUp)
    ON_COMMAND(ID_VOLUME_UP_BUTTON, &CNTandrelDoc::VolumeUp)
    ON_COMMAND(ID_VOLUME_DOWN, &CNTandrelDoc::VolumeDown)
    ON_COMMAND(ID_VOLUME_DOWN_BUTTON, &CNTandrelDoc::VolumeDown)
    ON_COMMAND(ID_RATE_SLOWER, &CNTandrelDoc::RateSlower)
    ON_COMMAND(ID_RATE_FASTER, &CNTandrelDoc::RateFaster)
END_MESSAGE_MAP()

CNTandrelDoc::CNTandrelDoc()
    : m_hGraphEvent(nullptr),
      m_nPlayState(PLAY_NONE),
      m_pGraph(),
      m_pControlSheet(nullptr),
      m_pMediaPage(nullptr),
      m_pVideoPage(nullptr),
      m_pAudioPage(nullptr),
      m_pInfoPage(nullptr),
      m_nStartPage(0),
      m_bLoop(FALSE),
      m_bGroupLoop(FALSE),
      m_dRate(1.0),
      m_nSizeMode(0),
      m_nVideoWidth(0),
      m_nVideoHeight(0),
      m_nDisplayMode(6),
      m_bCaption(TRUE),
      m_bThickFrame(TRUE),
      m_bMute(FALSE),
      m_lVolume(-1000),
      m_lTreble(0),
      m_lBass(0),
      m_lBalance(0),
      m_szMediaPath(),
      m_pCopySource(),
      m_bCoversScreen(FALSE),
      m_rcBeforeFullScreen(),
      m_dwStyleBeforeFullScreen(0),
      m_bRendererFullScreen(FALSE),
      m_bPlayingOut(FALSE),
      m_playOutTimer(CreateWaitableTimerA(nullptr, FALSE, nullptr))
{
    LoadSettings();
    if (CPlaybackHost* pHost = CPlaybackHost::Get())
        pHost->SetCurrentDocument(this);
}

CNTandrelDoc::~CNTandrelDoc()
{
    if (m_pGraph != nullptr) {
        DetachVideoAndSaveSettings();
        m_pGraph.reset();
    }
    m_hGraphEvent = nullptr;
    m_nPlayState = PLAY_NONE;
    if (CPlaybackHost* pHost = CPlaybackHost::Get())
        pHost->SetCurrentDocument(nullptr);
}

void CNTandrelDoc::LoadSettings()
{
    CDefSetting setting;
    if (!setting.Read(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE))
        setting.SetDefaults();
    DEFSETTING_RECORD& r = setting.m_Record;
    TakeDefaultsWhereHarmful(&r);
    m_nStartPage = r.nStartPage;
    m_bLoop = r.bLoop;
    m_bGroupLoop = r.bLoop != 0 ? 0 : r.bGroupLoop;  // the two loops never load together
    m_dRate = r.dRate;
    m_bCaption = r.bCaption;
    m_bThickFrame = r.bThickFrame;
    m_bMute = r.bMute;
    m_lVolume = r.lVolume;
    m_lTreble = r.lTreble;
    m_lBass = r.lBass;
    m_lBalance = r.lBalance;
    m_nSizeMode = 0;
    m_nVideoWidth = 0;
    m_nVideoHeight = 0;
}

BOOL CNTandrelDoc::DetachVideoAndSaveSettings()
{
    if (m_pGraph == nullptr || FAILED(m_pGraph->DetachVideo()))
        return FALSE;

    CDefSetting setting;
    DEFSETTING_RECORD& r = setting.m_Record;
    r.bLoop = m_bLoop;
    r.bGroupLoop = m_bGroupLoop;
    r.bCaption = m_bCaption;
    r.bThickFrame = m_bThickFrame;
    r.bMute = m_bMute;
    r.nStartPage = m_nStartPage;
    r.dRate = m_dRate;
    r.lVolume = m_lVolume;
    r.lTreble = m_lTreble;
    r.lBass = m_lBass;
    r.lBalance = m_lBalance;
    setting.Write(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE);
    return TRUE;
}

BOOL CNTandrelDoc::CreateGraph()
{
    if (FAILED(MediaGraph::CreateGraph(&m_pGraph))) {
        m_pGraph.reset();
        AfxMessageBox(IDS_NOT_INSTALLED);
        return FALSE;
    }
    HANDLE hEvent = nullptr;
    if (FAILED(m_pGraph->GetEventHandle(&hEvent))) {
        DeleteContents();
        return FALSE;
    }
    m_hGraphEvent = hEvent;
    return TRUE;
}

BOOL CNTandrelDoc::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    AFX_CMDHANDLERINFO info = {};
    if (m_bPlayingOut && nCode == CN_COMMAND && pHandlerInfo == nullptr && nID != ID_STOP &&
        CDocument::OnCmdMsg(nID, nCode, nullptr, &info))
        FinishPlayOut();
    return CDocument::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CNTandrelDoc::SetTitle(const char* pszTitle)
{
    CDocument::SetTitle(pszTitle);
}

BOOL CNTandrelDoc::IsModified()
{
    return CDocument::IsModified();
}

void CNTandrelDoc::SetModifiedFlag(BOOL bModified)
{
    CDocument::SetModifiedFlag(bModified);
}

void CNTandrelDoc::DeleteContents()
{
    CDocument::DeleteContents();
    CancelPlayOut();
    UncoverScreen();
    if (m_pGraph != nullptr) {
        DetachVideoAndSaveSettings();
        m_pGraph.reset();
    }
    m_hGraphEvent = nullptr;
    m_nPlayState = PLAY_NONE;
}

BOOL CNTandrelDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

BOOL CNTandrelDoc::OnOpenDocument(const char* pszPathName)
{
    if (pszPathName == nullptr || pszPathName[0] == '\0')
        return FALSE;
    // A longer path or address fits neither the path buffer nor the engine's: refuse it
    // before the current media is let go of.
    if (lstrlenA(pszPathName) >= MAX_PATH) {
        AfxMessageBox(IDP_CANT_PLAY_FILE);
        return FALSE;
    }

    DeleteContents();
    if (!CreateGraph()) {
        AfxMessageBox(IDP_CANT_INIT_GRAPH);
        return FALSE;
    }
    lstrcpynA(m_szMediaPath, pszPathName, MAX_PATH);

    if (FAILED(RenderMedia(m_szMediaPath))) {
        AfxMessageBox(IDP_CANT_PLAY_FILE);
        return FALSE;
    }
    m_nPlayState = PLAY_STOPPED;

    CPlaybackHost* pHost = CPlaybackHost::Get();
    if (pHost == nullptr || !pHost->IsStartingUp())
        FitWindowToVideo(FileTitleOf(pszPathName));

    ApplyStoredAudio();
    m_pGraph->SetRate(m_dRate);
    return TRUE;
}

HRESULT CNTandrelDoc::RenderMedia(const char* pszPath)
{
    HRESULT hr = m_pGraph->RenderFile(pszPath);
    if (SUCCEEDED(hr) || !IsMediaAddress(pszPath))
        return hr;
    char szLocal[MAX_PATH] = "";
    if (FAILED(DownloadWithProgress(pszPath, szLocal, MAX_PATH)))
        return hr;
    // The graph that failed on the address may hold half a source; the copy gets a new one.
    m_pGraph.reset();
    m_hGraphEvent = nullptr;
    if (!CreateGraph())
        return E_FAIL;
    return m_pGraph->RenderFile(szLocal);
}

void CNTandrelDoc::ApplyStoredAudio()
{
    // The sound a person left the player with (volume, mute, balance) carries over to
    // every media it opens.
    m_pGraph->SetBalance(m_lBalance);
    m_pGraph->SetVolume(m_bMute ? kMuteVolume : m_lVolume);
}

BOOL CNTandrelDoc::OnSaveDocument(const char* pszPathName)
{
    if (pszPathName != nullptr && IsSameFile(pszPathName, m_szMediaPath)) {
        // Creating the target would empty the very file the copy reads from.
        CFileException error(CFileException::sharingViolation, ERROR_SHARING_VIOLATION,
                             pszPathName);
        ReportSaveLoadException(pszPathName, &error, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    return CDocument::OnSaveDocument(pszPathName);
}

void CNTandrelDoc::Serialize(CArchive& ar)
{
    if (ar.IsLoading())
        return;

    // The source is held for this save only, and let go of on every path out of it.
    struct CSourceRelease {
        std::unique_ptr<CFile>& source;
        ~CSourceRelease() { source.reset(); }
    } release{m_pCopySource};
    m_pCopySource.reset(new CFile());
    CFileException error(CFileException::none, 0, m_szMediaPath);
    if (!m_pCopySource->Open(m_szMediaPath, CFile::modeRead | CFile::shareDenyNone, &error))
        throw error;

    CFile* pTarget = ar.GetFile();
    if (pTarget != nullptr) {
        BYTE buffer[4096];
        UINT cbRead = 0;
        do {
            cbRead = m_pCopySource->Read(buffer, sizeof(buffer));
            pTarget->Write(buffer, cbRead);
        } while (cbRead == sizeof(buffer));
    }
    m_pCopySource->Close();
}

void CNTandrelDoc::Play()
{
    if (m_nPlayState != PLAY_STOPPED && m_nPlayState != PLAY_PAUSED)
        return;
    if (m_pGraph != nullptr && SUCCEEDED(m_pGraph->Run()))
        m_nPlayState = PLAY_RUNNING;
    else
        AfxMessageBox(IDP_CANT_PLAY);
}

void CNTandrelDoc::Pause()
{
    if (m_nPlayState != PLAY_RUNNING && m_nPlayState != PLAY_STOPPED)
        return;
    if (m_pGraph != nullptr && SUCCEEDED(m_pGraph->Pause()))
        m_nPlayState = PLAY_PAUSED;
    else
        AfxMessageBox(IDP_CANT_PAUSE);
}

void CNTandrelDoc::PauseForAdvance()
{
    Pause();
}

void CNTandrelDoc::Stop()
{
    CancelPlayOut();
    if (m_nPlayState != PLAY_RUNNING && m_nPlayState != PLAY_PAUSED)
        return;
    // Stopped at the start, its first picture shown.
    if (m_pGraph == nullptr || FAILED(m_pGraph->StopAtStart(true))) {
        AfxMessageBox(IDP_CANT_STOP);
        return;
    }
    m_nPlayState = PLAY_STOPPED;
}

void CNTandrelDoc::StopOnAbort()
{
    CancelPlayOut();
    if (m_nPlayState != PLAY_RUNNING && m_nPlayState != PLAY_PAUSED)
        return;
    if (m_pGraph == nullptr || FAILED(m_pGraph->StopAtStart(false))) {
        AfxMessageBox(IDP_CANT_STOP);
        return;
    }
    m_nPlayState = PLAY_STOPPED;
}

void CNTandrelDoc::Step()
{
    double dDuration = 0, dPosition = 0;
    if (m_pGraph == nullptr || FAILED(m_pGraph->GetDuration(&dDuration)) ||
        FAILED(m_pGraph->GetCurrentPosition(&dPosition)))
        return;
    double dNext = dPosition + kStepSeconds;
    if (!(dNext < dDuration))
        return;
    if (SUCCEEDED(m_pGraph->ShowFrameAt(dNext)))
        m_nPlayState = PLAY_PAUSED;
}

void CNTandrelDoc::RewindIfAtEnd()
{
    double dDuration = 0, dPosition = 0;
    if (m_pGraph == nullptr || FAILED(m_pGraph->GetDuration(&dDuration)) ||
        FAILED(m_pGraph->GetCurrentPosition(&dPosition)))
        return;
    if (dDuration - dPosition < kRewindThreshold)
        m_pGraph->SetPosition(0.0);
}

void CNTandrelDoc::ToggleGroupLoop()
{
    m_bGroupLoop = m_bGroupLoop ? FALSE : TRUE;
}

void CNTandrelDoc::HandleGraphEvent()
{
    CPlaybackHost* pHost = CPlaybackHost::Get();
    long lCode = 0;
    if (m_pGraph != nullptr && SUCCEEDED(m_pGraph->TakeEvent(&lCode))) {
        // What the engine still holds of the end is heard before anything pauses or
        // rewinds the graph; the rules wait for it on the run loop, not here.
        if (lCode == kGraphEventComplete && !m_bPlayingOut && !BeginPlayOut() &&
            !ApplyEndRules())
            return;
        if (lCode == kGraphEventUserAbort || lCode == kGraphEventErrorAbort)
            StopOnAbort();
    }
    HWND hwndMain = pHost != nullptr ? pHost->GetMainWindow() : nullptr;
    if (hwndMain != nullptr)
        PostMessageA(hwndMain, WM_USER, 0, 0);
}

BOOL CNTandrelDoc::ApplyEndRules()
{
    CPlaybackHost* pHost = CPlaybackHost::Get();
    const BOOL bHasNext = pHost != nullptr && pHost->HasNextInGroup();
    const int nCount = pHost != nullptr ? pHost->GetGroupCount() : 1;
    if (m_bLoop) {
        RewindIfAtEnd();
        Play();
    } else if (bHasNext) {
        PauseForAdvance();
        if (OpenNextInGroup())
            Play();
        return FALSE;
    } else if (m_bGroupLoop && nCount == 1) {
        RewindIfAtEnd();
        Play();
    } else if (m_bGroupLoop) {
        PauseForAdvance();
        RewindIfAtEnd();
        if (pHost != nullptr)
            pHost->RestartGroup();
        if (OpenNextInGroup())
            Play();
        return FALSE;
    } else {
        PauseForAdvance();
        RewindIfAtEnd();
    }
    return TRUE;
}

BOOL CNTandrelDoc::BeginPlayOut()
{
    const DWORD dwMs = m_pGraph != nullptr ? m_pGraph->SoundPlayOutMs() : 0;
    if (dwMs == 0 || !m_playOutTimer.IsValid())
        return FALSE;
    LARGE_INTEGER liDue;
    liDue.QuadPart = -static_cast<LONGLONG>(dwMs) * 10000;  // relative, in 100 ns units
    if (!SetWaitableTimer(m_playOutTimer.Get(), &liDue, 0, nullptr, nullptr, FALSE))
        return FALSE;
    m_bPlayingOut = TRUE;
    return TRUE;
}

void CNTandrelDoc::CancelPlayOut()
{
    if (!m_bPlayingOut)
        return;
    m_bPlayingOut = FALSE;
    CancelWaitableTimer(m_playOutTimer.Get());
}

void CNTandrelDoc::FinishPlayOut()
{
    if (m_bPlayingOut) {
        CancelPlayOut();
        ApplyEndRules();
    }
}

HANDLE CNTandrelDoc::PlayOutHandle() const
{
    return m_bPlayingOut ? m_playOutTimer.Get() : nullptr;
}

void CNTandrelDoc::EndPlayOut()
{
    if (!m_bPlayingOut)
        return;
    m_bPlayingOut = FALSE;
    if (!ApplyEndRules())
        return;
    CPlaybackHost* pHost = CPlaybackHost::Get();
    HWND hwndMain = pHost != nullptr ? pHost->GetMainWindow() : nullptr;
    if (hwndMain != nullptr)
        PostMessageA(hwndMain, WM_USER, 0, 0);
}

BOOL CNTandrelDoc::OpenNextInGroup()
{
    // An entry that cannot be opened has been reported by the open; the group goes on
    // with the next one rather than stopping or playing the last media once more.
    CPlaybackHost* pHost = CPlaybackHost::Get();
    while (pHost != nullptr && pHost->HasNextInGroup()) {
        std::string path;
        if (pHost->NextInGroup(&path) && OnOpenDocument(path.c_str()))
            return TRUE;
    }
    return FALSE;
}

BOOL CNTandrelDoc::GetPosition(double* pdPosition)
{
    return m_pGraph != nullptr && m_pGraph->GetCurrentPosition(pdPosition) != E_NOINTERFACE;
}

const char* CNTandrelDoc::FileTitleOf(const char* pszPath)
{
    const char* p = pszPath + lstrlenA(pszPath);
    while (p > pszPath && p[-1] != '\\' && p[-1] != ':')
        --p;
    return p;
}

void CNTandrelDoc::VolumeUp()
{
    if (m_pGraph == nullptr)
        return;
    const long lVolume = m_lVolume <= kVolumeUpBound ? m_lVolume + kVolumeStep : m_lVolume;
    if (SUCCEEDED(m_pGraph->SetVolume(lVolume)))
        m_lVolume = lVolume;
}

void CNTandrelDoc::VolumeDown()
{
    if (m_pGraph == nullptr)
        return;
    const long lVolume = m_lVolume >= kVolumeDownBound ? m_lVolume - kVolumeStep : m_lVolume;
    if (SUCCEEDED(m_pGraph->SetVolume(lVolume)))
        m_lVolume = lVolume;
}

void CNTandrelDoc::RateSlower()
{
    if (!(m_dRate > 0.0))
        return;
    m_dRate *= kRateSlower;
    if (m_pGraph != nullptr)
        m_pGraph->SetRate(m_dRate);
}

void CNTandrelDoc::RateFaster()
{
    if (m_dRate > kRateFasterGuard)
        return;
    m_dRate *= kRateFaster;
    if (m_pGraph != nullptr)
        m_pGraph->SetRate(m_dRate);
}

void CNTandrelDoc::OnUpdatePlay(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nPlayState == PLAY_STOPPED || m_nPlayState == PLAY_PAUSED);
}

void CNTandrelDoc::OnUpdatePause(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nPlayState == PLAY_RUNNING || m_nPlayState == PLAY_STOPPED);
}

void CNTandrelDoc::OnUpdateStop(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nPlayState == PLAY_RUNNING || m_nPlayState == PLAY_PAUSED);
}

void CNTandrelDoc::OnUpdateNeedsMedia(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nPlayState != PLAY_NONE);
}

void CNTandrelDoc::OnUpdateAlways(CCmdUI*)
{
}
