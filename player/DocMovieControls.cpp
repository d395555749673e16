// The document's side of the Movie Controls sheet: filling the pages, running the sheet,
// collecting the values on Finish, and what the pages apply while the sheet is up.
#include "NTandrelDoc.h"

#include <memory>
#include <new>

#include "GraphEnd.h"
#include "Holders.h"
#include "MediaGraph.h"
#include "NTandrelSheet.h"
#include "PlaybackHost.h"

namespace {

// The four times both pages show, in the order the engine is asked for them; a time the
// engine does not give keeps its value (the preroll time, on some engines).
// The stop and the position are the media's, as the graph boundary gives them back.
void ReadTimes(IGraphBuilder* pGraph, IMediaPosition* pPosition, double* pdDuration,
               double* pdStart, double* pdStop, double* pdCurrent)
{
    pPosition->get_Duration(pdDuration);
    pPosition->get_PrerollTime(pdStart);
    if (SUCCEEDED(pPosition->get_StopTime(pdStop)))
        *pdStop = MediaGraph::MediaStopTime(pGraph, *pdDuration, *pdStop);
    if (SUCCEEDED(pPosition->get_CurrentPosition(pdCurrent)))
        *pdCurrent = MediaGraph::MediaPosition(pGraph, *pdDuration, *pdCurrent);
}

}  // namespace

CNTandrelDoc* CNTandrelDoc::Current()
{
    CPlaybackHost* pHost = CPlaybackHost::Get();
    return pHost != nullptr ? pHost->GetCurrentDocument() : nullptr;
}

void CNTandrelDoc::Configure()
{
    std::unique_ptr<CNTandrelSheet> pSheet(new (std::nothrow)
                                               CNTandrelSheet(static_cast<UINT>(m_nStartPage)));
    if (pSheet == nullptr) {
        m_pControlSheet = nullptr;
        return;
    }
    m_pControlSheet = pSheet.get();
    m_pMediaPage = &pSheet->m_pageMedia;
    m_pVideoPage = &pSheet->m_pageVideo;
    m_pAudioPage = &pSheet->m_pageAudio;
    m_pInfoPage = &pSheet->m_pageInfo;

    FillMediaPage();

    m_pVideoPage->m_nSizeMode = m_nSizeMode;
    m_pVideoPage->m_nDisplayMode = m_nDisplayMode;
    m_pVideoPage->m_bCaption = m_bCaption;
    m_pVideoPage->m_bThickFrame = m_bThickFrame;

    m_pAudioPage->m_bMute = m_bMute;
    m_pAudioPage->m_lVolume = m_lVolume;
    m_pAudioPage->m_lTreble = m_lTreble;
    m_pAudioPage->m_lBass = m_lBass;
    m_pAudioPage->m_lBalance = m_lBalance;
    if (m_pGraph != nullptr) {
        ApplyVolume();
        ApplyBalance();
    }

    FillInfoPage();

    // The sheet runs a modal loop of its own, and graph events wait until it ends: the
    // application's loop is the only one that takes them. That wait is also what keeps
    // the graph from changing under the pages (an end of stream would open the next
    // media of the group and release this graph). Keep it so; the download's dialog
    // relies on the same.
    if (pSheet->DoModal() == IDOK) {
        m_bLoop = m_pMediaPage->m_bLoop;
        m_bGroupLoop = m_pMediaPage->m_bGroupLoop;
        m_dRate = m_pMediaPage->m_dRate;
        if (m_pGraph != nullptr)
            MediaGraph::SetRate(m_pGraph, m_dRate);

        m_nSizeMode = m_pVideoPage->m_nSizeMode;
        m_nDisplayMode = m_pVideoPage->m_nDisplayMode;

        m_bMute = m_pAudioPage->m_bMute;
        m_lVolume = m_pAudioPage->m_lVolume;
        m_lTreble = m_pAudioPage->m_lTreble;
        m_lBass = m_pAudioPage->m_lBass;
        m_lBalance = m_pAudioPage->m_lBalance;
        CComPtr<IBasicAudio> pAudio;
        if (m_pGraph != nullptr && SUCCEEDED(pAudio.QueryFrom(m_pGraph)))
            pAudio->put_Volume(m_bMute ? kMuteVolume : m_lVolume);
        pAudio.Release();

        m_nStartPage = pSheet->m_nLastActivePage;
        ApplyWindowStyle();
    }

    m_pControlSheet = nullptr;
    m_pMediaPage = nullptr;
    m_pVideoPage = nullptr;
    m_pAudioPage = nullptr;
    m_pInfoPage = nullptr;
}

BOOL CNTandrelDoc::FillMediaPage()
{
    if (m_pMediaPage == nullptr)
        return FALSE;
    CNTandrelPageMedia& page = *m_pMediaPage;
    page.m_bLoop = m_bLoop;
    page.m_bGroupLoop = m_bGroupLoop;
    page.m_dRate = m_dRate;
    CComPtr<IMediaPosition> pPosition;
    if (m_pGraph == nullptr || FAILED(pPosition.QueryFrom(m_pGraph)))
        return FALSE;
    ReadTimes(m_pGraph, pPosition.Get(), &page.m_dDuration, &page.m_dStartTime, &page.m_dStopTime,
              &page.m_dCurrentPosition);
    return TRUE;
}

BOOL CNTandrelDoc::FillInfoPage()
{
    if (m_pInfoPage == nullptr || m_pGraph == nullptr)
        return FALSE;
    CNTandrelInfoPage& page = *m_pInfoPage;
    CComPtr<IBasicVideo> pVideo;
    if (FAILED(pVideo.QueryFrom(m_pGraph)))
        return FALSE;
    pVideo->get_VideoWidth(&page.m_lWidth);
    pVideo->get_VideoHeight(&page.m_lHeight);
    pVideo->get_AvgTimePerFrame(&page.m_dAvgTimePerFrame);
    pVideo->get_BitRate(&page.m_lBitRate);
    pVideo->get_BitErrorRate(&page.m_lBitErrorRate);
    pVideo.Release();

    CComPtr<IMediaPosition> pPosition;
    if (FAILED(pPosition.QueryFrom(m_pGraph)))
        return FALSE;
    ReadTimes(m_pGraph, pPosition.Get(), &page.m_dDuration, &page.m_dStartTime, &page.m_dStopTime,
              &page.m_dCurrentPosition);
    return TRUE;
}

BOOL CNTandrelDoc::SeekToMediaPage()
{
    if (m_pMediaPage == nullptr || m_pGraph == nullptr)
        return FALSE;
    // Through the boundary, which stops a moving graph around the move: moved in place, a
    // stream with both audio and video hangs some engines.
    if (FAILED(MediaGraph::SetPosition(m_pGraph, m_pMediaPage->m_dSeekPosition)))
        return FALSE;
    return TRUE;
}

BOOL CNTandrelDoc::ApplyVolume()
{
    CComPtr<IBasicAudio> pAudio;
    if (m_pGraph == nullptr || m_pAudioPage == nullptr || FAILED(pAudio.QueryFrom(m_pGraph)))
        return FALSE;
    if (m_bMute) {
        pAudio->put_Volume(kMuteVolume);
    } else {
        m_lVolume = m_pAudioPage->m_lVolume;
        pAudio->put_Volume(m_lVolume);
    }
    return TRUE;
}

BOOL CNTandrelDoc::ApplyBalance()
{
    CComPtr<IBasicAudio> pAudio;
    if (m_pGraph == nullptr || m_pAudioPage == nullptr || FAILED(pAudio.QueryFrom(m_pGraph)))
        return FALSE;
    m_lBalance = m_pAudioPage->m_lBalance;
    pAudio->put_Balance(m_lBalance);
    return TRUE;
}
