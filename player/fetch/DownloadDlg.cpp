#include "DownloadDlg.h"

#include <commctrl.h>
#include <urlmon.h>

#include <string>

#include "Holders.h"
#include "UrlFetch.h"
#include "resource.h"

// What the worker thread and the dialog share. Either may be the last to let go of it:
// a cancelled fetch is left to end on its own, and the dialog does not wait for it.
class CDownloadJob final : public IBindStatusCallback {
public:
    explicit CDownloadJob(const char* pszUrl)
        : m_cRef(1), m_strUrl(pszUrl), m_szLocal(), m_hr(E_PENDING), m_bAbort(0), m_bDone(0),
          m_ulProgress(0), m_ulMax(0), m_dwLastActivity(GetTickCount())
    {
    }
    CDownloadJob(const CDownloadJob&) = delete;
    CDownloadJob& operator=(const CDownloadJob&) = delete;

    static DWORD WINAPI Run(LPVOID pParam)
    {
        CDownloadJob* pJob = static_cast<CDownloadJob*>(pParam);
        HRESULT hrInit = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        char szLocal[MAX_PATH] = "";
        HRESULT hr = URLDownloadToCacheFileA(nullptr, pJob->m_strUrl.c_str(), szLocal, MAX_PATH, 0,
                                             pJob);
        lstrcpynA(pJob->m_szLocal, szLocal, MAX_PATH);
        pJob->m_hr = hr;
        InterlockedExchange(&pJob->m_bDone, 1);
        if (SUCCEEDED(hrInit))
            CoUninitialize();
        pJob->Release();
        return 0;
    }

    void Abort() { InterlockedExchange(&m_bAbort, 1); }
    bool IsDone() const { return m_bDone != 0; }
    HRESULT Result() const { return m_hr; }
    const char* LocalPath() const { return m_szLocal; }
    ULONG Progress() const { return m_ulProgress; }
    ULONG ProgressMax() const { return m_ulMax; }
    DWORD IdleMilliseconds() const { return GetTickCount() - m_dwLastActivity; }

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
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return Alive(); }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG ulProgress, ULONG ulProgressMax, ULONG, LPCWSTR) override
    {
        m_ulProgress = ulProgress;
        m_ulMax = ulProgressMax;
        return Alive();
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return Alive(); }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

private:
    ~CDownloadJob() = default;

    HRESULT Alive()
    {
        m_dwLastActivity = GetTickCount();
        return m_bAbort != 0 ? E_ABORT : S_OK;
    }

    LONG m_cRef;
    std::string m_strUrl;
    char m_szLocal[MAX_PATH];
    volatile HRESULT m_hr;
    volatile LONG m_bAbort;
    volatile LONG m_bDone;
    volatile ULONG m_ulProgress;
    volatile ULONG m_ulMax;
    volatile DWORD m_dwLastActivity;
};

namespace {

const UINT_PTR kPollTimer = 1;
const UINT kPollMs = 100;
const int kStalled = 3;
const DWORD kQuietMs = 250;  // the dialog's result when the server sent nothing for too long

}  // namespace

BEGIN_MESSAGE_MAP(CDownloadDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CDownloadDlg::CDownloadDlg(CDownloadJob* pJob) : CDialog(IDD_DOWNLOAD), m_pJob(pJob) {}

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
    if (m_pJob->IsDone()) {
        ::KillTimer(m_hWnd, kPollTimer);
        EndDialog(IDOK);
        return;
    }
    ULONG ulMax = m_pJob->ProgressMax();
    if (ulMax > 0) {
        ULONG ulProgress = m_pJob->Progress();
        int nPercent = static_cast<int>(ulProgress >= ulMax ? 100 : MulDiv(static_cast<int>(ulProgress), 100,
                                                                          static_cast<int>(ulMax)));
        SendDlgItemMessageA(m_hWnd, IDC_DOWNLOAD_PROGRESS, PBM_SETPOS, nPercent, 0);
    }
    if (m_pJob->IdleMilliseconds() >= kStallSeconds * 1000u)
        Abandon(kStalled);
}

void CDownloadDlg::OnCancel()
{
    Abandon(IDCANCEL);
}

void CDownloadDlg::Abandon(int nResult)
{
    ::KillTimer(m_hWnd, kPollTimer);
    m_pJob->Abort();
    EndDialog(nResult);
}

HRESULT DownloadWithProgress(const char* pszUrl, char* pszLocal, int cchLocal)
{
    CDownloadJob* pJob = new CDownloadJob(pszUrl);
    pJob->AddRef();  // the worker's reference
    DWORD dwThread = 0;
    CHandleHolder thread(CreateThread(nullptr, 0, CDownloadJob::Run, pJob, 0, &dwThread));
    if (!thread.IsValid()) {
        pJob->Release();
        pJob->Release();
        return E_OUTOFMEMORY;
    }
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    // A fetch that ends at once (a local server, a cached copy) shows no dialog.
    INT_PTR nResult = IDOK;
    if (WaitForSingleObject(thread.Get(), kQuietMs) != WAIT_OBJECT_0) {
        CDownloadDlg dialog(pJob);
        nResult = dialog.DoModal();
    }
    HRESULT hr = E_ABORT;
    if (nResult == IDOK) {
        hr = pJob->Result();
        if (SUCCEEDED(hr))
            lstrcpynA(pszLocal, pJob->LocalPath(), cchLocal);
    } else if (nResult == kStalled) {
        hr = HRESULT_FROM_WIN32(ERROR_TIMEOUT);
    } else {
        pJob->Abort();
    }
    pJob->Release();
    return hr;
}
