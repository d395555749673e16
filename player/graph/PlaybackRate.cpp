#include "PlaybackRate.h"

#include <cmath>

#include "Holders.h"
#include "MediaGraph.h"
#include "RateClock.h"

namespace PlaybackRate {

namespace {

const double kNormalTolerance = 1e-9;

// The pins of one direction of a filter: how many, and the first one, with a reference.
int CountPins(IBaseFilter* pFilter, PIN_DIRECTION direction, IPin** ppFirst)
{
    *ppFirst = nullptr;
    CComPtr<IEnumPins> pPins;
    if (FAILED(pFilter->EnumPins(&pPins)))
        return 0;
    int nCount = 0;
    for (;;) {
        IPin* pPin = nullptr;
        if (pPins->Next(1, &pPin, nullptr) != S_OK)
            break;
        PIN_DIRECTION pinDirection = PINDIR_INPUT;
        if (SUCCEEDED(pPin->QueryDirection(&pinDirection)) && pinDirection == direction) {
            if (nCount++ == 0) {
                *ppFirst = pPin;
                continue;
            }
        }
        pPin->Release();
    }
    return nCount;
}

// Takes apart the chain that feeds one audio renderer, from its input up to the filter that
// splits the media (the first with more than one output, or with no single input), so that
// the renderer neither plays nor holds the stream back. Each connection goes to the clock.
void HoldAudioChain(IGraphBuilder* pGraph, IBaseFilter* pRenderer, CRateClock* pClock)
{
    CComPtr<IPin> pIn;
    if (CountPins(pRenderer, PINDIR_INPUT, &pIn) != 1)
        return;
    for (int nDepth = 0; nDepth < 8; ++nDepth) {
        CComPtr<IPin> pOut;
        if (FAILED(pIn->ConnectedTo(&pOut)) || !pOut)
            return;
        PIN_INFO info = {};
        if (FAILED(pOut->QueryPinInfo(&info)))
            return;
        CComPtr<IBaseFilter> pUpstream(info.pFilter);
        pGraph->Disconnect(pOut.Get());
        pGraph->Disconnect(pIn.Get());
        pClock->Hold(CRateClock::Connection{pOut.Get(), pIn.Get()});

        CComPtr<IPin> pUpIn, pUpOut;
        const int nInputs = CountPins(pUpstream.Get(), PINDIR_INPUT, &pUpIn);
        const int nOutputs = CountPins(pUpstream.Get(), PINDIR_OUTPUT, &pUpOut);
        if (nInputs != 1 || nOutputs != 1)
            return;  // the splitter: its other streams play on
        pIn.Release();
        pIn.QueryFrom(pUpIn.Get());
    }
}

// Every filter that renders sound (answers the audio interface and has a connected input).
void HoldAudio(IGraphBuilder* pGraph, CRateClock* pClock)
{
    CComPtr<IEnumFilters> pFilters;
    if (FAILED(pGraph->EnumFilters(&pFilters)))
        return;
    for (;;) {
        CComPtr<IBaseFilter> pFilter;
        if (pFilters->Next(1, &pFilter, nullptr) != S_OK)
            break;
        CComPtr<IBasicAudio> pAudio;
        if (SUCCEEDED(pAudio.QueryFrom(pFilter.Get())))
            HoldAudioChain(pGraph, pFilter.Get(), pClock);
    }
}

// Stops the graph for a change that needs a stopped graph and puts it back where it was.
class CStoppedGraph {
public:
    explicit CStoppedGraph(IGraphBuilder* pGraph)
    {
        if (FAILED(m_pControl.QueryFrom(pGraph)) || FAILED(m_pPosition.QueryFrom(pGraph)))
            return;
        m_pControl->GetState(0, &m_state);  // a state in transition reports where it is going
        if (m_state == State_Stopped)
            return;
        m_pPosition->get_CurrentPosition(&m_dPosition);
        m_pControl->Stop();
    }
    ~CStoppedGraph()
    {
        if (!m_pControl || m_state == State_Stopped)
            return;
        m_pPosition->put_CurrentPosition(m_dPosition);
        if (m_state == State_Running)
            m_pControl->Run();
        else
            m_pControl->Pause();
    }
    CStoppedGraph(const CStoppedGraph&) = delete;
    CStoppedGraph& operator=(const CStoppedGraph&) = delete;

private:
    CComPtr<IMediaControl> m_pControl;
    CComPtr<IMediaPosition> m_pPosition;
    OAFilterState m_state = State_Stopped;
    double m_dPosition = 0;
};

// Back to normal speed: the sound is connected again and the engine's own clock drives.
void Restore(IGraphBuilder* pGraph, CRateClock* pClock)
{
    CStoppedGraph stopped(pGraph);
    for (const CRateClock::Connection& connection : pClock->TakeHeld())
        pGraph->ConnectDirect(connection.pOut, connection.pIn, nullptr);
    pGraph->SetDefaultSyncSource();
}

// A faster or slower speed from normal: the graph runs on a clock of ours at dRate, and
// the sound, which the engine plays at normal speed whatever the clock, is taken out.
void Adapt(IGraphBuilder* pGraph, double dRate)
{
    CComPtr<IMediaFilter> pFilter;
    if (FAILED(pFilter.QueryFrom(pGraph)))
        return;
    CRateClock* pClock = CRateClock::Create();
    if (pClock == nullptr)
        return;
    pClock->SetRate(dRate);
    {
        CStoppedGraph stopped(pGraph);
        HoldAudio(pGraph, pClock);
        if (FAILED(pFilter->SetSyncSource(pClock))) {
            for (const CRateClock::Connection& connection : pClock->TakeHeld())
                pGraph->ConnectDirect(connection.pOut, connection.pIn, nullptr);
        }
    }
    pClock->Release();
}

}  // namespace

HRESULT Follow(IGraphBuilder* pGraph, IMediaPosition* pPosition, double dRate, HRESULT hrEngine)
{
    if (!(dRate > 0.0) || !std::isfinite(dRate))
        return E_INVALIDARG;  // no speed at all: refused, the speed stays
    if (dRate == 1.0 && !CRateClock::AnyExists())
        return hrEngine;  // normal speed, and no graph is helped to another
    // An engine that plays at the rate it was given needs no help.
    double dEngineRate = 1.0;
    pPosition->get_Rate(&dEngineRate);
    double dClockRate = SUCCEEDED(hrEngine) && dEngineRate == dRate ? 1.0 : dRate;
    // Steps down and up again may land a rounding away from normal speed.
    if (std::fabs(dClockRate - 1.0) < kNormalTolerance)
        dClockRate = 1.0;

    if (dClockRate == 1.0 && !CRateClock::AnyExists())
        return hrEngine;
    CRateClock* pClock = CRateClock::FromGraph(pGraph);
    if (pClock != nullptr) {
        if (dClockRate != 1.0)
            pClock->SetRate(dClockRate);
        else
            Restore(pGraph, pClock);
        pClock->Release();
    } else if (dClockRate != 1.0 && MediaGraph::HasVideo(pGraph)) {
        // Sound alone follows no clock here: it keeps normal speed, and its sound.
        Adapt(pGraph, dClockRate);
    }
    return hrEngine;
}

}  // namespace PlaybackRate
