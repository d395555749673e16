// Starts the media runtime's own setup behind the installation dialog and waits for it.
#pragma once

#include <windows.h>

// True when the runtime setup was started and has ended, whatever its exit code; false
// (after "Install Not Success!") when it could not be started, or when the installation
// dialog could not be shown or the wait failed.
bool RunRuntimeSetup(HINSTANCE hInstance);
