// Starts the media runtime's own setup behind the installation dialog and waits for it.
#pragma once

#include <windows.h>

#include "ProgressAnimation.h"

// True when the runtime setup was started and has ended, whatever its exit code; false
// (after "Install Not Success!") when it could not be started, or when the installation
// dialog could not be shown or the wait failed.
// nPaint says how the installation dialog's animation paints.
bool RunRuntimeSetup(HINSTANCE hInstance, AnimationPaint nPaint);
