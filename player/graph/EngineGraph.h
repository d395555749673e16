// The media graph boundary on the engine's side: the filter graph behind the document's
// CMediaGraph, and the calls that reach the engine in a different order than the document
// asks for them. Only the boundary, its engine tests and the benchmarks include this.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

#include "Holders.h"
#include "MediaGraph.h"

// The automation interfaces come without their identifiers attached to the type; attach
// them, so that holders can ask for them by type.
__CRT_UUID_DECL(IMediaEvent, 0x56a868b6, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IMediaPosition, 0x56a868b2, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IBasicAudio, 0x56a868b3, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IVideoWindow, 0x56a868b4, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)
__CRT_UUID_DECL(IBasicVideo, 0x56a868b5, 0x0ad4, 0x11ce, 0xb0, 0x3a, 0x00, 0x20, 0xaf, 0x0b, 0xa7, 0x70)

// A media type a pin filled in (ConnectionMediaType) or gave out (EnumMediaTypes): its
// format block and its unknown go with it, and the block a given-out type came in too.
class CMediaTypeHolder {
public:
    CMediaTypeHolder() : m_mt() {}
    ~CMediaTypeHolder() { Clear(); }
    CMediaTypeHolder(const CMediaTypeHolder&) = delete;
    CMediaTypeHolder& operator=(const CMediaTypeHolder&) = delete;

    // For a pin to fill in; what was held goes first.
    AM_MEDIA_TYPE* Fill()
    {
        Clear();
        return &m_mt;
    }
    // Takes over a type an enumeration gave out.
    void TakeOver(AM_MEDIA_TYPE* pmt)
    {
        Clear();
        if (pmt == nullptr)
            return;
        m_mt = *pmt;
        CoTaskMemFree(pmt);
    }
    const AM_MEDIA_TYPE* Get() const { return &m_mt; }
    // The sound's format, or null when the type has none.
    const WAVEFORMATEX* Wave() const
    {
        if (m_mt.formattype != FORMAT_WaveFormatEx || m_mt.pbFormat == nullptr ||
            m_mt.cbFormat < sizeof(WAVEFORMATEX))
            return nullptr;
        return reinterpret_cast<const WAVEFORMATEX*>(m_mt.pbFormat);
    }

private:
    void Clear()
    {
        if (m_mt.pbFormat != nullptr)
            CoTaskMemFree(m_mt.pbFormat);
        if (m_mt.pUnk != nullptr)
            m_mt.pUnk->Release();
        m_mt = AM_MEDIA_TYPE();
    }

    AM_MEDIA_TYPE m_mt;
};

namespace MediaGraph {

// Creates a filter graph manager with the player's video renderer in it. Returns the
// engine's result; *ppGraph is null on failure.
HRESULT Create(IGraphBuilder** ppGraph);

// Builds the graph for a path or URL (8-bit, converted with the ANSI code page). Returns
// the engine's result for the media; an engine without a source for addresses fails on
// one, and the caller may fetch a local copy and render that in a new graph. The engine
// builds the graph on a thread of its own while the calling thread answers the messages
// sent to its windows and paints them; a render that has not returned within 10 s
// gives VFW_E_TIMEOUT, and then the graph is the engine's until it returns: nothing more
// may be asked of it.
HRESULT RenderFile(IGraphBuilder* pGraph, const char* pszPath);

// The filters of the graph, each held.
std::vector<CComPtr<IBaseFilter>> FiltersOf(IGraphBuilder* pGraph);

// Whether the filter is the engine's own sound renderer (DirectSound).
bool IsEngineSoundRenderer(IBaseFilter* pFilter);

// The connected input pin of a filter, and the output pin that feeds it; false when no
// input pin is connected.
bool FedInput(IBaseFilter* pFilter, CComPtr<IPin>& pIn, CComPtr<IPin>& pOut);

// Takes every filter out of the graph, as before a render that failed.
void EmptyGraph(IGraphBuilder* pGraph);

// Moves the graph to dPosition seconds. Some engines hang when a running or paused graph
// is repositioned, so the graph is stopped around the move and then put back into the
// state it had. Returns the result of put_CurrentPosition.
HRESULT SetPosition(IGraphBuilder* pGraph, double dPosition);

// Sets the playback rate (1.0 normal speed). An engine that accepts a rate and plays at
// normal speed gets help (PlaybackRate.h); a rate not above zero is refused. Returns the
// result of the rate call, or the refusal.
HRESULT SetRate(IGraphBuilder* pGraph, double dRate);

// Shows the frame at dPosition seconds and leaves the graph paused there.
HRESULT ShowFrameAt(IGraphBuilder* pGraph, double dPosition);

// Whether the rendered media shows a picture (the video renderer reports a size).
bool HasVideo(IGraphBuilder* pGraph);

// The graph's state, waiting at most dwMilliseconds for a transition to finish.
// A state still in transition is reported as the state it is going to.
OAFilterState GetState(IGraphBuilder* pGraph, DWORD dwMilliseconds);

// The filter graph of a graph the boundary created, or null for any other graph (the
// engine tests reach the engine through it).
IGraphBuilder* BuilderOf(CMediaGraph* pGraph);

}  // namespace MediaGraph
