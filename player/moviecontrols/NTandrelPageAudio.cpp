#include "NTandrelPageAudio.h"

#include "DataExchange.h"
#include "NTandrelDoc.h"
#include "resource.h"

namespace {

const long kLevelMin = -10000;  // silence, on the renderer's scale of hundredths of a dB
const long kLevelMax = 0;
const long kLevelTick = 1000;
const long kBalanceMin = -10000;  // left only
const long kBalanceMax = 10000;   // right only
const long kBalanceTick = 5000;

void SetUpSlider(CSliderCtrl& slider, long& lMin, long& lMax, long lLow, long lHigh, long lPos,
                 long lTick)
{
    lMin = lLow;
    lMax = lHigh;
    slider.SetRangeMin(lMin, FALSE);
    slider.SetRangeMax(lMax, FALSE);
    slider.SetPos(lPos);
    slider.SetTicFreq(lTick);
}

}  // namespace

BEGIN_MESSAGE_MAP(CNTandrelPageAudio, CPropertyPage)
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

CNTandrelPageAudio::CNTandrelPageAudio()
    : CPropertyPage(IDD_PAGE_AUDIO),
      m_lBassMin(0), m_lBassMax(0), m_lBass(0),
      m_lTrebleMin(0), m_lTrebleMax(0), m_lTreble(0),
      m_lVolumeMin(0), m_lVolumeMax(0), m_lVolume(0),
      m_lBalanceMin(0), m_lBalanceMax(0), m_lBalance(0),
      m_bMute(FALSE)
{
    m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
}

void CNTandrelPageAudio::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_MUTE, m_bMute);
    DDX_Control(pDX, IDC_VOLUME, m_sliderVolume);
    DDX_Control(pDX, IDC_BASS, m_sliderBass);
    DDX_Control(pDX, IDC_TREBLE, m_sliderTreble);
    DDX_Control(pDX, IDC_BALANCE, m_sliderBalance);
}

BOOL CNTandrelPageAudio::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    SetUpSlider(m_sliderVolume, m_lVolumeMin, m_lVolumeMax, kLevelMin, kLevelMax, m_lVolume,
                kLevelTick);
    SetUpSlider(m_sliderTreble, m_lTrebleMin, m_lTrebleMax, kLevelMin, kLevelMax, m_lTreble,
                kLevelTick);
    SetUpSlider(m_sliderBass, m_lBassMin, m_lBassMax, kLevelMin, kLevelMax, m_lBass, kLevelTick);
    SetUpSlider(m_sliderBalance, m_lBalanceMin, m_lBalanceMax, kBalanceMin, kBalanceMax,
                m_lBalance, kBalanceTick);
    return TRUE;
}

// Whichever slider moved, volume and balance are sent again together.
void CNTandrelPageAudio::OnVScroll(UINT, int, HWND)
{
    Default();
    m_lVolume = m_sliderVolume.GetPos();
    m_lTreble = m_sliderTreble.GetPos();
    m_lBass = m_sliderBass.GetPos();
    m_lBalance = m_sliderBalance.GetPos();
    CNTandrelDoc* pDoc = CNTandrelDoc::Current();
    if (pDoc == nullptr)
        return;
    pDoc->ApplyVolume();
    pDoc->ApplyBalance();
}
