// The installer's modal dialogs: Welcome, the install directory and Congratulation.
#pragma once

#include <windows.h>

#include <cstddef>

// Moves the window to the middle of the screen; its size stays.
void CenterWindow(HWND hwnd);

// Welcome: true when the user continues, false on Cancel, Escape or the close box.
bool ShowWelcome(HINSTANCE hInstance);
// The install directory dialog, opened with the default directory in its edit box. On
// Continue the text typed (at most cchDir - 1 characters) is in pszDir and it returns
// true; Cancel or Escape return false.
bool AskInstallDirectory(HINSTANCE hInstance, char* pszDir, size_t cchDir);
// Congratulation: "Yes" opens the readme of the current directory, "No" does not.
void ShowCongratulation(HINSTANCE hInstance);
