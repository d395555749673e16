// Fetching a media address into the local cache without freezing the player: the system's
// URL service runs on a worker thread while a small dialog shows its progress and offers
// Cancel. A server that sends nothing for kStallSeconds ends the fetch.
#pragma once

#include <windows.h>

#include "Dialog.h"

class CDownloadJob;

class CDownloadDlg : public CDialog {
public:
    enum { kStallSeconds = 30 };

    explicit CDownloadDlg(CDownloadJob* pJob);

    BOOL OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(UINT_PTR nIDEvent);

protected:
    DECLARE_MESSAGE_MAP()

private:
    void Abandon(int nResult);

    CDownloadJob* m_pJob;
};
