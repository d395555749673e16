// Starts the media runtime's own setup behind the installation dialog and waits for it.
#pragma once

#include <windows.h>

#include "ProgressAnimation.h"

// True when the runtime setup was started and has ended with exit code 0; false (after
// "Install Not Success!") when it could not be started, and false when the installation
// dialog could not be shown, the wait failed or the runtime setup reported a failure.
// nPaint says how the installation dialog's animation paints.
bool RunRuntimeSetup(HINSTANCE hInstance, AnimationPaint nPaint);
