// Setup.exe: installs the player from the folder it is started in.
#include <windows.h>

#include "InstallSequence.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/,
                   int /*nCmdShow*/)
{
#ifdef TANDREL_PAINT_EVERY_STEP
    // The benchmark's build: the animation paints all its steps, for comparison.
    return RunInstallation(hInstance, PAINT_EVERY_STEP);
#else
    return RunInstallation(hInstance);
#endif
}
