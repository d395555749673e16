// The document's side of the Movie Controls sheet: filling the pages, running the sheet,
// collecting the values on Finish, and what the pages apply while the sheet is up.
#include "NTandrelDoc.h"

#include <memory>
#include <new>

#include "NTandrelSheet.h"
#include "PlaybackHost.h"

namespace {

// The four times both pages show; a time the engine does not give keeps its value (the
// preroll time, on some engines). FALSE when the graph has no positions at all.
BOOL ReadTimes(CMediaGraph* pGraph, double* pdDuration, double* pdStart, double* pdStop,
               double* pdCurrent)
{
    if (pGraph->GetDuration(pdDuration) == E_NOINTERFACE)
        return FALSE;
    pGraph->GetPrerollTime(pdStart);
    pGraph->GetStopTime(pdStop);
    pGraph->GetCurrentPosition(pdCurrent);
    return TRUE;
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
            m_pGraph->SetRate(m_dRate);

        m_nSizeMode = m_pVideoPage->m_nSizeMode;
        m_nDisplayMode = m_pVideoPage->m_nDisplayMode;

        m_bMute = m_pAudioPage->m_bMute;
        m_lVolume = m_pAudioPage->m_lVolume;
        m_lTreble = m_pAudioPage->m_lTreble;
        m_lBass = m_pAudioPage->m_lBass;
        m_lBalance = m_pAudioPage->m_lBalance;
        if (m_pGraph != nullptr)
            m_pGraph->SetVolume(m_bMute ? kMuteVolume : m_lVolume);

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
    return m_pGraph != nullptr && ReadTimes(m_pGraph.get(), &page.m_dDuration, &page.m_dStartTime,
                                            &page.m_dStopTime, &page.m_dCurrentPosition);
}

BOOL CNTandrelDoc::FillInfoPage()
{
    if (m_pInfoPage == nullptr || m_pGraph == nullptr)
        return FALSE;
    CNTandrelInfoPage& page = *m_pInfoPage;
    VideoFacts facts = {page.m_lWidth, page.m_lHeight, page.m_dAvgTimePerFrame, page.m_lBitRate,
                        page.m_lBitErrorRate};
    if (FAILED(m_pGraph->GetVideoFacts(&facts)))
        return FALSE;
    page.m_lWidth = facts.lWidth;
    page.m_lHeight = facts.lHeight;
    page.m_dAvgTimePerFrame = facts.dAvgTimePerFrame;
    page.m_lBitRate = facts.lBitRate;
    page.m_lBitErrorRate = facts.lBitErrorRate;
    return ReadTimes(m_pGraph.get(), &page.m_dDuration, &page.m_dStartTime, &page.m_dStopTime,
                     &page.m_dCurrentPosition);
}

BOOL CNTandrelDoc::SeekToMediaPage()
{
    if (m_pMediaPage == nullptr || m_pGraph == nullptr)
        return FALSE;
    // Through the boundary, which stops a moving graph around the move: moved in place, a
    // stream with both audio and video hangs some engines.
    if (FAILED(m_pGraph->SetPosition(m_pMediaPage->m_dSeekPosition)))
        return FALSE;
    return TRUE;
}

BOOL CNTandrelDoc::ApplyVolume()
{
    if (m_pGraph == nullptr || m_pAudioPage == nullptr)
        return FALSE;
    if (m_bMute)
        return SUCCEEDED(m_pGraph->SetVolume(kMuteVolume));
    if (FAILED(m_pGraph->SetVolume(m_pAudioPage->m_lVolume)))
        return FALSE;
    m_lVolume = m_pAudioPage->m_lVolume;
    return TRUE;
}

BOOL CNTandrelDoc::ApplyBalance()
{
    if (m_pGraph == nullptr || m_pAudioPage == nullptr ||
        FAILED(m_pGraph->SetBalance(m_pAudioPage->m_lBalance)))
        return FALSE;
    m_lBalance = m_pAudioPage->m_lBalance;
    return TRUE;
}
