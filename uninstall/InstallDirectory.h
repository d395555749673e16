// Which folder the uninstaller may remove files from: the one the installer recorded, and
// only when it really holds this installation.
#pragma once

#include <cstddef>

// Reads the recorded install directory into pszDir (cchDir at least MAX_PATH): the default
// value of the install-directory key, which must be text (REG_SZ) of at most 260 bytes
// with its terminating zero. False, with pszDir empty, when there is no such value.
bool ReadRecordedDirectory(char* pszDir, size_t cchDir);

// True when pszDir may be treated as this installation; its full path, without a trailing
// backslash, is then in pszFull (cchFull at least MAX_PATH). Refused: a relative path,
// the "\\?\" and "\\.\" forms, a drive root, a network share's root, the Windows and
// system folders, a folder that does not exist, and one that holds no installation of
// ours: it must be the parent of the running "Help\Uninstall.exe", or hold both
// "Tandrel98.exe" and the "Help" folder.
bool CheckInstallDirectory(const char* pszDir, char* pszFull, size_t cchFull);

// Both of the above: the install directory this uninstaller may remove, or false with
// pszDir empty.
bool FindInstallDirectory(char* pszDir, size_t cchDir);
