#include "OpenInternetDlg.h"

#include "resource.h"

COpenInternetDlg::COpenInternetDlg(CWnd* pParentWnd)
    : CDialog(IDD_OPEN_INTERNET, pParentWnd), m_strURL("http://")
{
}

void COpenInternetDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_URL, m_strURL);
}
