#include "SoundStretch.h"

#include <mmreg.h>
#include <dmodshow.h>
#include <dmoreg.h>
#include <mediaerr.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "Holders.h"
#include "RateClock.h"

namespace {

// {3F0B6E8C-5D21-4A7E-9C43-1E8A2B7D6F50}: the class the wrapper filter creates.
const CLSID kClsidSoundStretch = {0x3f0b6e8c, 0x5d21, 0x4a7e, {0x9c, 0x43, 0x1e, 0x8a, 0x2b, 0x7d, 0x6f, 0x50}};
// {A2C4E6F8-1B3D-4F5A-8C7E-9D0B2A4C6E81}: asked of a filter, answers only a stretch of ours.
const GUID kIidSoundStretch = {0xa2c4e6f8, 0x1b3d, 0x4f5a, {0x8c, 0x7e, 0x9d, 0x0b, 0x2a, 0x4c, 0x6e, 0x81}};

// The output buffer the stretch asks for: a little under 100 ms of CD sound.
const DWORD kOutputBytes = 16384;
const REFERENCE_TIME kUnitsPerSecond = 10000000;
// The latest a stream's first sound may start and be waited for with silence.
const REFERENCE_TIME kLongestLeadIn = 2 * kUnitsPerSecond;
// Steering: the lags read after a start or a change of speed that are left out, while the
// renderer still holds sound of before; the lag beyond the one in step that is left alone
// (a read moves by 15 ms either way); the lag won back at the fastest, and that factor;
// and a lag too large to be the device's (a run whose start the clock has not seen yet).
const int kSteerSettleReads = 20;
const double kSteerDeadMs = 40;
const double kSteerFullMs = 240;
const double kSteerMost = 0.08;
const double kSteerImplausibleMs = 2000;

// The formats the stretch takes: 8-bit unsigned or 16-bit signed PCM, or 32-bit float, 1 to
// 8 channels, plain or in the extensible header. Float is taken as the decoder gives it, so
// that the renderer keeps the format, and the buffer size, it was connected with.
bool ReadFormat(const DMO_MEDIA_TYPE* pmt, WORD* pwBits, bool* pbFloat, WORD* pnChannels,
                DWORD* pnSamplesPerSec)
{
    if (pmt == nullptr || !IsEqualGUID(pmt->majortype, MEDIATYPE_Audio) ||
        !IsEqualGUID(pmt->formattype, FORMAT_WaveFormatEx) || pmt->cbFormat < sizeof(WAVEFORMATEX) ||
        pmt->pbFormat == nullptr)
        return false;
    WAVEFORMATEX wfx;
    memcpy(&wfx, pmt->pbFormat, sizeof(wfx));
    GUID format = MEDIASUBTYPE_PCM;
    if (wfx.wFormatTag == WAVE_FORMAT_EXTENSIBLE) {
        if (pmt->cbFormat < sizeof(WAVEFORMATEXTENSIBLE))
            return false;
        WAVEFORMATEXTENSIBLE wfxe;
        memcpy(&wfxe, pmt->pbFormat, sizeof(wfxe));
        format = wfxe.SubFormat;
    } else if (wfx.wFormatTag == WAVE_FORMAT_IEEE_FLOAT) {
        format = MEDIASUBTYPE_IEEE_FLOAT;
    } else if (wfx.wFormatTag != WAVE_FORMAT_PCM) {
        return false;
    }
    const bool bFloat = IsEqualGUID(format, MEDIASUBTYPE_IEEE_FLOAT);
    if (!bFloat && !IsEqualGUID(format, MEDIASUBTYPE_PCM))
        return false;
    if (!IsEqualGUID(pmt->subtype, format))
        return false;
    const bool bBits = bFloat ? wfx.wBitsPerSample == 32 : wfx.wBitsPerSample == 8 || wfx.wBitsPerSample == 16;
    if (!bBits || wfx.nChannels < 1 || wfx.nChannels > 8 || wfx.nSamplesPerSec == 0 ||
        wfx.nBlockAlign != wfx.nChannels * wfx.wBitsPerSample / 8)
        return false;
    *pwBits = wfx.wBitsPerSample;
    *pbFloat = bFloat;
    *pnChannels = wfx.nChannels;
    *pnSamplesPerSec = wfx.nSamplesPerSec;
    return true;
}

// A copy of a type with a format block of its own (the caller's to free with FreeType).
HRESULT CopyType(DMO_MEDIA_TYPE* pTo, const DMO_MEDIA_TYPE* pFrom)
{
    if (pTo == nullptr || pFrom == nullptr)
        return E_POINTER;
    *pTo = *pFrom;
    if (pFrom->cbFormat != 0) {
        pTo->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(pFrom->cbFormat));
        if (pTo->pbFormat == nullptr) {
            pTo->cbFormat = 0;
            return E_OUTOFMEMORY;
        }
        memcpy(pTo->pbFormat, pFrom->pbFormat, pFrom->cbFormat);
    }
    if (pTo->pUnk != nullptr)
        pTo->pUnk->AddRef();
    return S_OK;
}

void FreeType(DMO_MEDIA_TYPE* pType)
{
    if (pType->cbFormat != 0)
        CoTaskMemFree(pType->pbFormat);
    if (pType->pUnk != nullptr)
        pType->pUnk->Release();
    *pType = DMO_MEDIA_TYPE();
}

bool SameType(const DMO_MEDIA_TYPE& a, const DMO_MEDIA_TYPE& b)
{
    return IsEqualGUID(a.majortype, b.majortype) && IsEqualGUID(a.subtype, b.subtype) &&
           IsEqualGUID(a.formattype, b.formattype) && a.cbFormat == b.cbFormat &&
           (a.cbFormat == 0 || (a.pbFormat != nullptr && b.pbFormat != nullptr &&
                                memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0));
}

float FromSample(const BYTE* p, WORD wBits)
{
    if (wBits == 8)
        return (static_cast<int>(*p) - 128) / 128.0f;
    if (wBits == 32) {
        float f;
        memcpy(&f, p, sizeof(f));
        return f;
    }
    short s;
    memcpy(&s, p, sizeof(s));
    return s / 32768.0f;
}

void ToSample(float f, WORD wBits, BYTE* p)
{
    if (wBits == 8) {
        long l = std::lround(f * 128.0f) + 128;
        *p = static_cast<BYTE>(l < 0 ? 0 : l > 255 ? 255 : l);
        return;
    }
    if (wBits == 32) {
        memcpy(p, &f, sizeof(f));
        return;
    }
    long l = std::lround(f * 32768.0f);
    const short s = static_cast<short>(l < -32768 ? -32768 : l > 32767 ? 32767 : l);
    memcpy(p, &s, sizeof(s));
}

// The class object the wrapper filter asks for a new stretch. It lives as long as the
// process, so it counts no references.
class CStretchFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (ppv == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv) override
    {
        return CSoundStretch::CreateInstance(pOuter, riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

CStretchFactory g_factory;
DWORD g_dwRegistration = 0;

}  // namespace

HRESULT CSoundStretch::Register()
{
    if (g_dwRegistration != 0)
        return S_OK;
    return CoRegisterClassObject(kClsidSoundStretch, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                 &g_dwRegistration);
}

IBaseFilter* CSoundStretch::CreateFilter(double dSpeed, bool bKeepWithPicture)
{
    if (FAILED(Register()))
        return nullptr;
    IBaseFilter* pFilter = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DMOWrapperFilter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void**>(&pFilter))))
        return nullptr;
    CComPtr<IDMOWrapperFilter> pWrapper;
    CSoundStretch* pStretch = nullptr;
    if (FAILED(pWrapper.QueryFrom(pFilter)) ||
        FAILED(pWrapper->Init(kClsidSoundStretch, DMOCATEGORY_AUDIO_EFFECT)) ||
        (pStretch = FromFilter(pFilter)) == nullptr) {
        pFilter->Release();
        return nullptr;
    }
    pStretch->SetSpeed(dSpeed);
    pStretch->KeepWithPicture(bKeepWithPicture);
    pStretch->Release();
    return pFilter;
}

CSoundStretch* CSoundStretch::FromFilter(IBaseFilter* pFilter)
{
    CSoundStretch* pStretch = nullptr;
    if (pFilter == nullptr ||
        FAILED(pFilter->QueryInterface(kIidSoundStretch, reinterpret_cast<void**>(&pStretch))))
        return nullptr;
    return pStretch;
}

HRESULT CSoundStretch::CreateInstance(IUnknown* pOuter, REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    // Inside another object only the inner unknown may be handed out.
    if (pOuter != nullptr && !IsEqualIID(riid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    CSoundStretch* pStretch = new (std::nothrow) CSoundStretch(pOuter);
    if (pStretch == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = pStretch->m_inner.QueryInterface(riid, ppv);
    pStretch->m_inner.Release();
    return hr;
}

CSoundStretch::CSoundStretch(IUnknown* pOuter)
    : m_inner(this), m_pOuter(pOuter != nullptr ? pOuter : &m_inner)
{
    InitializeCriticalSection(&m_cs);
}

CSoundStretch::~CSoundStretch()
{
    if (m_pClock != nullptr)
        m_pClock->Release();
    ClearTypes();
    DeleteCriticalSection(&m_cs);
}

void CSoundStretch::SetSpeed(double dSpeed)
{
    if (!(dSpeed > 0.0) || !std::isfinite(dSpeed))
        return;
    EnterCriticalSection(&m_cs);
    if (dSpeed != m_dSpeed)
        m_nSteerReads = 0;
    m_dSpeed = dSpeed;
    LeaveCriticalSection(&m_cs);
}

void CSoundStretch::SteerBy(CRateClock* pClock)
{
    if (pClock != nullptr)
        pClock->AddRef();
    EnterCriticalSection(&m_cs);
    CRateClock* pOld = m_pClock;
    m_pClock = pClock;
    m_nSteerReads = 0;
    LeaveCriticalSection(&m_cs);
    if (pOld != nullptr)
        pOld->Release();
}

void CSoundStretch::KeepWithPicture(bool bKeep)
{
    EnterCriticalSection(&m_cs);
    m_bKeepWithPicture = bKeep;
    LeaveCriticalSection(&m_cs);
}

HRESULT STDMETHODCALLTYPE CSoundStretch::CInner::QueryInterface(REFIID riid, void** ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown)) {
        *ppv = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    if (IsEqualIID(riid, IID_IMediaObject) || IsEqualIID(riid, kIidSoundStretch)) {
        *ppv = static_cast<IMediaObject*>(m_pOwner);
        m_pOwner->AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CSoundStretch::CInner::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_cRef));
}

ULONG STDMETHODCALLTYPE CSoundStretch::CInner::Release()
{
    const LONG cRef = InterlockedDecrement(&m_cRef);
    if (cRef == 0)
        delete m_pOwner;
    return static_cast<ULONG>(cRef);
}

HRESULT STDMETHODCALLTYPE CSoundStretch::QueryInterface(REFIID riid, void** ppv)
{
    return m_pOuter->QueryInterface(riid, ppv);
}

ULONG STDMETHODCALLTYPE CSoundStretch::AddRef()
{
    return m_pOuter->AddRef();
}

ULONG STDMETHODCALLTYPE CSoundStretch::Release()
{
    return m_pOuter->Release();
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetStreamCount(DWORD* pcInputStreams, DWORD* pcOutputStreams)
{
    if (pcInputStreams == nullptr || pcOutputStreams == nullptr)
        return E_POINTER;
    *pcInputStreams = 1;
    *pcOutputStreams = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetInputStreamInfo(DWORD dwInputStreamIndex, DWORD* pdwFlags)
{
    return GetOutputStreamInfo(dwInputStreamIndex, pdwFlags);
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetOutputStreamInfo(DWORD dwOutputStreamIndex, DWORD* pdwFlags)
{
    // One stream each way, with no demands: any number of whole frames in a buffer.
    if (dwOutputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    if (pdwFlags == nullptr)
        return E_POINTER;
    *pdwFlags = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetInputType(DWORD dwInputStreamIndex, DWORD, DMO_MEDIA_TYPE*)
{
    // Any PCM the decoder offers is taken; the stretch proposes none of its own.
    return dwInputStreamIndex != 0 ? DMO_E_INVALIDSTREAMINDEX : DMO_E_NO_MORE_ITEMS;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetOutputType(DWORD dwOutputStreamIndex, DWORD dwTypeIndex,
                                                       DMO_MEDIA_TYPE* pmt)
{
    if (dwOutputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    EnterCriticalSection(&m_cs);
    HRESULT hr = S_OK;
    if (!m_bInputSet)
        hr = DMO_E_TYPE_NOT_SET;
    else if (dwTypeIndex != 0)
        hr = DMO_E_NO_MORE_ITEMS;
    else if (pmt != nullptr)
        hr = CopyType(pmt, &m_mtInput);
    LeaveCriticalSection(&m_cs);
    return hr;
}

void CSoundStretch::ClearTypes()
{
    if (m_bInputSet)
        FreeType(&m_mtInput);
    m_bInputSet = false;
    m_bOutputSet = false;
}

void CSoundStretch::ResetStretchLocked()
{
    m_stretch.Reset(m_nChannels, static_cast<int>(m_nSamplesPerSec));
    m_bStarted = false;
    m_nSteerReads = 0;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::SetInputType(DWORD dwInputStreamIndex, const DMO_MEDIA_TYPE* pmt,
                                                      DWORD dwFlags)
{
    if (dwInputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    if (dwFlags & DMO_SET_TYPEF_CLEAR) {
        EnterCriticalSection(&m_cs);
        ClearTypes();
        LeaveCriticalSection(&m_cs);
        return S_OK;
    }
    WORD wBits = 0, nChannels = 0;
    bool bFloat = false;
    DWORD nSamplesPerSec = 0;
    if (!ReadFormat(pmt, &wBits, &bFloat, &nChannels, &nSamplesPerSec))
        return DMO_E_TYPE_NOT_ACCEPTED;
    if (dwFlags & DMO_SET_TYPEF_TEST_ONLY)
        return S_OK;
    EnterCriticalSection(&m_cs);
    ClearTypes();
    HRESULT hr = CopyType(&m_mtInput, pmt);
    if (SUCCEEDED(hr)) {
        m_bInputSet = true;
        m_wBits = wBits;
        m_nChannels = nChannels;
        m_nSamplesPerSec = nSamplesPerSec;
        ResetStretchLocked();
    }
    LeaveCriticalSection(&m_cs);
    return hr;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::SetOutputType(DWORD dwOutputStreamIndex, const DMO_MEDIA_TYPE* pmt,
                                                       DWORD dwFlags)
{
    if (dwOutputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    EnterCriticalSection(&m_cs);
    HRESULT hr = S_OK;
    if (dwFlags & DMO_SET_TYPEF_CLEAR)
        m_bOutputSet = false;
    else if (!m_bInputSet)
        hr = DMO_E_TYPE_NOT_SET;
    else if (pmt == nullptr || !SameType(*pmt, m_mtInput))
        hr = DMO_E_TYPE_NOT_ACCEPTED;  // the output is the input's format
    else if (!(dwFlags & DMO_SET_TYPEF_TEST_ONLY))
        m_bOutputSet = true;
    LeaveCriticalSection(&m_cs);
    return hr;
}

HRESULT CSoundStretch::CurrentType(DWORD dwStreamIndex, const bool& bSet, DMO_MEDIA_TYPE* pmt)
{
    if (dwStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    EnterCriticalSection(&m_cs);
    const HRESULT hr = !bSet ? DMO_E_TYPE_NOT_SET : CopyType(pmt, &m_mtInput);
    LeaveCriticalSection(&m_cs);
    return hr;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetInputCurrentType(DWORD dwInputStreamIndex, DMO_MEDIA_TYPE* pmt)
{
    return CurrentType(dwInputStreamIndex, m_bInputSet, pmt);
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetOutputCurrentType(DWORD dwOutputStreamIndex, DMO_MEDIA_TYPE* pmt)
{
    return CurrentType(dwOutputStreamIndex, m_bOutputSet, pmt);
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetInputSizeInfo(DWORD dwInputStreamIndex, DWORD* pcbSize,
                                                          DWORD* pcbMaxLookahead, DWORD* pcbAlignment)
{
    if (dwInputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    if (pcbSize == nullptr || pcbMaxLookahead == nullptr || pcbAlignment == nullptr)
        return E_POINTER;
    EnterCriticalSection(&m_cs);
    const bool bSet = m_bInputSet;
    *pcbSize = bSet ? static_cast<DWORD>(m_nChannels * m_wBits / 8) : 0;
    LeaveCriticalSection(&m_cs);
    *pcbMaxLookahead = 0;
    *pcbAlignment = 1;
    return bSet ? S_OK : DMO_E_TYPE_NOT_SET;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetOutputSizeInfo(DWORD dwOutputStreamIndex, DWORD* pcbSize,
                                                           DWORD* pcbAlignment)
{
    if (dwOutputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    if (pcbSize == nullptr || pcbAlignment == nullptr)
        return E_POINTER;
    EnterCriticalSection(&m_cs);
    const bool bSet = m_bOutputSet;
    const DWORD cbFrame = static_cast<DWORD>(m_nChannels * m_wBits / 8);
    LeaveCriticalSection(&m_cs);
    if (!bSet)
        return DMO_E_TYPE_NOT_SET;
    *pcbSize = kOutputBytes / cbFrame * cbFrame;
    *pcbAlignment = cbFrame;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetInputMaxLatency(DWORD, REFERENCE_TIME*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::SetInputMaxLatency(DWORD, REFERENCE_TIME)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::Flush()
{
    EnterCriticalSection(&m_cs);
    if (m_bInputSet)
        ResetStretchLocked();
    LeaveCriticalSection(&m_cs);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::Discontinuity(DWORD dwInputStreamIndex)
{
    if (dwInputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    // What came before the break (or the end) is all output now, the stretch's tail included.
    EnterCriticalSection(&m_cs);
    if (m_bInputSet)
        m_stretch.Drain();
    LeaveCriticalSection(&m_cs);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::AllocateStreamingResources()
{
    return Flush();
}

HRESULT STDMETHODCALLTYPE CSoundStretch::FreeStreamingResources()
{
    return Flush();
}

HRESULT STDMETHODCALLTYPE CSoundStretch::GetInputStatus(DWORD dwInputStreamIndex, DWORD* dwFlags)
{
    if (dwInputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    if (dwFlags == nullptr)
        return E_POINTER;
    *dwFlags = DMO_INPUT_STATUSF_ACCEPT_DATA;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::ProcessInput(DWORD dwInputStreamIndex, IMediaBuffer* pBuffer, DWORD dwFlags,
                                                      REFERENCE_TIME rtTimestamp, REFERENCE_TIME)
{
    if (dwInputStreamIndex != 0)
        return DMO_E_INVALIDSTREAMINDEX;
    if (pBuffer == nullptr)
        return E_POINTER;
    BYTE* pData = nullptr;
    DWORD cbData = 0;
    HRESULT hr = pBuffer->GetBufferAndLength(&pData, &cbData);
    if (FAILED(hr))
        return hr;
    EnterCriticalSection(&m_cs);
    if (!m_bInputSet) {
        LeaveCriticalSection(&m_cs);
        return DMO_E_TYPE_NOT_SET;
    }
    const DWORD cbSample = m_wBits / 8;
    const DWORD cbFrame = m_nChannels * cbSample;
    const size_t nFrames = cbData / cbFrame;
    m_stretch.SetSpeed(m_dSpeed * SteerLocked());
    // The output carries no times, so a sound that starts after the stream does (an MPEG's
    // sound starts with its first picture, a fraction of a second in) would play that much
    // ahead of the picture: beside a picture the stretch hears as much silence first.
    if (!m_bStarted) {
        m_bStarted = true;
        if (m_bKeepWithPicture && (dwFlags & DMO_INPUT_DATA_BUFFERF_TIME) != 0 && rtTimestamp > 0 && rtTimestamp <= kLongestLeadIn) {
            m_frames.assign(static_cast<size_t>(rtTimestamp * m_nSamplesPerSec / kUnitsPerSecond) * m_nChannels, 0.0f);
            m_stretch.Push(m_frames.data(), m_frames.size() / m_nChannels);
            rtTimestamp = 0;
        }
        m_rtOutput = (dwFlags & DMO_INPUT_DATA_BUFFERF_TIME) != 0 ? rtTimestamp : 0;
    }
    m_frames.resize(nFrames * m_nChannels);
    for (size_t i = 0; i < m_frames.size(); ++i)
        m_frames[i] = FromSample(pData + i * cbSample, m_wBits);
    m_stretch.Push(m_frames.data(), nFrames);
    LeaveCriticalSection(&m_cs);
    return S_OK;
}

// A new input comes when the renderer has taken the output before it, which it does as the
// device plays: that output is then the renderer's queue from being heard, the same real
// time while the sound keeps in step. So the stream time now less the stream time the
// output has reached, over the speed, is the same in step, and more when the device has
// let the sound fall behind. The least read since the start is the one in step. Returns
// the factor on the speed.
double CSoundStretch::SteerLocked()
{
    REFERENCE_TIME rtStream = 0;
    if (!m_bKeepWithPicture || !m_bStarted || m_pClock == nullptr || !m_pClock->GetStreamTime(&rtStream))
        return 1.0;
    const double dLagMs = static_cast<double>(rtStream - m_rtOutput) / m_dSpeed / (kUnitsPerSecond / 1000);
    if (std::fabs(dLagMs) > kSteerImplausibleMs || ++m_nSteerReads <= kSteerSettleReads)
        return 1.0;
    if (m_nSteerReads == kSteerSettleReads + 1 || dLagMs < m_dInStepMs)
        m_dInStepMs = dLagMs;
    const double dBehindMs = dLagMs - m_dInStepMs - kSteerDeadMs;
    if (dBehindMs <= 0)
        return 1.0;
    return 1.0 + std::min(dBehindMs / (kSteerFullMs - kSteerDeadMs), 1.0) * kSteerMost;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::ProcessOutput(DWORD, DWORD cOutputBufferCount,
                                                       DMO_OUTPUT_DATA_BUFFER* pOutputBuffers, DWORD* pdwStatus)
{
    if (pdwStatus != nullptr)
        *pdwStatus = 0;
    if (cOutputBufferCount != 1 || pOutputBuffers == nullptr)
        return E_INVALIDARG;
    DMO_OUTPUT_DATA_BUFFER& out = pOutputBuffers[0];
    out.dwStatus = 0;
    if (out.pBuffer == nullptr)
        return S_FALSE;
    BYTE* pData = nullptr;
    DWORD cbUsed = 0, cbMax = 0;
    HRESULT hr = out.pBuffer->GetBufferAndLength(&pData, &cbUsed);
    if (SUCCEEDED(hr))
        hr = out.pBuffer->GetMaxLength(&cbMax);
    if (FAILED(hr))
        return hr;
    EnterCriticalSection(&m_cs);
    if (!m_bInputSet) {
        LeaveCriticalSection(&m_cs);
        return DMO_E_TYPE_NOT_SET;
    }
    const DWORD cbSample = m_wBits / 8;
    const DWORD cbFrame = m_nChannels * cbSample;
    const size_t nRoom = cbMax > cbUsed ? (cbMax - cbUsed) / cbFrame : 0;
    m_frames.resize(nRoom * m_nChannels);
    const size_t nFrames = m_stretch.Pull(m_frames.data(), nRoom);
    m_rtOutput += std::llround(static_cast<double>(nFrames) * m_stretch.GetSpeed() * kUnitsPerSecond /
                               (m_nSamplesPerSec > 0 ? m_nSamplesPerSec : 1));
    BYTE* pAt = pData + cbUsed;
    for (size_t i = 0; i < nFrames * m_nChannels; ++i)
        ToSample(m_frames[i], m_wBits, pAt + i * cbSample);
    // No time stamp: the renderer plays the stretched sound as it comes.
    if (m_stretch.Ready() > 0)
        out.dwStatus |= DMO_OUTPUT_DATA_BUFFERF_INCOMPLETE;
    LeaveCriticalSection(&m_cs);
    hr = out.pBuffer->SetLength(cbUsed + static_cast<DWORD>(nFrames * cbFrame));
    if (FAILED(hr))
        return hr;
    return nFrames > 0 ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CSoundStretch::Lock(LONG)
{
    return S_OK;
}
