// Where the two shortcuts live. The installer writes them and the uninstaller removes them,
// so both programs find the folders through these functions and agree on the paths.
#pragma once

#include <cstddef>

// The current user's Start Menu programs folder: the "Programs" value of the user's shell
// folders, or the Windows directory + "\Start Menu\Programs" when there is none.
bool GetStartMenuFolder(char* pszFolder, size_t cchFolder);
// The current user's desktop folder: the "Desktop" value of the user's shell folders, or
// the Windows directory + "\Desktop" when there is none.
bool GetDesktopFolder(char* pszFolder, size_t cchFolder);
// Folder + "\Tandrel98.lnk". False when the folder is unknown or the path does not fit.
bool GetStartMenuShortcutPath(char* pszPath, size_t cchPath);
bool GetDesktopShortcutPath(char* pszPath, size_t cchPath);
