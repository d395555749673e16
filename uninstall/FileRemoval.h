// Removing the installed files.
#pragma once

#include <cstddef>

// Finds the install directory (FindInstallDirectory) into pszDir and deletes the installed
// files under it: the player and its other files of the same stem, the readme, the sample
// clip, the help page and its images. When no installation of ours is found nothing is
// deleted, pszDir holds an empty text and the result is false.
bool RemoveInstalledFiles(char* pszDir, size_t cchDir);

// Deletes every file in pszDir matching pszPattern. A file that can't be deleted is named
// in a "Can't Delete File %s !" message and stays; the others are still deleted.
void DeleteMatchingFiles(const char* pszDir, const char* pszPattern);
