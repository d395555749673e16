// The installer from Welcome to Congratulation.
#pragma once

#include <windows.h>

// Runs the whole installation; returns the process exit code: 1 when the user cancels
// before anything is written, 0 after an installation attempt, successful or not.
int RunInstallation(HINSTANCE hInstance);
