// The installer from Welcome to Congratulation.
#pragma once

#include <windows.h>

#include "ProgressAnimation.h"

// Runs the whole installation; returns the process exit code: 1 when the user cancels
// before anything is written, 0 after an installation attempt, successful or not.
// nPaint says how the installation dialog's animation paints.
int RunInstallation(HINSTANCE hInstance, AnimationPaint nPaint = PAINT_WHEN_CHANGED);
