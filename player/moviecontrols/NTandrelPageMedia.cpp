#include "NTandrelPageMedia.h"

#include "DataExchange.h"
#include "NTandrelDoc.h"
#include "NTandrelSheet.h"
#include "PageUnits.h"
#include "resource.h"

namespace {

const UINT kTimerMs = 99;
const double kMinRate = 0.0;
const double kMaxRate = 4.0;
// Tick spacing: a quarter of the slider's hundredths, so the duration shows 25 intervals.
const double kTicksPerSecond = 4.0;

}  // namespace

BEGIN_MESSAGE_MAP(CNTandrelPageMedia, CPropertyPage)
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CNTandrelPageMedia::CNTandrelPageMedia()
    : CPropertyPage(IDD_PAGE_MEDIA),
      m_nTimer(0),
      m_bLoop(FALSE),
      m_bGroupLoop(FALSE),
      m_dRate(0),
      m_dStartTime(0),
      m_dStopTime(0),
      m_dCurrentPosition(0),
      m_dDuration(0),
      m_dSeekPosition(0)
{
    m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
}

void CNTandrelPageMedia::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_LOOP, m_bLoop);
    DDX_Check(pDX, IDC_GROUP_LOOP, m_bGroupLoop);
    DDX_Text(pDX, IDC_RATE, m_dRate);
    DDV_MinMaxDouble(pDX, m_dRate, kMinRate, kMaxRate);
    DDX_Control(pDX, IDC_POSITION, m_sliderPosition);
}

BOOL CNTandrelPageMedia::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_sliderPosition.SetRangeMin(ToHundredths(m_dStartTime), FALSE);
    m_sliderPosition.SetRangeMax(ToHundredths(m_dStopTime), FALSE);
    m_sliderPosition.SetPos(ToHundredths(m_dCurrentPosition));
    m_sliderPosition.SetTicFreq(static_cast<int>(m_dDuration * kTicksPerSecond));
    m_nTimer = static_cast<UINT>(::SetTimer(m_hWnd, ID_PAGE_TIMER, kTimerMs, nullptr));
    return m_nTimer != 0;
}

void CNTandrelPageMedia::OnTimer(UINT_PTR)
{
    Default();
    CNTandrelDoc* pDoc = CNTandrelDoc::Current();
    if (pDoc == nullptr)
        return;
    pDoc->GetPosition(&m_dCurrentPosition);
    if (m_dDuration * kMediaFreezeShare < m_dCurrentPosition)
        return;
    m_sliderPosition.SetPos(ToHundredths(m_dCurrentPosition));
    CNTandrelSheet::DropMainWindowTimers();
}

void CNTandrelPageMedia::OnDestroy()
{
    Default();
    ::KillTimer(m_hWnd, m_nTimer);
}

// Every movement seeks at once, the drag's too. A seek stops and restarts the graph and
// can take longer than the hand needs for the next movement; when a newer movement is
// already waiting, this one is passed over so that the picture follows the newest
// position and never trails the thumb by more than one seek. The release always seeks.
void CNTandrelPageMedia::OnHScroll(UINT nSBCode, int, HWND)
{
    m_dSeekPosition = FromHundredths(m_sliderPosition.GetPos());
    CNTandrelDoc* pDoc = CNTandrelDoc::Current();
    if (pDoc != nullptr && !(nSBCode == TB_THUMBTRACK && IsNewerMoveQueued()))
        pDoc->SeekToMediaPage();
    Default();
}

BOOL CNTandrelPageMedia::IsNewerMoveQueued() const
{
    MSG msg;
    return ::PeekMessageA(&msg, m_sliderPosition.m_hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE,
                          PM_NOREMOVE | PM_NOYIELD);
}
