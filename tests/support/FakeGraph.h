// A scripted filter graph with real COM vtables, so the player's document can be driven
// without the engine. Every call is logged; results can be scripted per method name.
//
// Scripting contract: a scripted failure makes the method log, return it and change nothing
// (out-parameters untouched). A scripted success code (S_FALSE, VFW_S_STATE_INTERMEDIATE...)
// lets the method do its normal work and then return that code instead of S_OK.
// Null out-parameters give E_POINTER. Methods the player has no use for return E_NOTIMPL
// (or their scripted result) and are still logged.
//
// Reference counts are only counted: the fake never deletes itself, the test owns it.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "MediaGraph.h"

class CFakeGraph : public IGraphBuilder, public IMediaControl, public IMediaEvent,
                   public IMediaPosition, public IBasicAudio, public IBasicVideo, public IVideoWindow
{
public:
    CFakeGraph();
    virtual ~CFakeGraph();
    CFakeGraph(const CFakeGraph&) = delete;
    CFakeGraph& operator=(const CFakeGraph&) = delete;

    // Scripting
    void SetResult(const char* pszMethod, HRESULT hr);
    void RefuseInterface(REFIID riid);
    void SetDuration(double d);  // also sets the stop time
    void SetPosition(double p);
    void SetVideoSize(long cx, long cy);
    void QueueEvent(long lCode, LONG_PTR lParam1 = 0, LONG_PTR lParam2 = 0);
    void SetHoldState(bool b);   // Run/Pause/Stop succeed but leave State() alone

    // Observations
    const std::vector<std::string>& Calls() const { return m_calls; }
    std::string CallString() const;
    void ClearCalls() { m_calls.clear(); }
    LONG RefCount() const { return m_cRef; }
    bool OverReleased() const { return m_bOverReleased; }
    OAFilterState State() const { return m_state; }
    double Position() const { return m_dPosition; }
    double StopTime() const { return m_dStopTime; }
    double Rate() const { return m_dRate; }
    long Volume() const { return m_lVolume; }
    long Balance() const { return m_lBalance; }
    HWND Owner() const { return m_hwndOwner; }
    HWND MessageDrain() const { return m_hwndDrain; }
    long Visible() const { return m_lVisible; }
    long WindowStyle() const { return m_lStyle; }
    long FullScreenMode() const { return m_lFullScreen; }
    RECT WindowPosition() const { return m_rcWindow; }  // right/bottom hold width/height
    HANDLE EventHandle() const { return m_hEvent; }     // signalled while events are queued
    size_t PendingEvents() const { return m_events.size(); }
    std::wstring RenderedFile() const { return m_strRendered; }

    // IUnknown (shared by all bases; IUnknown identity is the IGraphBuilder subobject)
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch (shared by the automation interfaces)
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override;

    // IFilterGraph
    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter*, LPCWSTR) override;
    HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter*) override;
    HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters**) override;
    HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR, IBaseFilter**) override;
    HRESULT STDMETHODCALLTYPE ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*) override;
    HRESULT STDMETHODCALLTYPE Reconnect(IPin*) override;
    HRESULT STDMETHODCALLTYPE Disconnect(IPin*) override;
    HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() override;

    // IGraphBuilder
    HRESULT STDMETHODCALLTYPE Connect(IPin*, IPin*) override;
    HRESULT STDMETHODCALLTYPE Render(IPin*) override;
    HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR pszFile, LPCWSTR pszPlayList) override;
    HRESULT STDMETHODCALLTYPE AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter**) override;
    HRESULT STDMETHODCALLTYPE SetLogFile(DWORD_PTR) override;
    HRESULT STDMETHODCALLTYPE Abort() override;
    HRESULT STDMETHODCALLTYPE ShouldOperationContinue() override;

    // IMediaControl (RenderFile and AddSourceFilter overload the IGraphBuilder ones)
    HRESULT STDMETHODCALLTYPE Run() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE GetState(LONG msTimeout, OAFilterState* pfs) override;
    HRESULT STDMETHODCALLTYPE RenderFile(BSTR strFile) override;
    HRESULT STDMETHODCALLTYPE AddSourceFilter(BSTR, IDispatch**) override;
    HRESULT STDMETHODCALLTYPE get_FilterCollection(IDispatch**) override;
    HRESULT STDMETHODCALLTYPE get_RegFilterCollection(IDispatch**) override;
    HRESULT STDMETHODCALLTYPE StopWhenReady() override;

    // IMediaEvent
    HRESULT STDMETHODCALLTYPE GetEventHandle(OAEVENT* phEvent) override;
    HRESULT STDMETHODCALLTYPE GetEvent(long* plCode, LONG_PTR* plParam1, LONG_PTR* plParam2,
                                       long msTimeout) override;
    HRESULT STDMETHODCALLTYPE WaitForCompletion(long msTimeout, long* plEvCode) override;
    HRESULT STDMETHODCALLTYPE CancelDefaultHandling(long) override;
    HRESULT STDMETHODCALLTYPE RestoreDefaultHandling(long) override;
    HRESULT STDMETHODCALLTYPE FreeEventParams(long, LONG_PTR, LONG_PTR) override;

    // IMediaPosition
    HRESULT STDMETHODCALLTYPE get_Duration(REFTIME* p) override;
    HRESULT STDMETHODCALLTYPE put_CurrentPosition(REFTIME t) override;
    HRESULT STDMETHODCALLTYPE get_CurrentPosition(REFTIME* p) override;
    HRESULT STDMETHODCALLTYPE get_StopTime(REFTIME* p) override;
    HRESULT STDMETHODCALLTYPE put_StopTime(REFTIME t) override;
    HRESULT STDMETHODCALLTYPE get_PrerollTime(REFTIME*) override;
    HRESULT STDMETHODCALLTYPE put_PrerollTime(REFTIME) override;
    HRESULT STDMETHODCALLTYPE put_Rate(double d) override;
    HRESULT STDMETHODCALLTYPE get_Rate(double* p) override;
    HRESULT STDMETHODCALLTYPE CanSeekForward(LONG* p) override;
    HRESULT STDMETHODCALLTYPE CanSeekBackward(LONG* p) override;

    // IBasicAudio
    HRESULT STDMETHODCALLTYPE put_Volume(long l) override;
    HRESULT STDMETHODCALLTYPE get_Volume(long* p) override;
    HRESULT STDMETHODCALLTYPE put_Balance(long l) override;
    HRESULT STDMETHODCALLTYPE get_Balance(long* p) override;

    // IBasicVideo
    HRESULT STDMETHODCALLTYPE get_AvgTimePerFrame(REFTIME* p) override;
    HRESULT STDMETHODCALLTYPE get_BitRate(long*) override;
    HRESULT STDMETHODCALLTYPE get_BitErrorRate(long*) override;
    HRESULT STDMETHODCALLTYPE get_VideoWidth(long* p) override;
    HRESULT STDMETHODCALLTYPE get_VideoHeight(long* p) override;
    HRESULT STDMETHODCALLTYPE put_SourceLeft(long) override;
    HRESULT STDMETHODCALLTYPE get_SourceLeft(long*) override;
    HRESULT STDMETHODCALLTYPE put_SourceWidth(long) override;
    HRESULT STDMETHODCALLTYPE get_SourceWidth(long*) override;
    HRESULT STDMETHODCALLTYPE put_SourceTop(long) override;
    HRESULT STDMETHODCALLTYPE get_SourceTop(long*) override;
    HRESULT STDMETHODCALLTYPE put_SourceHeight(long) override;
    HRESULT STDMETHODCALLTYPE get_SourceHeight(long*) override;
    HRESULT STDMETHODCALLTYPE put_DestinationLeft(long) override;
    HRESULT STDMETHODCALLTYPE get_DestinationLeft(long*) override;
    HRESULT STDMETHODCALLTYPE put_DestinationWidth(long) override;
    HRESULT STDMETHODCALLTYPE get_DestinationWidth(long*) override;
    HRESULT STDMETHODCALLTYPE put_DestinationTop(long) override;
    HRESULT STDMETHODCALLTYPE get_DestinationTop(long*) override;
    HRESULT STDMETHODCALLTYPE put_DestinationHeight(long) override;
    HRESULT STDMETHODCALLTYPE get_DestinationHeight(long*) override;
    HRESULT STDMETHODCALLTYPE SetSourcePosition(long, long, long, long) override;
    HRESULT STDMETHODCALLTYPE GetSourcePosition(long*, long*, long*, long*) override;
    HRESULT STDMETHODCALLTYPE SetDefaultSourcePosition() override;
    HRESULT STDMETHODCALLTYPE SetDestinationPosition(long, long, long, long) override;
    HRESULT STDMETHODCALLTYPE GetDestinationPosition(long*, long*, long*, long*) override;
    HRESULT STDMETHODCALLTYPE SetDefaultDestinationPosition() override;
    HRESULT STDMETHODCALLTYPE GetVideoSize(long* pcx, long* pcy) override;
    HRESULT STDMETHODCALLTYPE GetVideoPaletteEntries(long, long, long*, long*) override;
    HRESULT STDMETHODCALLTYPE GetCurrentImage(long*, long*) override;
    HRESULT STDMETHODCALLTYPE IsUsingDefaultSource() override;
    HRESULT STDMETHODCALLTYPE IsUsingDefaultDestination() override;

    // IVideoWindow
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR) override;
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR*) override;
    HRESULT STDMETHODCALLTYPE put_WindowStyle(long l) override;
    HRESULT STDMETHODCALLTYPE get_WindowStyle(long* p) override;
    HRESULT STDMETHODCALLTYPE put_WindowStyleEx(long) override;
    HRESULT STDMETHODCALLTYPE get_WindowStyleEx(long*) override;
    HRESULT STDMETHODCALLTYPE put_AutoShow(long) override;
    HRESULT STDMETHODCALLTYPE get_AutoShow(long*) override;
    HRESULT STDMETHODCALLTYPE put_WindowState(long) override;
    HRESULT STDMETHODCALLTYPE get_WindowState(long*) override;
    HRESULT STDMETHODCALLTYPE put_BackgroundPalette(long) override;
    HRESULT STDMETHODCALLTYPE get_BackgroundPalette(long*) override;
    HRESULT STDMETHODCALLTYPE put_Visible(long l) override;
    HRESULT STDMETHODCALLTYPE get_Visible(long* p) override;
    HRESULT STDMETHODCALLTYPE put_Left(long) override;
    HRESULT STDMETHODCALLTYPE get_Left(long*) override;
    HRESULT STDMETHODCALLTYPE put_Width(long) override;
    HRESULT STDMETHODCALLTYPE get_Width(long*) override;
    HRESULT STDMETHODCALLTYPE put_Top(long) override;
    HRESULT STDMETHODCALLTYPE get_Top(long*) override;
    HRESULT STDMETHODCALLTYPE put_Height(long) override;
    HRESULT STDMETHODCALLTYPE get_Height(long*) override;
    HRESULT STDMETHODCALLTYPE put_Owner(OAHWND h) override;
    HRESULT STDMETHODCALLTYPE get_Owner(OAHWND* p) override;
    HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND h) override;
    HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND* p) override;
    HRESULT STDMETHODCALLTYPE get_BorderColor(long*) override;
    HRESULT STDMETHODCALLTYPE put_BorderColor(long) override;
    HRESULT STDMETHODCALLTYPE get_FullScreenMode(long* p) override;
    HRESULT STDMETHODCALLTYPE put_FullScreenMode(long l) override;
    HRESULT STDMETHODCALLTYPE SetWindowForeground(long) override;
    HRESULT STDMETHODCALLTYPE NotifyOwnerMessage(OAHWND, long, LONG_PTR, LONG_PTR) override;
    HRESULT STDMETHODCALLTYPE SetWindowPosition(long l, long t, long w, long h) override;
    HRESULT STDMETHODCALLTYPE GetWindowPosition(long* pl, long* pt, long* pw, long* ph) override;
    HRESULT STDMETHODCALLTYPE GetMinIdealImageSize(long*, long*) override;
    HRESULT STDMETHODCALLTYPE GetMaxIdealImageSize(long*, long*) override;
    HRESULT STDMETHODCALLTYPE GetRestorePosition(long*, long*, long*, long*) override;
    HRESULT STDMETHODCALLTYPE HideCursor(long) override;
    HRESULT STDMETHODCALLTYPE IsCursorHidden(long*) override;

private:
    struct Event { long lCode; LONG_PTR lParam1, lParam2; };

    // Logs the call (strEntry, or the bare name) and returns the scripted result for
    // pszMethod, S_OK if none is scripted.
    HRESULT Enter(const char* pszMethod, const std::string& strEntry = std::string());
    HRESULT NotImplemented(const char* pszMethod);
    HRESULT SetState(const char* pszMethod, OAFilterState state);
    HRESULT DoRenderFile(LPCWSTR pszFile);
    void UpdateEventSignal();

    std::vector<std::string> m_calls;
    std::map<std::string, HRESULT> m_results;
    std::vector<IID> m_refused;
    std::deque<Event> m_events;
    LONG m_cRef = 0;
    bool m_bOverReleased = false;
    bool m_bHoldState = false;
    OAFilterState m_state = State_Stopped;
    double m_dDuration = 0.0, m_dPosition = 0.0, m_dStopTime = 0.0, m_dRate = 1.0;
    long m_lVolume = 0, m_lBalance = 0;
    long m_cxVideo = 352, m_cyVideo = 240;
    HWND m_hwndOwner = nullptr, m_hwndDrain = nullptr;
    long m_lVisible = OAFALSE, m_lStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    long m_lFullScreen = OAFALSE;
    RECT m_rcWindow = {0, 0, 352, 240};
    HANDLE m_hEvent = nullptr;
    std::wstring m_strRendered;
};

// Installs fakes behind MediaGraph's factory: each creation hands out the next queued fake
// (with one reference added) or fails with the scripted result when the queue is empty.
// Only one may exist at a time.
class CFakeGraphFactory
{
public:
    CFakeGraphFactory();
    ~CFakeGraphFactory();
    CFakeGraphFactory(const CFakeGraphFactory&) = delete;
    CFakeGraphFactory& operator=(const CFakeGraphFactory&) = delete;

    void Queue(CFakeGraph* pGraph) { m_queue.push_back(pGraph); }  // not owned
    void FailWith(HRESULT hr) { m_hrEmpty = hr; }
    int Created() const { return m_cCreated; }

private:
    static HRESULT Create(IGraphBuilder** ppGraph);

    std::deque<CFakeGraph*> m_queue;
    HRESULT m_hrEmpty = REGDB_E_CLASSNOTREG;
    int m_cCreated = 0;
    MediaGraph::PFN_CREATEGRAPH m_pfnPrevious = nullptr;
};
