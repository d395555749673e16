#include "FileRemoval.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "Holders.h"
#include "InstallDirectory.h"
#include "InstallLayout.h"
#include "UninstallMessages.h"

namespace {

struct RemovalEntry {
    bool bInHelp;
    const char* pszPattern;
};

const RemovalEntry kRemovalList[] = {
    {false, "Tandrel98.*"}, {false, "readme.txt"}, {false, "vost.mpg"},
    {true, "*.html"},       {true, "*.gif"},
};

}  // namespace

bool RemoveInstalledFiles(char* pszDir, size_t cchDir)
{
    if (!FindInstallDirectory(pszDir, cchDir))
        return false;
    char szHelpDir[MAX_PATH];
    int n = std::snprintf(szHelpDir, sizeof(szHelpDir), "%s\\%s", pszDir, TANDREL_HELP_DIR);
    bool bHelpDir = n > 0 && n < MAX_PATH;
    for (const RemovalEntry& entry : kRemovalList) {
        if (!entry.bInHelp)
            DeleteMatchingFiles(pszDir, entry.pszPattern);
        else if (bHelpDir)
            DeleteMatchingFiles(szHelpDir, entry.pszPattern);
    }
    return true;
}

void DeleteMatchingFiles(const char* pszDir, const char* pszPattern)
{
    char szSearch[MAX_PATH];
    int n = std::snprintf(szSearch, sizeof(szSearch), "%s\\%s", pszDir, pszPattern);
    if (n < 0 || n >= MAX_PATH)
        return;
    WIN32_FIND_DATAA data;
    CFindHolder find(FindFirstFileA(szSearch, &data));
    if (!find.IsValid())
        return;
    do {
        if (data.cFileName[0] == '.')
            continue;
        char szFile[MAX_PATH];
        n = std::snprintf(szFile, sizeof(szFile), "%s\\%s", pszDir, data.cFileName);
        if (n < 0 || n >= MAX_PATH || !DeleteFileA(szFile))
            ShowCantDeleteFile(data.cFileName);
    } while (FindNextFileA(find.Get(), &data));
}
