// Copying the distribution's files into the installation.
#pragma once

// Copies the source file's bytes into the target, replacing a file of that name. True
// when every byte was copied. When the source can't be opened nothing is created; when
// the target can't be created, or a read or write fails part-way, no target file is left
// behind.
bool CopyOneFile(const char* pszSource, const char* pszTarget);

// Copies pszSourceDir\pszName to pszTargetDir\pszName; true when the whole file was
// copied. A name that would not fit a path is not copied at all, rather than copied to a
// shortened name.
bool InstallFile(const char* pszTargetDir, const char* pszSourceDir, const char* pszName);
