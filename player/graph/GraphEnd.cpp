#include "GraphEnd.h"

#include <utility>
#include <vector>

#include "Holders.h"
#include "EngineGraph.h"

namespace MediaGraph {

namespace {

// The engine's GStreamer splitter. It hands its first stream's stop position to GStreamer as
// the stop of every seek, each time the graph leaves Stopped, and a stop of 0 as none. Of an
// MPEG system stream GStreamer measures the duration from the first presentation time but
// counts positions from the first clock reference, which lies up to a second earlier: with
// the duration as its stop it stops reading that much before the end of the media.
const CLSID kEngineSplitter = {0xf9d8d64e, 0xa144, 0x47dc, {0x8e, 0xe0, 0xf5, 0x34, 0x98, 0x37, 0x2c, 0x29}};
const WCHAR kEngineSplitterName[] = L"GStreamer splitter filter";

// A graph playing to its true end is never left at exactly 0: this engine reports a
// completed media's position as its stop, 0, and that must not read as the start.
const LONGLONG kFirstTick = 1;
const double kSecondsPerTick = 1e-7;

bool IsSystemStream(const AM_MEDIA_TYPE& mt)
{
    return mt.majortype == MEDIATYPE_Stream &&
           (mt.subtype == MEDIASUBTYPE_MPEG1System || mt.subtype == MEDIASUBTYPE_MPEG1VideoCD ||
            mt.subtype == MEDIASUBTYPE_MPEG2_PROGRAM);
}

// Whether the filter's input pin reads an MPEG system stream; *ppFirstOut receives its first
// output pin.
bool ReadsSystemStream(IBaseFilter* pFilter, IPin** ppFirstOut)
{
    *ppFirstOut = nullptr;
    CComPtr<IEnumPins> pPins;
    if (FAILED(pFilter->EnumPins(&pPins)))
        return false;
    bool bSystem = false;
    for (;;) {
        CComPtr<IPin> pPin;
        if (pPins->Next(1, &pPin, nullptr) != S_OK)
            break;
        PIN_DIRECTION dir = PINDIR_INPUT;
        pPin->QueryDirection(&dir);
        if (dir == PINDIR_OUTPUT) {
            if (*ppFirstOut == nullptr) {
                *ppFirstOut = pPin.Get();
                (*ppFirstOut)->AddRef();
            }
            continue;
        }
        CMediaTypeHolder mt;
        if (SUCCEEDED(pPin->ConnectionMediaType(mt.Fill())))
            bSystem = bSystem || IsSystemStream(*mt.Get());
    }
    return bSystem;
}

// The seeking interface of the first stream of the engine's splitter of an MPEG system
// stream, whose stop the engine passes on; null in every other graph. The graph names the
// splitter as the engine registered it.
void FindSplitterStream(IGraphBuilder* pGraph, IMediaSeeking** ppSeeking)
{
    *ppSeeking = nullptr;
    CComPtr<IBaseFilter> pFilter;
    CLSID clsid = {};
    if (pGraph == nullptr || FAILED(pGraph->FindFilterByName(kEngineSplitterName, &pFilter)) ||
        !pFilter || FAILED(pFilter->GetClassID(&clsid)) || clsid != kEngineSplitter)
        return;
    CComPtr<IPin> pFirstOut;
    if (ReadsSystemStream(pFilter.Get(), &pFirstOut) && pFirstOut)
        pFirstOut->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(ppSeeking));
}

bool IsPcm(const WAVEFORMATEX* pWave, WORD wBits)
{
    return pWave != nullptr && pWave->wFormatTag == WAVE_FORMAT_PCM && pWave->wBitsPerSample == wBits;
}

// The sound pOut gives as 16-bit PCM, at the rate and in the channels of pWave; false when
// it offers none.
bool SixteenBitsOffered(IPin* pOut, const WAVEFORMATEX* pWave, CMediaTypeHolder& type)
{
    CComPtr<IEnumMediaTypes> pTypes;
    if (FAILED(pOut->EnumMediaTypes(&pTypes)))
        return false;
    for (;;) {
        AM_MEDIA_TYPE* pmt = nullptr;
        if (pTypes->Next(1, &pmt, nullptr) != S_OK)
            return false;
        type.TakeOver(pmt);
        const WAVEFORMATEX* pOffer = type.Wave();
        if (IsPcm(pOffer, 16) && pOffer->nSamplesPerSec == pWave->nSamplesPerSec &&
            pOffer->nChannels == pWave->nChannels)
            return true;
    }
}

}  // namespace

void EndSoundInSilence(IGraphBuilder* pGraph)
{
    for (const CComPtr<IBaseFilter>& pRenderer : FiltersOf(pGraph)) {
        if (!IsEngineSoundRenderer(pRenderer.Get()))
            continue;
        CComPtr<IPin> pIn, pOut;
        CMediaTypeHolder now, wanted;
        if (!FedInput(pRenderer.Get(), pIn, pOut) || FAILED(pIn->ConnectionMediaType(now.Fill())) ||
            !IsPcm(now.Wave(), 8) || !SixteenBitsOffered(pOut.Get(), now.Wave(), wanted))
            continue;
        pGraph->Disconnect(pOut.Get());
        pGraph->Disconnect(pIn.Get());
        if (FAILED(pGraph->ConnectDirect(pOut.Get(), pIn.Get(), wanted.Get())))
            pGraph->ConnectDirect(pOut.Get(), pIn.Get(), now.Get());
    }
}

void PlayToTrueEnd(IGraphBuilder* pGraph)
{
    CComPtr<IMediaSeeking> pStream;
    FindSplitterStream(pGraph, &pStream);
    LONGLONG llDuration = 0, llStop = 0;
    // Only a stop that the engine set to the duration it measured is cleared; one that is
    // already none, or one somebody chose, stays.
    if (!pStream || FAILED(pStream->GetDuration(&llDuration)) ||
        FAILED(pStream->GetStopPosition(&llStop)) || llDuration <= 0 || llStop != llDuration)
        return;
    LONGLONG llNone = 0;
    pStream->SetPositions(nullptr, AM_SEEKING_NoPositioning, &llNone, AM_SEEKING_AbsolutePositioning);
    // The graph keeps the start it was last moved to, and reports it until its clock runs.
    CComPtr<IMediaSeeking> pSeeking;
    LONGLONG llStart = kFirstTick;
    if (SUCCEEDED(pSeeking.QueryFrom(pGraph)))
        pSeeking->SetPositions(&llStart, AM_SEEKING_AbsolutePositioning, nullptr,
                               AM_SEEKING_NoPositioning);
}

bool PlaysToTrueEnd(IGraphBuilder* pGraph)
{
    CComPtr<IMediaSeeking> pStream;
    FindSplitterStream(pGraph, &pStream);
    LONGLONG llStop = -1;
    return pStream && SUCCEEDED(pStream->GetStopPosition(&llStop)) && llStop == 0;
}

REFTIME MediaPosition(IGraphBuilder* pGraph, REFTIME dDuration, REFTIME dReported)
{
    if (!(dDuration > 0))
        return dReported;
    if (dReported == 0 && PlaysToTrueEnd(pGraph) && GetState(pGraph, 0) != State_Stopped)
        return dDuration;
    if (dReported < 0)
        return 0;
    return dReported > dDuration ? dDuration : dReported;
}

REFTIME MediaStopTime(IGraphBuilder* pGraph, REFTIME dDuration, REFTIME dReported)
{
    return dReported == 0 && dDuration > 0 && PlaysToTrueEnd(pGraph) ? dDuration : dReported;
}

HRESULT MoveTo(IGraphBuilder* pGraph, IMediaPosition* pPosition, REFTIME dPosition)
{
    if (dPosition < kSecondsPerTick && PlaysToTrueEnd(pGraph)) {
        CComPtr<IMediaSeeking> pSeeking;
        HRESULT hr = pSeeking.QueryFrom(pGraph);
        if (FAILED(hr))
            return hr;
        LONGLONG llStart = kFirstTick;
        return pSeeking->SetPositions(&llStart, AM_SEEKING_AbsolutePositioning, nullptr,
                                      AM_SEEKING_NoPositioning);
    }
    return pPosition->put_CurrentPosition(dPosition);
}

}  // namespace MediaGraph
