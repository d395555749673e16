// The Information page of the Movie Controls sheet: the media's figures, and its position
// following playback every 99 ms.
#pragma once

#include "Controls.h"
#include "PropertyPage.h"

class CNTandrelInfoPage : public CPropertyPage {
public:
    CNTandrelInfoPage();

    // Sets the bar from the figures and starts the timer; FALSE when it could not start.
    BOOL OnInitDialog() override;

    UINT m_nTimer;
    CProgressCtrl m_progress;
    CEdit m_editPosition;
    double m_dCurrentPosition;
    double m_dDuration;
    double m_dStartTime;
    double m_dStopTime;
    double m_dAvgTimePerFrame;
    long m_lBitRate;
    long m_lBitErrorRate;
    long m_lWidth;
    long m_lHeight;

protected:
    DECLARE_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    void OnTimer(UINT_PTR nIDEvent);
    void OnDestroy();
};
