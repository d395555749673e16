#include "PlaybackRate.h"

#include <cmath>
#include <utility>
#include <vector>

#include "Holders.h"
#include "EngineGraph.h"
#include "RateClock.h"
#include "SoundStretch.h"

namespace PlaybackRate {

namespace {

const double kNormalTolerance = 1e-9;

// The pins of one direction of a filter: how many, and the first one.
int CountPins(IBaseFilter* pFilter, PIN_DIRECTION direction, CComPtr<IPin>& pFirst)
{
    pFirst.Release();
    CComPtr<IEnumPins> pPins;
    if (FAILED(pFilter->EnumPins(&pPins)))
        return 0;
    int nCount = 0;
    for (;;) {
        CComPtr<IPin> pPin;
        if (pPins->Next(1, &pPin, nullptr) != S_OK)
            break;
        PIN_DIRECTION pinDirection = PINDIR_INPUT;
        if (SUCCEEDED(pPin->QueryDirection(&pinDirection)) && pinDirection == direction &&
            nCount++ == 0)
            pFirst = std::move(pPin);
    }
    return nCount;
}

// Takes apart the chain that feeds one audio renderer, from its input up to the filter that
// splits the media (the first with more than one output, or with no single input), so that
// the renderer neither plays nor holds the stream back. Each connection goes to the clock.
void HoldAudioChain(IGraphBuilder* pGraph, IBaseFilter* pRenderer, CRateClock* pClock)
{
    CComPtr<IPin> pIn;
    if (CountPins(pRenderer, PINDIR_INPUT, pIn) != 1)
        return;
    for (int nDepth = 0; nDepth < 8; ++nDepth) {
        CComPtr<IPin> pOut;
        if (FAILED(pIn->ConnectedTo(&pOut)) || !pOut)
            return;
        PIN_INFO info = {};
        if (FAILED(pOut->QueryPinInfo(&info)))
            return;
        CComPtr<IBaseFilter> pUpstream = CComPtr<IBaseFilter>::Adopt(info.pFilter);
        pGraph->Disconnect(pOut.Get());
        pGraph->Disconnect(pIn.Get());
        pClock->Hold(CRateClock::Connection{pOut.Get(), pIn.Get()});

        CComPtr<IPin> pUpIn, pUpOut;
        const int nInputs = CountPins(pUpstream.Get(), PINDIR_INPUT, pUpIn);
        const int nOutputs = CountPins(pUpstream.Get(), PINDIR_OUTPUT, pUpOut);
        if (nInputs != 1 || nOutputs != 1)
            return;  // the splitter: its other streams play on
        pIn.Release();
        pIn.QueryFrom(pUpIn.Get());
    }
}

// The filters that render sound: those that answer the audio interface.
std::vector<CComPtr<IBaseFilter>> SoundRenderers(IGraphBuilder* pGraph)
{
    std::vector<CComPtr<IBaseFilter>> renderers;
    for (CComPtr<IBaseFilter>& pFilter : MediaGraph::FiltersOf(pGraph)) {
        CComPtr<IBasicAudio> pAudio;
        if (SUCCEEDED(pAudio.QueryFrom(pFilter.Get())))
            renderers.push_back(std::move(pFilter));
    }
    return renderers;
}

// Whether the filter holds a stretch of ours; if so it now plays at dRate.
bool SetStretchSpeed(IBaseFilter* pFilter, double dRate)
{
    CSoundStretch* pStretch = CSoundStretch::FromFilter(pFilter);
    if (pStretch == nullptr)
        return false;
    pStretch->SetSpeed(dRate);
    pStretch->Release();
    return true;
}

// Calls call with every stretch of ours in the graph.
template <class Call>
void ForEachStretch(IGraphBuilder* pGraph, Call call)
{
    for (const CComPtr<IBaseFilter>& pFilter : MediaGraph::FiltersOf(pGraph)) {
        if (CSoundStretch* pStretch = CSoundStretch::FromFilter(pFilter.Get())) {
            call(pStretch);
            pStretch->Release();
        }
    }
}

void SetStretchSpeeds(IGraphBuilder* pGraph, double dRate)
{
    ForEachStretch(pGraph, [dRate](CSoundStretch* pStretch) { pStretch->SetSpeed(dRate); });
}

// Every stretch of the graph keeps to the runs of pClock (null: to none).
void SteerStretches(IGraphBuilder* pGraph, CRateClock* pClock)
{
    ForEachStretch(pGraph, [pClock](CSoundStretch* pStretch) { pStretch->SteerBy(pClock); });
}

// The first pin of one direction of a filter.
HRESULT FirstPin(IBaseFilter* pFilter, PIN_DIRECTION direction, CComPtr<IPin>& pPin)
{
    return CountPins(pFilter, direction, pPin) > 0 ? S_OK : E_FAIL;
}

// Puts a stretch at dRate between a sound renderer of the stopped graph and what feeds it,
// or finds one there. When the two will not connect through it, the renderer is fed as it
// was, and the answer is false.
bool StretchSound(IGraphBuilder* pGraph, IBaseFilter* pRenderer, double dRate)
{
    CComPtr<IPin> pIn;
    if (CountPins(pRenderer, PINDIR_INPUT, pIn) != 1)
        return false;
    CComPtr<IPin> pOut;
    if (FAILED(pIn->ConnectedTo(&pOut)) || !pOut)
        return true;  // nothing to play
    PIN_INFO info = {};
    if (FAILED(pOut->QueryPinInfo(&info)))
        return false;
    CComPtr<IBaseFilter> pUpstream = CComPtr<IBaseFilter>::Adopt(info.pFilter);
    if (SetStretchSpeed(pUpstream.Get(), dRate))
        return true;

    CMediaTypeHolder mt;
    if (FAILED(pIn->ConnectionMediaType(mt.Fill())))
        return false;
    CComPtr<IBaseFilter> pStretch = CComPtr<IBaseFilter>::Adopt(CSoundStretch::CreateFilter(dRate, MediaGraph::HasVideo(pGraph)));
    CComPtr<IPin> pStretchIn, pStretchOut;
    bool bDone = false;
    if (pStretch && SUCCEEDED(FirstPin(pStretch.Get(), PINDIR_INPUT, pStretchIn)) &&
        SUCCEEDED(FirstPin(pStretch.Get(), PINDIR_OUTPUT, pStretchOut)) &&
        SUCCEEDED(pGraph->AddFilter(pStretch.Get(), L"Sound Stretch"))) {
        pGraph->Disconnect(pOut.Get());
        pGraph->Disconnect(pIn.Get());
        // The renderer keeps the type it had where the stretch takes it: some engines keep
        // play positions of the old sound buffer across a connection, and a smaller buffer
        // for another type is then written out of its bounds. Otherwise the decoder is
        // asked again: some offer PCM only when no type is given.
        bDone = (SUCCEEDED(pGraph->ConnectDirect(pOut.Get(), pStretchIn.Get(), mt.Get())) ||
                 SUCCEEDED(pGraph->ConnectDirect(pOut.Get(), pStretchIn.Get(), nullptr))) &&
                SUCCEEDED(pGraph->ConnectDirect(pStretchOut.Get(), pIn.Get(), nullptr));
        if (!bDone) {
            pGraph->RemoveFilter(pStretch.Get());
            pGraph->ConnectDirect(pOut.Get(), pIn.Get(), mt.Get());
        }
    }
    return bDone;
}

// Every sound of the stopped graph plays at dRate through a stretch; a sound that cannot
// is taken out, so that it neither plays at the wrong speed nor holds the stream back.
void StretchOrHoldSound(IGraphBuilder* pGraph, CRateClock* pClock, double dRate)
{
    for (const CComPtr<IBaseFilter>& pRenderer : SoundRenderers(pGraph)) {
        if (!StretchSound(pGraph, pRenderer.Get(), dRate))
            HoldAudioChain(pGraph, pRenderer.Get(), pClock);
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
    SteerStretches(pGraph, nullptr);
}

// A faster or slower speed from normal: the graph runs on a clock of ours at dRate, which
// moves the picture and the positions, and the sound, which the engine plays at the
// device's pace whatever the clock, is stretched to the rate.
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
        StretchOrHoldSound(pGraph, pClock, dRate);
        if (FAILED(pFilter->SetSyncSource(pClock))) {
            for (const CRateClock::Connection& connection : pClock->TakeHeld())
                pGraph->ConnectDirect(connection.pOut, connection.pIn, nullptr);
        } else {
            SteerStretches(pGraph, pClock);
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
        pClock->SetRate(dClockRate);
        SetStretchSpeeds(pGraph, dClockRate);
        // A sound that could not be stretched comes back at normal speed.
        if (dClockRate == 1.0 && pClock->HasHeld())
            Restore(pGraph, pClock);
        pClock->Release();
    } else if (dClockRate != 1.0) {
        Adapt(pGraph, dClockRate);
    }
    return hrEngine;
}

}  // namespace PlaybackRate
