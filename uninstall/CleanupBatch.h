// The batch file that finishes the removal after the uninstaller has exited: it waits,
// a bounded time, until the installation's "Help\Uninstall.exe" can be deleted, deletes
// the desktop shortcut, removes the "Help" folder and the install directory when they are
// empty, and deletes itself. Every path in it is absolute and quoted, so that the folder
// the batch file starts in plays no part.
#pragma once

#include <windows.h>

#include <string>

// How many times the batch file tries to delete the uninstaller, about a second apart,
// before it leaves it in place: far longer than the uninstaller takes to end once it
// has started the batch file.
const int kCleanupTries = 20;

// A path as one argument of a batch line: in quotation marks, each "%" doubled so that
// the command interpreter does not expand it.
std::string QuoteForBatch(const char* pszPath);

// The batch file's text, with "\n" line ends (written as carriage return and line feed),
// in the ANSI code page; its last line deletes pszBatchPath, the batch file itself.
// pszInstallDir empty leaves out every line that deletes the uninstaller or removes a
// folder, so that nothing outside a known installation is touched.
std::string FormatCleanupBatch(const char* pszInstallDir, const char* pszDesktopLink,
                               const char* pszTempDir, const char* pszBatchPath);

// The command interpreter reads batch files in the OEM code page: the ANSI text converted
// into it. False when a character has no equivalent there.
bool ToOemText(const std::string& text, std::string* pOem);

// The batch text for these paths in the OEM code page. A name the OEM code page can't
// spell is written in its short form; false when even that can't be spelled, for a batch
// file that would name a wrong folder must not be written. pszInstallDir null or empty
// when no installation is known.
bool CleanupBatchOemText(const char* pszInstallDir, const char* pszDesktopLink,
                         const char* pszTempDir, const char* pszBatchPath, std::string* pOem);

// Each uninstall's batch file is a new file of its own in the temporary directory (which
// ends in a backslash, so that two stand before the name): "Tandrel98.bat", or, while an
// earlier uninstall's batch file of that name still runs, "Tandrel98-2.bat" and so on.
// Rewriting a batch file under the command interpreter that runs it would make that one
// run the other's lines, and its own installation would stay. Returns the new, empty file
// open for writing, its path in pszPath; an invalid handle when no name is free.
HANDLE CreateCleanupBatchFile(const char* pszTempDir, char* pszPath, size_t cchPath);

// Writes the batch file for pszInstallDir (null or empty when unknown) and starts it hidden. When
// the file can't be written nothing is started.
void WriteCleanupBatch(const char* pszInstallDir);
