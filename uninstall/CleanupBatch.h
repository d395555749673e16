// The batch file that finishes the removal after the uninstaller has exited: it waits
// until "Uninstall.exe" can be deleted, deletes the desktop shortcut, moves to the
// temporary directory, removes the "Help" folder and the install directory when they are
// empty, and deletes itself.
#pragma once

#include <string>

// The batch file's text, with "\n" line ends (written as carriage return and line feed).
// pszInstallDir empty leaves out the lines that change into and remove the directories,
// so that nothing outside a known installation is touched.
std::string FormatCleanupBatch(const char* pszInstallDir, const char* pszDesktopLink,
                               const char* pszTempDir);

// The temporary directory + "\Tandrel98.bat" (the directory already ends in a backslash).
bool GetCleanupBatchPath(char* pszPath, size_t cchPath);

// Writes the batch file for pszInstallDir (empty when unknown) and starts it hidden. When
// the file can't be written nothing is started.
void WriteCleanupBatch(const char* pszInstallDir);
