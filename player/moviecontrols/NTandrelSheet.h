// The Movie Controls sheet: four pages and a single "Finish" button, placed near the
// bottom of the screen. Made and run only by the document's Configure.
#pragma once

#include "NTandrelInfoPage.h"
#include "NTandrelPageAudio.h"
#include "NTandrelPageMedia.h"
#include "NTandrelPageVideo.h"
#include "PropertySheet.h"

class CNTandrelSheet : public CPropertySheet {
public:
    explicit CNTandrelSheet(UINT nStartPage);

    // Removes the timer messages queued for the main window, so that ticks that piled up
    // while a page was busy do not reach it in a burst.
    static void DropMainWindowTimers();

    int m_nLastActivePage;
    CNTandrelPageMedia m_pageMedia;
    CNTandrelPageVideo m_pageVideo;
    CNTandrelPageAudio m_pageAudio;
    CNTandrelInfoPage m_pageInfo;

protected:
    // Notes the page in front when Finish is pressed.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Sizes and places the sheet by the screen's resolution and turns OK into "Finish".
    BOOL OnInitDialog() override;
};
