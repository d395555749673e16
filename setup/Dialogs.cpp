#include "Dialogs.h"

#include "Messages.h"
#include "resource.h"
#include "CallbackType.h"

namespace {

// The buffer the directory dialog fills on Continue.
struct DirectoryRequest {
    char* pszDir;
    size_t cchDir;
};

INT_PTR CALLBACK WelcomeDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        CenterWindow(hDlg);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(hDlg, LOWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}
TANDREL_ASSERT_CALLBACK(DLGPROC, WelcomeDlgProc);

INT_PTR CALLBACK DirectoryDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        CenterWindow(hDlg);
        char szDefault[MAX_PATH];
        LoadText(IDS_DEFAULT_DIR, szDefault, sizeof(szDefault));
        SetDlgItemTextA(hDlg, IDC_INSTALL_DIR, szDefault);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const DirectoryRequest* pRequest =
                reinterpret_cast<const DirectoryRequest*>(GetWindowLongPtrA(hDlg, DWLP_USER));
            GetDlgItemTextA(hDlg, IDC_INSTALL_DIR, pRequest->pszDir,
                            static_cast<int>(pRequest->cchDir));
            EndDialog(hDlg, IDOK);
        } else if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, IDCANCEL);
        }
        return FALSE;
    default:
        return FALSE;
    }
}
TANDREL_ASSERT_CALLBACK(DLGPROC, DirectoryDlgProc);

INT_PTR CALLBACK CongratulationDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM /*lParam*/)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        CenterWindow(hDlg);
        return TRUE;
    case WM_COMMAND:
        // The readme opens in a process of its own, started in this program's current
        // directory: the one the installation came from.
        if (LOWORD(wParam) == IDOK)
            WinExec("start readme.txt", SW_HIDE);
        EndDialog(hDlg, LOWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}
TANDREL_ASSERT_CALLBACK(DLGPROC, CongratulationDlgProc);

}  // namespace

void CenterWindow(HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    int nWidth = rc.right - rc.left;
    int nHeight = rc.bottom - rc.top;
    int nLeft = (GetSystemMetrics(SM_CXSCREEN) - nWidth) / 2;
    int nTop = (GetSystemMetrics(SM_CYSCREEN) - nHeight) / 2;
    MoveWindow(hwnd, nLeft, nTop, nWidth, nHeight, TRUE);
}

bool ShowWelcome(HINSTANCE hInstance)
{
    return DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_WELCOME), nullptr, WelcomeDlgProc,
                           0) == IDOK;
}

bool AskInstallDirectory(HINSTANCE hInstance, char* pszDir, size_t cchDir)
{
    DirectoryRequest request = {pszDir, cchDir};
    return DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_DIRECTORY), nullptr, DirectoryDlgProc,
                           reinterpret_cast<LPARAM>(&request)) == IDOK;
}

void ShowCongratulation(HINSTANCE hInstance)
{
    DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_CONGRATULATION), nullptr,
                    CongratulationDlgProc, 0);
}
