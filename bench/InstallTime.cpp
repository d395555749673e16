// Times one installation from the distribution folder given on the command line: from
// Continue in the directory dialog to the "Congratulation!" dialog, and the part of it the
// installation dialog's animation takes. Installs into a fresh directory under C:\ and
// leaves the installation in place; install-time.sh removes it. A third argument names
// another build of the installer to run in the distribution folder.
#include <windows.h>

#include <cstdio>
#include <string>

#include "WindowDriver.h"
#include "resource.h"

namespace {

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

int Fail(const char* pszWhat)
{
    std::fprintf(stderr, "install-time: %s\n", pszWhat);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 && argc != 4)
        return Fail("usage: InstallTime DISTDIR INSTALLDIR [SETUPEXE]");
    std::string dist = argv[1];
    std::string exe = argc == 4 ? argv[3] : dist + "\\Setup.exe";
    CProcessDriver setup;
    if (!setup.Start("\"" + exe + "\"", dist))
        return Fail("Setup.exe did not start");
    HWND hWelcome = setup.WaitForDialog("Welcome");
    if (hWelcome == nullptr)
        return Fail("no Welcome dialog");
    PressButton(hWelcome, IDOK);
    HWND hDirectory = setup.WaitForDialog("Tandrel98 Directory");
    if (hDirectory == nullptr)
        return Fail("no directory dialog");
    SetControlText(hDirectory, IDC_INSTALL_DIR, argv[2]);

    LARGE_INTEGER continued = Now();
    PressButton(hDirectory, IDOK);
    if (setup.WaitForDialog("Tandrel98 Installation", 120000) == nullptr)
        return Fail("no installation dialog");
    LARGE_INTEGER animationStart = Now();
    if (!setup.WaitForDialogGone("Tandrel98 Installation", 600000))
        return Fail("the installation dialog stayed");
    LARGE_INTEGER animationEnd = Now();
    HWND hDone = setup.WaitForDialog("Congratulation!", 600000);
    if (hDone == nullptr)
        return Fail("no Congratulation dialog");
    LARGE_INTEGER finished = Now();
    PressButton(hDone, IDC_ANSWER_NO);
    setup.WaitForExit();

    double dTotal = Seconds(continued, finished);
    double dAnimation = Seconds(animationStart, animationEnd);
    std::printf("continue to congratulation: %.3f s\n", dTotal);
    std::printf("animation: %.3f s (%.1f %%)\n", dAnimation, 100.0 * dAnimation / dTotal);
    return 0;
}
