#include "NTandrelPageVideo.h"

#include "DataExchange.h"
#include "PlaybackHost.h"
#include "resource.h"

namespace {

// The display-mode list in the order of the combo box; an entry's position is its index.
const char* const kDisplayModes[] = {"320x200x08", "320x200x16", "320x240x08", "320x240x16",
                                     "640x400x08", "640x400x16", "640x480x08", "640x480x16"};
const int kDefaultDisplayMode = 6;

}  // namespace

BEGIN_MESSAGE_MAP(CNTandrelPageVideo, CPropertyPage)
    ON_CBN_SELCHANGE(IDC_DISPLAY_MODE, &CNTandrelPageVideo::OnSelChangeDisplayMode)
    ON_BN_CLICKED(IDC_SAVE_FILE, &CNTandrelPageVideo::OnSaveFile)
END_MESSAGE_MAP()

CNTandrelPageVideo::CNTandrelPageVideo()
    : CPropertyPage(IDD_PAGE_VIDEO),
      m_bCaption(FALSE),
      m_bThickFrame(FALSE),
      m_nSizeMode(0),
      m_nDisplayMode(kDefaultDisplayMode),
      m_strDisplayMode(kDisplayModes[kDefaultDisplayMode])
{
    m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
}

void CNTandrelPageVideo::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_ORIGINAL, m_nSizeMode);
    DDX_CBString(pDX, IDC_DISPLAY_MODE, m_strDisplayMode);
    DDX_Check(pDX, IDC_CAPTION, m_bCaption);
    DDX_Check(pDX, IDC_THICK_FRAME, m_bThickFrame);
}

void CNTandrelPageVideo::OnSelChangeDisplayMode()
{
    UpdateData(TRUE);
    for (int i = 0; i < static_cast<int>(sizeof(kDisplayModes) / sizeof(kDisplayModes[0])); ++i) {
        if (m_strDisplayMode == kDisplayModes[i]) {
            m_nDisplayMode = i;
            return;
        }
    }
}

void CNTandrelPageVideo::OnSaveFile()
{
    if (CPlaybackHost* pHost = CPlaybackHost::Get())
        pHost->SaveMediaCopy();
}
