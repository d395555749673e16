// The Video page of the Movie Controls sheet: size mode, full-screen display mode, the
// main window's caption and sizing border, and "Save File".
#pragma once

#include <string>

#include "PropertyPage.h"

class CNTandrelPageVideo : public CPropertyPage {
public:
    CNTandrelPageVideo();

    // Opens the display-mode list on its default entry, whatever index the page holds.
    BOOL OnInitDialog() override;

    BOOL m_bCaption;
    BOOL m_bThickFrame;
    int m_nSizeMode;
    int m_nDisplayMode;
    std::string m_strDisplayMode;

protected:
    DECLARE_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    void OnSelChangeDisplayMode();
    void OnSaveFile();
};
