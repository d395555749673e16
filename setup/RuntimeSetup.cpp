#include "RuntimeSetup.h"

#include "Dialogs.h"
#include "Holders.h"
#include "InstallLayout.h"
#include "Messages.h"
#include "ProgressAnimation.h"
#include "ProgressBar.h"
#include "resource.h"
#include "CallbackType.h"

namespace {

// The animation runs once, while the runtime setup loads; it is not tied to that
// program's progress.
void RunAnimation(HWND hDlg)
{
    CenterWindow(hDlg);
    CProgressBar bar(hDlg, 20, 60, 256, 80, IDC_PROGRESS);
    RunProgressAnimation(bar.GetSafeHwnd(),
                         static_cast<AnimationPaint>(GetWindowLongPtrA(hDlg, DWLP_USER)));
}

// Modeless: the installer sends it one command, which runs the animation and ends it.
// Its creation parameter says how the animation paints.
INT_PTR CALLBACK InstallationDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        CenterWindow(hDlg);
        return TRUE;
    case WM_COMMAND:
        RunAnimation(hDlg);
        EndDialog(hDlg, LOWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}
TANDREL_ASSERT_CALLBACK(DLGPROC, InstallationDlgProc);

}  // namespace

bool RunRuntimeSetup(HINSTANCE hInstance, AnimationPaint nPaint)
{
    // CreateProcessA may write into the command line, so it lives in a buffer of our own.
    char szCommand[] = "dxmedia -id:" TANDREL_RUNTIME_CLIENT;
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_FORCEONFEEDBACK;
    si.wShowWindow = SW_SHOWDEFAULT;
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    if (!CreateProcessA(nullptr, szCommand, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &si, &pi)) {
        ShowMessage(IDS_RUNTIME_NOT_STARTED, IDS_CAPTION_ERROR);
        return false;
    }
    CHandleHolder process(pi.hProcess);
    CloseHandle(pi.hThread);

    HWND hDlg = CreateDialogParamA(hInstance, MAKEINTRESOURCEA(IDD_INSTALLATION), nullptr,
                                   InstallationDlgProc, static_cast<LPARAM>(nPaint));
    if (hDlg == nullptr)
        return false;
    ShowWindow(hDlg, SW_SHOWNORMAL);
    UpdateWindow(hDlg);
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);

    bool bResult = false;
    if (WaitForSingleObject(process.Get(), INFINITE) == WAIT_OBJECT_0) {
        // Any other exit code is the runtime setup's own failure, which it has reported.
        DWORD dwExitCode = STILL_ACTIVE;
        bResult = GetExitCodeProcess(process.Get(), &dwExitCode) && dwExitCode == 0;
    }
    process.Close();
    DestroyWindow(hDlg);
    return bResult;
}
