// What the installer writes into the registry. A key that can't be created simply gets no
// value, and the installation goes on; only the settings record's result is reported, for
// a player without its record is not installed whole.
#pragma once

#include <windows.h>

// Creates or opens pszKey under hRoot and sets its default value to pszText (REG_SZ, with
// its terminating zero).
void SetKeyDefault(HKEY hRoot, const char* pszKey, const char* pszText);
// Lets the shell start the program by its file name: the key pszBaseKey\pszProgram under
// HKEY_LOCAL_MACHINE holds pszInstallDir\pszProgram.
void RegisterAppPath(const char* pszInstallDir, const char* pszBaseKey, const char* pszProgram);
// Points the extension (".mpg") at the file type under HKEY_CLASSES_ROOT, replacing any
// association it had.
void RegisterExtension(const char* pszExtension, const char* pszFileType);
// The file type: its description, the open command (the player's path in quotation marks,
// then %1) and the icon (the player's first icon).
void RegisterFileType(const char* pszFileType, const char* pszDescription,
                      const char* pszPlayerPath);
// The entry in the system's list of installed programs: the display name and the command
// that starts the uninstaller in the "Help" folder, its path in quotation marks.
void RegisterUninstallEntry(const char* pszKey, const char* pszInstallDir,
                            const char* pszDisplayName);
// The player's settings reset to the defaults, the key created when missing. True when the
// record was stored.
bool WriteDefaultSettings();
