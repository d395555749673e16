// Modal message boxes with the application's title as their caption.
#pragma once

#include <windows.h>

// Shows pszText with an OK button (or nType's buttons); returns the button pressed.
int AfxMessageBox(const char* pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// Shows the string resource nIDPrompt of the program.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// The application title: the program's string resource AFX_IDS_APP_TITLE, or the
// module's file title when the program has none.
const char* AfxGetAppName();
