#include "FakeGraph.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace {

std::string Format(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));

std::string Format(const char* pszFormat, ...)
{
    char sz[256];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(sz, sizeof(sz), pszFormat, args);
    va_end(args);
    return sz;
}

std::string ToUtf8(LPCWSTR psz)
{
    if (!psz) return "null";
    int cb = WideCharToMultiByte(CP_UTF8, 0, psz, -1, nullptr, 0, nullptr, nullptr);
    if (cb <= 1) return std::string();
    std::string str(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_UTF8, 0, psz, -1, &str[0], cb, nullptr, nullptr);
    str.resize(static_cast<size_t>(cb - 1));
    return str;
}

const char* WindowArg(OAHWND h) { return h ? "hwnd" : "0"; }

const char* InterfaceName(REFIID riid)
{
    static const struct { const IID* piid; const char* pszName; } s_names[] = {
        {&IID_IUnknown, "IUnknown"},           {&IID_IGraphBuilder, "IGraphBuilder"},
        {&IID_IFilterGraph, "IFilterGraph"},   {&IID_IMediaControl, "IMediaControl"},
        {&IID_IMediaEvent, "IMediaEvent"},     {&IID_IMediaPosition, "IMediaPosition"},
        {&IID_IBasicAudio, "IBasicAudio"},     {&IID_IBasicVideo, "IBasicVideo"},
        {&IID_IVideoWindow, "IVideoWindow"},
    };
    for (const auto& n : s_names)
        if (IsEqualIID(riid, *n.piid)) return n.pszName;
    return "other";
}

}  // namespace

CFakeGraph::CFakeGraph() : m_hEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CFakeGraph::~CFakeGraph()
{
    if (m_hEvent) CloseHandle(m_hEvent);
}

// ---- Scripting and observation ----

void CFakeGraph::SetResult(const char* pszMethod, HRESULT hr) { m_results[pszMethod] = hr; }
void CFakeGraph::RefuseInterface(REFIID riid) { m_refused.push_back(riid); }
void CFakeGraph::SetDuration(double d) { m_dDuration = m_dStopTime = d; }
void CFakeGraph::SetPosition(double p) { m_dPosition = p; }
void CFakeGraph::SetHoldState(bool b) { m_bHoldState = b; }

void CFakeGraph::SetVideoSize(long cx, long cy)
{
    m_cxVideo = cx;
    m_cyVideo = cy;
}

void CFakeGraph::QueueEvent(long lCode, LONG_PTR lParam1, LONG_PTR lParam2)
{
    m_events.push_back(Event{lCode, lParam1, lParam2});
    UpdateEventSignal();
}

std::string CFakeGraph::CallString() const
{
    std::string str;
    for (size_t i = 0; i < m_calls.size(); ++i) {
        if (i) str += ", ";
        str += m_calls[i];
    }
    return str;
}

void CFakeGraph::UpdateEventSignal()
{
    if (!m_hEvent) return;
    if (m_events.empty())
        ResetEvent(m_hEvent);
    else
        SetEvent(m_hEvent);
}

HRESULT CFakeGraph::Enter(const char* pszMethod, const std::string& strEntry)
{
    m_calls.push_back(strEntry.empty() ? std::string(pszMethod) : strEntry);
    auto it = m_results.find(pszMethod);
    return it == m_results.end() ? S_OK : it->second;
}

HRESULT CFakeGraph::NotImplemented(const char* pszMethod)
{
    m_calls.push_back(pszMethod);
    auto it = m_results.find(pszMethod);
    return it == m_results.end() ? E_NOTIMPL : it->second;
}

// ---- IUnknown ----

HRESULT STDMETHODCALLTYPE CFakeGraph::QueryInterface(REFIID riid, void** ppv)
{
    m_calls.push_back(std::string("QueryInterface(") + InterfaceName(riid) + ")");
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    for (const IID& iid : m_refused)
        if (IsEqualIID(riid, iid)) return E_NOINTERFACE;

    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IGraphBuilder) ||
        IsEqualIID(riid, IID_IFilterGraph))
        *ppv = static_cast<IGraphBuilder*>(this);
    else if (IsEqualIID(riid, IID_IMediaControl))
        *ppv = static_cast<IMediaControl*>(this);
    else if (IsEqualIID(riid, IID_IMediaEvent))
        *ppv = static_cast<IMediaEvent*>(this);
    else if (IsEqualIID(riid, IID_IMediaPosition))
        *ppv = static_cast<IMediaPosition*>(this);
    else if (IsEqualIID(riid, IID_IBasicAudio))
        *ppv = static_cast<IBasicAudio*>(this);
    else if (IsEqualIID(riid, IID_IBasicVideo))
        *ppv = static_cast<IBasicVideo*>(this);
    else if (IsEqualIID(riid, IID_IVideoWindow))
        *ppv = static_cast<IVideoWindow*>(this);
    else
        return E_NOINTERFACE;  // IDispatch included: several bases implement it
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE CFakeGraph::AddRef() { return static_cast<ULONG>(++m_cRef); }

ULONG STDMETHODCALLTYPE CFakeGraph::Release()
{
    if (m_cRef == 0) {
        m_bOverReleased = true;
        return 0;
    }
    return static_cast<ULONG>(--m_cRef);
}

// ---- Methods the player has no use for ----

#define FAKE_NOTIMPL(Name, Params) \
    HRESULT STDMETHODCALLTYPE CFakeGraph::Name Params { return NotImplemented(#Name); }

FAKE_NOTIMPL(GetTypeInfoCount, (UINT*))
FAKE_NOTIMPL(GetTypeInfo, (UINT, LCID, ITypeInfo**))
FAKE_NOTIMPL(GetIDsOfNames, (REFIID, LPOLESTR*, UINT, LCID, DISPID*))
FAKE_NOTIMPL(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))

FAKE_NOTIMPL(AddFilter, (IBaseFilter*, LPCWSTR))
FAKE_NOTIMPL(RemoveFilter, (IBaseFilter*))
FAKE_NOTIMPL(EnumFilters, (IEnumFilters**))
// The scripted graph holds no filters: asking for one by name finds nothing, and is
// not part of what the document asked the graph for.
HRESULT STDMETHODCALLTYPE CFakeGraph::FindFilterByName(LPCWSTR, IBaseFilter** ppFilter)
{
    if (ppFilter != nullptr)
        *ppFilter = nullptr;
    return VFW_E_NOT_FOUND;
}
FAKE_NOTIMPL(ConnectDirect, (IPin*, IPin*, const AM_MEDIA_TYPE*))
FAKE_NOTIMPL(Reconnect, (IPin*))
FAKE_NOTIMPL(Disconnect, (IPin*))
FAKE_NOTIMPL(SetDefaultSyncSource, ())

FAKE_NOTIMPL(Connect, (IPin*, IPin*))
FAKE_NOTIMPL(Render, (IPin*))
FAKE_NOTIMPL(AddSourceFilter, (LPCWSTR, LPCWSTR, IBaseFilter**))
FAKE_NOTIMPL(SetLogFile, (DWORD_PTR))

FAKE_NOTIMPL(AddSourceFilter, (BSTR, IDispatch**))
FAKE_NOTIMPL(get_FilterCollection, (IDispatch**))
FAKE_NOTIMPL(get_RegFilterCollection, (IDispatch**))

FAKE_NOTIMPL(get_PrerollTime, (REFTIME*))
FAKE_NOTIMPL(put_PrerollTime, (REFTIME))

FAKE_NOTIMPL(get_BitRate, (long*))
FAKE_NOTIMPL(get_BitErrorRate, (long*))
FAKE_NOTIMPL(put_SourceLeft, (long))
FAKE_NOTIMPL(get_SourceLeft, (long*))
FAKE_NOTIMPL(put_SourceWidth, (long))
FAKE_NOTIMPL(get_SourceWidth, (long*))
FAKE_NOTIMPL(put_SourceTop, (long))
FAKE_NOTIMPL(get_SourceTop, (long*))
FAKE_NOTIMPL(put_SourceHeight, (long))
FAKE_NOTIMPL(get_SourceHeight, (long*))
FAKE_NOTIMPL(put_DestinationLeft, (long))
FAKE_NOTIMPL(get_DestinationLeft, (long*))
FAKE_NOTIMPL(put_DestinationWidth, (long))
FAKE_NOTIMPL(get_DestinationWidth, (long*))
FAKE_NOTIMPL(put_DestinationTop, (long))
FAKE_NOTIMPL(get_DestinationTop, (long*))
FAKE_NOTIMPL(put_DestinationHeight, (long))
FAKE_NOTIMPL(get_DestinationHeight, (long*))
FAKE_NOTIMPL(SetSourcePosition, (long, long, long, long))
FAKE_NOTIMPL(GetSourcePosition, (long*, long*, long*, long*))
FAKE_NOTIMPL(SetDefaultSourcePosition, ())
FAKE_NOTIMPL(SetDestinationPosition, (long, long, long, long))
FAKE_NOTIMPL(GetDestinationPosition, (long*, long*, long*, long*))
FAKE_NOTIMPL(SetDefaultDestinationPosition, ())
FAKE_NOTIMPL(GetVideoPaletteEntries, (long, long, long*, long*))
FAKE_NOTIMPL(GetCurrentImage, (long*, long*))
FAKE_NOTIMPL(IsUsingDefaultSource, ())
FAKE_NOTIMPL(IsUsingDefaultDestination, ())

FAKE_NOTIMPL(put_Caption, (BSTR))
FAKE_NOTIMPL(get_Caption, (BSTR*))
FAKE_NOTIMPL(put_WindowStyleEx, (long))
FAKE_NOTIMPL(get_WindowStyleEx, (long*))
FAKE_NOTIMPL(put_AutoShow, (long))
FAKE_NOTIMPL(get_AutoShow, (long*))
FAKE_NOTIMPL(put_WindowState, (long))
FAKE_NOTIMPL(get_WindowState, (long*))
FAKE_NOTIMPL(put_BackgroundPalette, (long))
FAKE_NOTIMPL(get_BackgroundPalette, (long*))
FAKE_NOTIMPL(put_Left, (long))
FAKE_NOTIMPL(get_Left, (long*))
FAKE_NOTIMPL(put_Width, (long))
FAKE_NOTIMPL(get_Width, (long*))
FAKE_NOTIMPL(put_Top, (long))
FAKE_NOTIMPL(get_Top, (long*))
FAKE_NOTIMPL(put_Height, (long))
FAKE_NOTIMPL(get_Height, (long*))
FAKE_NOTIMPL(get_BorderColor, (long*))
FAKE_NOTIMPL(put_BorderColor, (long))
FAKE_NOTIMPL(SetWindowForeground, (long))
FAKE_NOTIMPL(NotifyOwnerMessage, (OAHWND, long, LONG_PTR, LONG_PTR))
FAKE_NOTIMPL(GetMinIdealImageSize, (long*, long*))
FAKE_NOTIMPL(GetMaxIdealImageSize, (long*, long*))
FAKE_NOTIMPL(GetRestorePosition, (long*, long*, long*, long*))
FAKE_NOTIMPL(HideCursor, (long))
FAKE_NOTIMPL(IsCursorHidden, (long*))

#undef FAKE_NOTIMPL

// Methods that only report success (or their scripted result).
#define FAKE_NOOP(Name, Params) \
    HRESULT STDMETHODCALLTYPE CFakeGraph::Name Params { return Enter(#Name); }

FAKE_NOOP(Abort, ())
FAKE_NOOP(ShouldOperationContinue, ())
FAKE_NOOP(CancelDefaultHandling, (long))
FAKE_NOOP(RestoreDefaultHandling, (long))
FAKE_NOOP(FreeEventParams, (long, LONG_PTR, LONG_PTR))

#undef FAKE_NOOP

// Getters: log, bail out on a scripted failure or a null pointer, else store the value.
#define FAKE_GET(Name, Type, Value)                                  \
    HRESULT STDMETHODCALLTYPE CFakeGraph::Name(Type* p)              \
    {                                                                \
        HRESULT hr = Enter(#Name);                                   \
        if (FAILED(hr)) return hr;                                   \
        if (!p) return E_POINTER;                                    \
        *p = (Value);                                                \
        return hr;                                                   \
    }

FAKE_GET(get_Duration, REFTIME, m_dDuration)
FAKE_GET(get_CurrentPosition, REFTIME, m_dPosition)
FAKE_GET(get_StopTime, REFTIME, m_dStopTime)
FAKE_GET(get_Rate, double, m_dRate)
FAKE_GET(CanSeekForward, LONG, OATRUE)
FAKE_GET(CanSeekBackward, LONG, OATRUE)
FAKE_GET(get_Volume, long, m_lVolume)
FAKE_GET(get_Balance, long, m_lBalance)
FAKE_GET(get_AvgTimePerFrame, REFTIME, 0.04)
FAKE_GET(get_VideoWidth, long, m_cxVideo)
FAKE_GET(get_VideoHeight, long, m_cyVideo)
FAKE_GET(get_WindowStyle, long, m_lStyle)
FAKE_GET(get_Visible, long, m_lVisible)
FAKE_GET(get_Owner, OAHWND, reinterpret_cast<OAHWND>(m_hwndOwner))
FAKE_GET(get_MessageDrain, OAHWND, reinterpret_cast<OAHWND>(m_hwndDrain))
FAKE_GET(get_FullScreenMode, long, m_lFullScreen)
FAKE_GET(GetEventHandle, OAEVENT, reinterpret_cast<OAEVENT>(m_hEvent))

#undef FAKE_GET

// Setters: log with the argument, store it unless the scripted result is a failure.
#define FAKE_PUT(Name, Type, Fmt, Member)                              \
    HRESULT STDMETHODCALLTYPE CFakeGraph::Name(Type v)                 \
    {                                                                  \
        HRESULT hr = Enter(#Name, Format(#Name "(" Fmt ")", v));       \
        if (SUCCEEDED(hr)) Member = v;                                 \
        return hr;                                                     \
    }

FAKE_PUT(put_CurrentPosition, REFTIME, "%.15g", m_dPosition)
FAKE_PUT(put_StopTime, REFTIME, "%.15g", m_dStopTime)
FAKE_PUT(put_WindowStyle, long, "0x%lx", m_lStyle)
FAKE_PUT(put_Visible, long, "%ld", m_lVisible)
FAKE_PUT(put_FullScreenMode, long, "%ld", m_lFullScreen)

#undef FAKE_PUT

// ---- IGraphBuilder / IMediaControl ----

HRESULT CFakeGraph::DoRenderFile(LPCWSTR pszFile)
{
    HRESULT hr = Enter("RenderFile", "RenderFile(" + ToUtf8(pszFile) + ")");
    if (FAILED(hr)) return hr;
    if (!pszFile) return E_POINTER;
    m_strRendered = pszFile;
    return hr;
}

HRESULT STDMETHODCALLTYPE CFakeGraph::RenderFile(LPCWSTR pszFile, LPCWSTR)
{
    return DoRenderFile(pszFile);
}

HRESULT STDMETHODCALLTYPE CFakeGraph::RenderFile(BSTR strFile) { return DoRenderFile(strFile); }

HRESULT CFakeGraph::SetState(const char* pszMethod, OAFilterState state)
{
    HRESULT hr = Enter(pszMethod);
    if (SUCCEEDED(hr) && !m_bHoldState) m_state = state;
    return hr;
}

HRESULT STDMETHODCALLTYPE CFakeGraph::Run() { return SetState("Run", State_Running); }
HRESULT STDMETHODCALLTYPE CFakeGraph::Pause() { return SetState("Pause", State_Paused); }
HRESULT STDMETHODCALLTYPE CFakeGraph::Stop() { return SetState("Stop", State_Stopped); }
HRESULT STDMETHODCALLTYPE CFakeGraph::StopWhenReady()
{
    return SetState("StopWhenReady", State_Stopped);
}

HRESULT STDMETHODCALLTYPE CFakeGraph::GetState(LONG msTimeout, OAFilterState* pfs)
{
    DWORD dwTimeout = static_cast<DWORD>(msTimeout);
    HRESULT hr = Enter("GetState", dwTimeout == INFINITE
                                       ? std::string("GetState(INFINITE)")
                                       : Format("GetState(%lu)", static_cast<unsigned long>(dwTimeout)));
    if (FAILED(hr)) return hr;
    if (!pfs) return E_POINTER;
    *pfs = m_state;
    return hr;
}

// ---- IMediaEvent ----

HRESULT STDMETHODCALLTYPE CFakeGraph::GetEvent(long* plCode, LONG_PTR* plParam1,
                                               LONG_PTR* plParam2, long)
{
    HRESULT hr = Enter("GetEvent");
    if (FAILED(hr)) return hr;
    if (!plCode || !plParam1 || !plParam2) return E_POINTER;
    if (m_events.empty()) return E_ABORT;
    const Event ev = m_events.front();
    m_events.pop_front();
    UpdateEventSignal();
    *plCode = ev.lCode;
    *plParam1 = ev.lParam1;
    *plParam2 = ev.lParam2;
    return hr;
}

// A running graph completes only at the end of its media, which a script never reaches:
// the wait lasts its time-out, and one without a bound is what would hang the caller.
HRESULT STDMETHODCALLTYPE CFakeGraph::WaitForCompletion(long msTimeout, long* plEvCode)
{
    HRESULT hr = Enter("WaitForCompletion", Format("WaitForCompletion(%ld)", msTimeout));
    if (FAILED(hr)) return hr;
    if (!plEvCode) return E_POINTER;
    if (m_state == State_Running) {
        if (msTimeout < 0)
            ADD_FAILURE() << "waited without a bound for a running graph to complete";
        Sleep(msTimeout < 0 ? 0 : static_cast<DWORD>(msTimeout));
        return E_ABORT;
    }
    *plEvCode = EC_COMPLETE;
    return hr;
}

// ---- IMediaPosition ----

HRESULT STDMETHODCALLTYPE CFakeGraph::put_Rate(double d)
{
    HRESULT hr = Enter("put_Rate", Format("put_Rate(%.15g)", d));
    if (FAILED(hr)) return hr;
    if (!(d > 0.0)) return E_INVALIDARG;
    m_dRate = d;
    return hr;
}

// ---- IBasicAudio: out-of-range values are refused as the engine refuses them ----

HRESULT STDMETHODCALLTYPE CFakeGraph::put_Volume(long l)
{
    HRESULT hr = Enter("put_Volume", Format("put_Volume(%ld)", l));
    if (FAILED(hr)) return hr;
    if (l < -10000 || l > 0) return E_INVALIDARG;
    m_lVolume = l;
    return hr;
}

HRESULT STDMETHODCALLTYPE CFakeGraph::put_Balance(long l)
{
    HRESULT hr = Enter("put_Balance", Format("put_Balance(%ld)", l));
    if (FAILED(hr)) return hr;
    if (l < -10000 || l > 10000) return E_INVALIDARG;
    m_lBalance = l;
    return hr;
}

// ---- IBasicVideo ----

HRESULT STDMETHODCALLTYPE CFakeGraph::GetVideoSize(long* pcx, long* pcy)
{
    HRESULT hr = Enter("GetVideoSize");
    if (FAILED(hr)) return hr;
    if (!pcx || !pcy) return E_POINTER;
    *pcx = m_cxVideo;
    *pcy = m_cyVideo;
    return hr;
}

// ---- IVideoWindow ----

HRESULT STDMETHODCALLTYPE CFakeGraph::put_Owner(OAHWND h)
{
    HRESULT hr = Enter("put_Owner", std::string("put_Owner(") + WindowArg(h) + ")");
    if (SUCCEEDED(hr)) m_hwndOwner = reinterpret_cast<HWND>(h);
    return hr;
}

HRESULT STDMETHODCALLTYPE CFakeGraph::put_MessageDrain(OAHWND h)
{
    HRESULT hr = Enter("put_MessageDrain", std::string("put_MessageDrain(") + WindowArg(h) + ")");
    if (SUCCEEDED(hr)) m_hwndDrain = reinterpret_cast<HWND>(h);
    return hr;
}

HRESULT STDMETHODCALLTYPE CFakeGraph::SetWindowPosition(long l, long t, long w, long h)
{
    HRESULT hr = Enter("SetWindowPosition", Format("SetWindowPosition(%ld,%ld,%ld,%ld)", l, t, w, h));
    if (SUCCEEDED(hr)) m_rcWindow = RECT{l, t, w, h};
    return hr;
}

HRESULT STDMETHODCALLTYPE CFakeGraph::GetWindowPosition(long* pl, long* pt, long* pw, long* ph)
{
    HRESULT hr = Enter("GetWindowPosition");
    if (FAILED(hr)) return hr;
    if (!pl || !pt || !pw || !ph) return E_POINTER;
    *pl = m_rcWindow.left;
    *pt = m_rcWindow.top;
    *pw = m_rcWindow.right;
    *ph = m_rcWindow.bottom;
    return hr;
}

// ---- Factory ----

namespace {
CFakeGraphFactory* s_pFactory = nullptr;
}

CFakeGraphFactory::CFakeGraphFactory()
{
    if (s_pFactory) {
        std::fputs("CFakeGraphFactory: a second factory was installed\n", stderr);
        std::abort();
    }
    s_pFactory = this;
    m_pfnPrevious = MediaGraph::SetFactory(&CFakeGraphFactory::Create);
}

CFakeGraphFactory::~CFakeGraphFactory()
{
    MediaGraph::SetFactory(m_pfnPrevious);
    s_pFactory = nullptr;
}

HRESULT CFakeGraphFactory::Create(IGraphBuilder** ppGraph)
{
    if (!ppGraph) return E_POINTER;
    *ppGraph = nullptr;
    if (!s_pFactory) return E_UNEXPECTED;
    if (s_pFactory->m_queue.empty()) return s_pFactory->m_hrEmpty;
    CFakeGraph* pGraph = s_pFactory->m_queue.front();
    s_pFactory->m_queue.pop_front();
    *ppGraph = static_cast<IGraphBuilder*>(pGraph);
    pGraph->AddRef();
    ++s_pFactory->m_cCreated;
    return S_OK;
}
