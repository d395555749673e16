#include "NTandrelPageVideo.h"

#include "DataExchange.h"
#include "PlaybackHost.h"
#include "resource.h"

namespace {

// The display modes are the list's entries, given by the page's template; an entry's
// position is its index. The list opens on this one every time.
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
      m_strDisplayMode()
{
    m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
}

BOOL CNTandrelPageVideo::OnInitDialog()
{
    // The list is filled by now; the controls are loaded from the members next.
    char szMode[64] = "";
    HWND hList = ::GetDlgItem(m_hWnd, IDC_DISPLAY_MODE);
    LRESULT cchMode = ::SendMessageA(hList, CB_GETLBTEXTLEN, kDefaultDisplayMode, 0);
    if (cchMode >= 0 && cchMode < static_cast<LRESULT>(sizeof(szMode)))
        ::SendMessageA(hList, CB_GETLBTEXT, kDefaultDisplayMode, reinterpret_cast<LPARAM>(szMode));
    m_strDisplayMode = szMode;
    return CPropertyPage::OnInitDialog();
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
    LRESULT nIndex = ::SendDlgItemMessageA(m_hWnd, IDC_DISPLAY_MODE, CB_FINDSTRINGEXACT,
                                           static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(m_strDisplayMode.c_str()));
    if (nIndex != CB_ERR)
        m_nDisplayMode = static_cast<int>(nIndex);
}

void CNTandrelPageVideo::OnSaveFile()
{
    if (CPlaybackHost* pHost = CPlaybackHost::Get())
        pHost->SaveMediaCopy();
}
