// The uninstaller's error messages: boxes without owner, OK only, caption "Error".
#pragma once

#include <windows.h>

// "Can't Delete File %s !" with the file's bare name.
void ShowCantDeleteFile(const char* pszName);
// The removal tool could not be started.
void ShowRemovalNotStarted();
