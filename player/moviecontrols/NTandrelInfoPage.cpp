#include "NTandrelInfoPage.h"

#include <cstdio>

#include "DataExchange.h"
#include "NTandrelDoc.h"
#include "NTandrelSheet.h"
#include "PageUnits.h"
#include "resource.h"

namespace {

const UINT kTimerMs = 99;

}  // namespace

BEGIN_MESSAGE_MAP(CNTandrelInfoPage, CPropertyPage)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CNTandrelInfoPage::CNTandrelInfoPage()
    : CPropertyPage(IDD_PAGE_INFO),
      m_nTimer(0),
      m_dCurrentPosition(0),
      m_dDuration(0),
      m_dStartTime(0),
      m_dStopTime(0),
      m_dAvgTimePerFrame(0),
      m_lBitRate(0),
      m_lBitErrorRate(0),
      m_lWidth(0),
      m_lHeight(0)
{
    m_psp.dwFlags &= ~static_cast<DWORD>(PSP_HASHELP);
}

void CNTandrelInfoPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_POSITION_TEXT, m_editPosition);
    // The figures are shown, never read back: nothing uses a text typed over them, and
    // such a text must not keep the user on the page or the sheet open.
    if (pDX->m_bSaveAndValidate)
        return;
    DDX_Text(pDX, IDC_BIT_RATE, m_lBitRate);
    DDX_Text(pDX, IDC_BIT_ERROR_RATE, m_lBitErrorRate);
    DDX_Text(pDX, IDC_AVG_TIME, m_dAvgTimePerFrame);
    DDX_Text(pDX, IDC_START_TIME, m_dStartTime);
    DDX_Text(pDX, IDC_STOP_TIME, m_dStopTime);
    DDX_Text(pDX, IDC_WIDTH, m_lWidth);
    DDX_Text(pDX, IDC_HEIGHT, m_lHeight);
}

BOOL CNTandrelInfoPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    // The bar counts hundredths of a second. Its classic range message carries 16-bit
    // bounds; a media longer than 655.35 s gets the 32-bit range instead, so the bar
    // still spans the whole media in the same unit.
    int nRange = ToHundredths(m_dDuration);
    if (nRange >= 0 && nRange <= 0xFFFF)
        m_progress.SetRange(0, static_cast<short>(nRange));
    else
        m_progress.SetRange32(0, nRange);
    m_progress.SetPos(ToHundredths(m_dCurrentPosition));
    m_nTimer = static_cast<UINT>(::SetTimer(m_hWnd, ID_PAGE_TIMER, kTimerMs, nullptr));
    return m_nTimer != 0;
}

void CNTandrelInfoPage::OnTimer(UINT_PTR)
{
    Default();
    CNTandrelDoc* pDoc = CNTandrelDoc::Current();
    if (pDoc == nullptr)
        return;
    pDoc->GetPosition(&m_dCurrentPosition);
    if (m_dDuration * kInfoFreezeShare < m_dCurrentPosition)
        return;
    m_progress.SetPos(ToHundredths(m_dCurrentPosition));
    char szPosition[64];
    snprintf(szPosition, sizeof(szPosition), "     %8.8lf", m_dCurrentPosition);
    ::SetDlgItemTextA(m_hWnd, IDC_POSITION_TEXT, szPosition);
    CNTandrelSheet::DropMainWindowTimers();
}

void CNTandrelInfoPage::OnDestroy()
{
    Default();
    ::KillTimer(m_hWnd, m_nTimer);
}
