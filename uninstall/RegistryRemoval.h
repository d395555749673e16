// Removing what the installer registered. Missing entries are passed over silently.
#pragma once

#include <windows.h>

// Deletes the key pszPath under hRoot, one level only: a key that still has subkeys stays.
void DeleteKey(HKEY hRoot, const char* pszPath);
// Deletes the unnamed value of the key; the key itself stays.
void DeleteDefaultValue(HKEY hRoot, const char* pszPath);
// The machine's entries: install directory, version, file types, the uninstall entry and
// the application path.
void RemoveRegistryEntries();
// The user's settings and the keys above them, when nothing else is left in them.
void RemoveUserSettings();
