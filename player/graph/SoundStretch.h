// The sound at a playback rate with its pitch kept: a media object of the player's own
// (CTimeStretch over 8- and 16-bit PCM or float, the same format out as in) that the engine's media
// object wrapper filter puts between a sound's decoder and its renderer. Its output carries
// no times, so the renderer plays it as it comes, at the device's pace: the sound lasts the
// media's length divided by the speed, whatever clock drives the graph.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <mediaobj.h>

#include "TimeStretch.h"

class CRateClock;

class CSoundStretch final : public IMediaObject {
public:
    // Makes the class known in this process, once, so that the wrapper filter can create
    // it. Returns the result of the registration (S_OK when it was made before).
    static HRESULT Register();

    // A new wrapper filter around a new stretch at dSpeed, with one reference, or null
    // when the engine has no wrapper or refuses the class. bKeepWithPicture: see
    // KeepWithPicture.
    static IBaseFilter* CreateFilter(double dSpeed, bool bKeepWithPicture);

    // The stretch inside a filter of ours, with a reference the caller releases; else null.
    static CSoundStretch* FromFilter(IBaseFilter* pFilter);

    // The speed from the next input on (refused when not greater than zero or not finite).
    void SetSpeed(double dSpeed);
    // Whether the sound plays beside a picture: its first input after a start or a flush,
    // when it is timed later than the stream's start (within 2 s), is then preceded by that
    // much silence, so that it keeps in step with a picture that waits for its time. A sound
    // alone plays from its first sample.
    void KeepWithPicture(bool bKeep);
    // The clock whose runs the picture keeps to (null: none). Beside a picture the sound
    // is steered to it: a sound the device let fall behind (a gap of the sound server
    // delays all that follows it) plays up to 8 % faster until it is back in step.
    void SteerBy(CRateClock* pClock);

    // Created inside pOuter (or on its own when null): the inner unknown, with one reference.
    static HRESULT CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv);

    // IUnknown: the outer object's
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IMediaObject
    HRESULT STDMETHODCALLTYPE GetStreamCount(DWORD* pcInputStreams, DWORD* pcOutputStreams) override;
    HRESULT STDMETHODCALLTYPE GetInputStreamInfo(DWORD dwInputStreamIndex, DWORD* pdwFlags) override;
    HRESULT STDMETHODCALLTYPE GetOutputStreamInfo(DWORD dwOutputStreamIndex, DWORD* pdwFlags) override;
    HRESULT STDMETHODCALLTYPE GetInputType(DWORD dwInputStreamIndex, DWORD dwTypeIndex, DMO_MEDIA_TYPE* pmt) override;
    HRESULT STDMETHODCALLTYPE GetOutputType(DWORD dwOutputStreamIndex, DWORD dwTypeIndex, DMO_MEDIA_TYPE* pmt) override;
    HRESULT STDMETHODCALLTYPE SetInputType(DWORD dwInputStreamIndex, const DMO_MEDIA_TYPE* pmt, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE SetOutputType(DWORD dwOutputStreamIndex, const DMO_MEDIA_TYPE* pmt, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE GetInputCurrentType(DWORD dwInputStreamIndex, DMO_MEDIA_TYPE* pmt) override;
    HRESULT STDMETHODCALLTYPE GetOutputCurrentType(DWORD dwOutputStreamIndex, DMO_MEDIA_TYPE* pmt) override;
    HRESULT STDMETHODCALLTYPE GetInputSizeInfo(DWORD dwInputStreamIndex, DWORD* pcbSize, DWORD* pcbMaxLookahead,
                                               DWORD* pcbAlignment) override;
    HRESULT STDMETHODCALLTYPE GetOutputSizeInfo(DWORD dwOutputStreamIndex, DWORD* pcbSize, DWORD* pcbAlignment) override;
    HRESULT STDMETHODCALLTYPE GetInputMaxLatency(DWORD dwInputStreamIndex, REFERENCE_TIME* prtMaxLatency) override;
    HRESULT STDMETHODCALLTYPE SetInputMaxLatency(DWORD dwInputStreamIndex, REFERENCE_TIME rtMaxLatency) override;
    HRESULT STDMETHODCALLTYPE Flush() override;
    HRESULT STDMETHODCALLTYPE Discontinuity(DWORD dwInputStreamIndex) override;
    HRESULT STDMETHODCALLTYPE AllocateStreamingResources() override;
    HRESULT STDMETHODCALLTYPE FreeStreamingResources() override;
    HRESULT STDMETHODCALLTYPE GetInputStatus(DWORD dwInputStreamIndex, DWORD* dwFlags) override;
    HRESULT STDMETHODCALLTYPE ProcessInput(DWORD dwInputStreamIndex, IMediaBuffer* pBuffer, DWORD dwFlags,
                                           REFERENCE_TIME rtTimestamp, REFERENCE_TIME rtTimelength) override;
    HRESULT STDMETHODCALLTYPE ProcessOutput(DWORD dwFlags, DWORD cOutputBufferCount,
                                            DMO_OUTPUT_DATA_BUFFER* pOutputBuffers, DWORD* pdwStatus) override;
    HRESULT STDMETHODCALLTYPE Lock(LONG bLock) override;

    CSoundStretch(const CSoundStretch&) = delete;
    CSoundStretch& operator=(const CSoundStretch&) = delete;

private:
    // The identity the wrapper filter holds: it answers for the whole object and owns it.
    class CInner final : public IUnknown {
    public:
        explicit CInner(CSoundStretch* pOwner) : m_pOwner(pOwner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;

    private:
        CSoundStretch* m_pOwner;
        LONG m_cRef = 1;
    };

    explicit CSoundStretch(IUnknown* pOuter);
    ~CSoundStretch();
    void ClearTypes();
    // The type set on one side (bSet, read under the lock), the input's either way.
    HRESULT CurrentType(DWORD dwStreamIndex, const bool& bSet, DMO_MEDIA_TYPE* pmt);
    void ResetStretchLocked();
    double SteerLocked();

    CInner m_inner;
    IUnknown* m_pOuter;
    CRITICAL_SECTION m_cs;
    bool m_bInputSet = false;
    bool m_bOutputSet = false;
    DMO_MEDIA_TYPE m_mtInput = {};
    WORD m_wBits = 16;
    WORD m_nChannels = 1;
    DWORD m_nSamplesPerSec = 0;
    double m_dSpeed = 1.0;
    bool m_bKeepWithPicture = false;
    bool m_bStarted = false;  // input has come since the last start or flush
    CRateClock* m_pClock = nullptr;  // with a reference
    REFERENCE_TIME m_rtOutput = 0;   // the stream time the output has reached
    int m_nSteerReads = 0;           // lags read since the start or the last change of speed
    double m_dInStepMs = 0;          // the least of them after the first few: the lag in step
    CTimeStretch m_stretch;
    std::vector<float> m_frames;  // one buffer's worth, converted
};
