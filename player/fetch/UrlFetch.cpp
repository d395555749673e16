#include "UrlFetch.h"

#include <commctrl.h>
#include <urlmon.h>

#include <atomic>
#include <string>

#include "CallbackType.h"
#include "Dialog.h"
#include "Holders.h"
#include "resource.h"

namespace {

// What the worker thread and the dialog share. Either may be the last to let go of it.
// A fetch that is given up is aborted through its binding, which ends the service's wait
// for a server that has fallen silent; the dialog stays until the worker has left.
class CDownloadJob final : public IBindStatusCallback {
public:
    explicit CDownloadJob(const char* pszUrl)
        : m_cRef(1), m_strUrl(pszUrl), m_szLocal(), m_hr(E_PENDING), m_bAbort(false), m_bDone(false),
          m_ulProgress(0), m_ulMax(0), m_dwLastActivity(GetTickCount()), m_pBinding(nullptr)
    {
        InitializeCriticalSection(&m_csBinding);
    }
    CDownloadJob(const CDownloadJob&) = delete;
    CDownloadJob& operator=(const CDownloadJob&) = delete;

    // The worker thread; it is handed one reference, which it lets go of at its end.
    static DWORD WINAPI Run(LPVOID pParam)
    {
        CComPtr<CDownloadJob> pJob = CComPtr<CDownloadJob>::Adopt(static_cast<CDownloadJob*>(pParam));
        HRESULT hrInit = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        char szLocal[MAX_PATH] = "";
        HRESULT hr = URLDownloadToCacheFileA(nullptr, pJob->m_strUrl.c_str(), szLocal, MAX_PATH, 0,
                                             pJob.Get());
        // The path and the result are complete before the done flag lets the dialog read them.
        lstrcpynA(pJob->m_szLocal, szLocal, MAX_PATH);
        pJob->m_hr.store(hr, std::memory_order_relaxed);
        pJob->m_bDone.store(true, std::memory_order_release);
        if (SUCCEEDED(hrInit))
            CoUninitialize();
        return 0;
    }
    TANDREL_ASSERT_CALLBACK(LPTHREAD_START_ROUTINE, Run);

    // Stops the fetch: at once through the binding once the service has given one, else
    // at the service's next call.
    void Abort()
    {
        m_bAbort.store(true);
        // Held under the lock, so that the binding is let go of on the worker's side only,
        // in OnStopBinding; the service posts the abort to its own thread.
        EnterCriticalSection(&m_csBinding);
        if (m_pBinding != nullptr)
            m_pBinding->Abort();
        LeaveCriticalSection(&m_csBinding);
    }
    bool IsDone() const { return m_bDone.load(std::memory_order_acquire); }
    // Read only once IsDone is true.
    HRESULT Result() const { return m_hr.load(std::memory_order_relaxed); }
    const char* LocalPath() const { return m_szLocal; }
    ULONG Progress() const { return m_ulProgress.load(); }
    ULONG ProgressMax() const { return m_ulMax.load(); }
    DWORD IdleMilliseconds() const { return GetTickCount() - m_dwLastActivity.load(); }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBindStatusCallback)) {
            *ppv = static_cast<IBindStatusCallback*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_cRef)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG cRef = InterlockedDecrement(&m_cRef);
        if (cRef == 0)
            delete this;
        return static_cast<ULONG>(cRef);
    }

    // IBindStatusCallback: every call is a sign of life, and the way to stop the service.
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* pBinding) override
    {
        EnterCriticalSection(&m_csBinding);
        if (m_pBinding == nullptr && pBinding != nullptr) {
            m_pBinding = pBinding;
            m_pBinding->AddRef();
        }
        LeaveCriticalSection(&m_csBinding);
        return Alive();
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG ulProgress, ULONG ulProgressMax, ULONG, LPCWSTR) override
    {
        m_ulProgress.store(ulProgress);
        m_ulMax.store(ulProgressMax);
        return Alive();
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override
    {
        ReleaseBinding();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return Alive(); }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

private:
    ~CDownloadJob()
    {
        ReleaseBinding();
        DeleteCriticalSection(&m_csBinding);
    }

    void ReleaseBinding()
    {
        EnterCriticalSection(&m_csBinding);
        IBinding* pBinding = m_pBinding;
        m_pBinding = nullptr;
        if (pBinding != nullptr)
            pBinding->Release();
        LeaveCriticalSection(&m_csBinding);
    }

    HRESULT Alive()
    {
        m_dwLastActivity.store(GetTickCount());
        return m_bAbort.load() ? E_ABORT : S_OK;
    }

    LONG m_cRef;
    const std::string m_strUrl;
    char m_szLocal[MAX_PATH];  // written by the worker before m_bDone
    std::atomic<HRESULT> m_hr;
    std::atomic<bool> m_bAbort;
    std::atomic<bool> m_bDone;
    std::atomic<ULONG> m_ulProgress;
    std::atomic<ULONG> m_ulMax;
    std::atomic<DWORD> m_dwLastActivity;
    CRITICAL_SECTION m_csBinding;
    IBinding* m_pBinding;  // from OnStartBinding to OnStopBinding
};

// The progress dialog: polls the job, ends with IDOK when it is done, kStalled when the
// server fell silent, IDCANCEL on Cancel. A fetch given up is aborted, and the dialog ends
// once the worker has left (at most kAbortGraceMs later).
class CDownloadDlg : public CDialog {
public:
    explicit CDownloadDlg(CDownloadJob* pJob)
        : CDialog(IDD_DOWNLOAD), m_pJob(pJob), m_nGivenUp(0), m_dwGivenUp(0)
    {
    }

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent);

protected:
    DECLARE_MESSAGE_MAP()

private:
    void GiveUp(int nResult);

    CDownloadJob* m_pJob;
    int m_nGivenUp;  // the result to end with once the worker has left; 0 while it runs
    DWORD m_dwGivenUp;
};

const UINT_PTR kPollTimer = 1;
const UINT kPollMs = 100;
const int kStalled = 3;      // the dialog's result when the server sent nothing for too long
const DWORD kQuietMs = 250;  // a fetch that ends within this shows no dialog
// How long an aborted fetch may take to leave before the dialog ends without it.
const DWORD kAbortGraceMs = 5000;

BEGIN_MESSAGE_MAP(CDownloadDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

BOOL CDownloadDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendDlgItemMessageA(m_hWnd, IDC_DOWNLOAD_PROGRESS, PBM_SETRANGE32, 0, 100);
    ::SetTimer(m_hWnd, kPollTimer, kPollMs, nullptr);
    return TRUE;
}

void CDownloadDlg::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kPollTimer)
        return;
    if (m_pJob->IsDone() ||
        (m_nGivenUp != 0 && GetTickCount() - m_dwGivenUp >= kAbortGraceMs)) {
        ::KillTimer(m_hWnd, kPollTimer);
        EndDialog(m_nGivenUp != 0 ? m_nGivenUp : IDOK);
        return;
    }
    if (m_nGivenUp != 0)
        return;
    if (m_pJob->ProgressMax() > 0)
        SendDlgItemMessageA(m_hWnd, IDC_DOWNLOAD_PROGRESS, PBM_SETPOS,
                            DownloadPercent(m_pJob->Progress(), m_pJob->ProgressMax()), 0);
    if (m_pJob->IdleMilliseconds() >= kDownloadStallSeconds * 1000u)
        GiveUp(kStalled);
}

void CDownloadDlg::OnCancel()
{
    if (m_nGivenUp == 0)
        GiveUp(IDCANCEL);
}

void CDownloadDlg::GiveUp(int nResult)
{
    m_nGivenUp = nResult;
    m_dwGivenUp = GetTickCount();
    if (HWND hCancel = ::GetDlgItem(m_hWnd, IDCANCEL))
        ::EnableWindow(hCancel, FALSE);
    m_pJob->Abort();
}

}  // namespace

bool IsMediaAddress(const char* pszPath)
{
    const char* prefixes[] = {"http://", "https://", "ftp://"};
    const int nLength = lstrlenA(pszPath);
    for (const char* pszPrefix : prefixes) {
        // Never more of the path than it has: a shorter one is no address.
        const int nPrefix = lstrlenA(pszPrefix);
        if (nLength >= nPrefix &&
            CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, pszPath, nPrefix, pszPrefix,
                           nPrefix) == CSTR_EQUAL)
            return true;
    }
    return false;
}

int DownloadPercent(ULONG ulProgress, ULONG ulMax)
{
    if (ulMax == 0 || ulProgress >= ulMax)
        return ulMax == 0 ? 0 : 100;
    return static_cast<int>(static_cast<unsigned long long>(ulProgress) * 100 / ulMax);
}

HRESULT DownloadWithProgress(const char* pszUrl, char* pszLocal, int cchLocal)
{
    CComPtr<CDownloadJob> pJob = CComPtr<CDownloadJob>::Adopt(new CDownloadJob(pszUrl));
    pJob->AddRef();  // the worker's reference, which Run takes over
    DWORD dwThread = 0;
    CHandleHolder thread(CreateThread(nullptr, 0, CDownloadJob::Run, pJob.Get(), 0, &dwThread));
    if (!thread.IsValid()) {
        pJob->Release();  // the worker never started: its reference comes back
        return E_OUTOFMEMORY;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    // A fetch that ends at once (a local server, a cached copy) shows no dialog.
    INT_PTR nResult = IDOK;
    if (WaitForSingleObject(thread.Get(), kQuietMs) != WAIT_OBJECT_0) {
        CDownloadDlg dialog(pJob.Get());
        nResult = dialog.DoModal();
    }
    if (nResult == kStalled)
        return HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    if (nResult != IDOK) {
        pJob->Abort();
        return E_ABORT;
    }
    HRESULT hr = pJob->Result();
    if (SUCCEEDED(hr))
        lstrcpynA(pszLocal, pJob->LocalPath(), cchLocal);
    return hr;
}
