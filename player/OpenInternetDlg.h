// The Open Internet dialog: the address of a media to open, typed into one edit control.
#pragma once

#include <string>

#include "Dialog.h"

class COpenInternetDlg : public CDialog {
public:
    explicit COpenInternetDlg(CWnd* pParentWnd = nullptr);

    // The address: shown when the dialog opens, the typed text after OK.
    std::string m_strURL;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
