// The Audio page of the Movie Controls sheet: Bass, Treble, Balance and Volume sliders
// and Mute. Moving any slider sends the volume and the balance to playback at once.
#pragma once

#include "Controls.h"
#include "PropertyPage.h"

class CNTandrelPageAudio : public CPropertyPage {
public:
    CNTandrelPageAudio();

    // Sets the sliders' ranges and positions.
    BOOL OnInitDialog() override;

    CSliderCtrl m_sliderBass;
    long m_lBassMin, m_lBassMax;
    long m_lBass;
    CSliderCtrl m_sliderTreble;
    long m_lTrebleMin, m_lTrebleMax;
    long m_lTreble;
    CSliderCtrl m_sliderVolume;
    long m_lVolumeMin, m_lVolumeMax;
    long m_lVolume;
    CSliderCtrl m_sliderBalance;
    long m_lBalanceMin, m_lBalanceMax;
    long m_lBalance;
    BOOL m_bMute;

protected:
    DECLARE_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    void OnVScroll(UINT nSBCode, int nPos, HWND hScrollBar);
};
