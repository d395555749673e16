// Setup.exe: installs the player from the folder it is started in.
#include <windows.h>

#include "InstallSequence.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/,
                   int /*nCmdShow*/)
{
    return RunInstallation(hInstance);
}
