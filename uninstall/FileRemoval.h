// Removing the installed files.
#pragma once

#include <cstddef>

// True when pszDir can safely be taken as the install directory: an absolute path (a drive
// letter, colon and backslash, or a network path) of a directory that exists.
bool IsUsableInstallDirectory(const char* pszDir);

// Reads the install directory that the installer recorded into pszDir and deletes the
// installed files under it: the player and its other files of the same stem, the readme,
// the sample clip, the help page and its images. Returns whether the directory was
// usable; when it is not (no key, empty, relative, missing) nothing is deleted and pszDir
// holds an empty text.
bool RemoveInstalledFiles(char* pszDir, size_t cchDir);

// Deletes every file in pszDir matching pszPattern. A file that can't be deleted is named
// in a "Can't Delete File %s !" message and stays; the others are still deleted.
void DeleteMatchingFiles(const char* pszDir, const char* pszPattern);
