// The Media page of the Movie Controls sheet: rate, Loop and Group Loop, and a position
// slider that follows playback every 99 ms and seeks when the user moves it.
#pragma once

#include "Controls.h"
#include "PropertyPage.h"

class CNTandrelPageMedia : public CPropertyPage {
public:
    CNTandrelPageMedia();

    // Sets the slider from the times and starts the timer; FALSE when it could not start.
    BOOL OnInitDialog() override;

    UINT m_nTimer;
    BOOL m_bLoop;
    BOOL m_bGroupLoop;
    double m_dRate;
    CSliderCtrl m_sliderPosition;
    double m_dStartTime;
    double m_dStopTime;
    double m_dCurrentPosition;
    double m_dDuration;
    double m_dSeekPosition;

protected:
    DECLARE_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
    void OnHScroll(UINT nSBCode, int nPos, HWND hScrollBar);

private:
    // Whether the slider has a newer movement of the thumb waiting in the queue.
    BOOL IsNewerMoveQueued() const;
};
