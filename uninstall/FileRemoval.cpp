#include "FileRemoval.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "Holders.h"
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

bool IsAbsolutePath(const char* pszDir)
{
    bool bDrive = ((pszDir[0] >= 'A' && pszDir[0] <= 'Z') || (pszDir[0] >= 'a' && pszDir[0] <= 'z')) &&
                  pszDir[1] == ':' && pszDir[2] == '\\';
    bool bNetwork = pszDir[0] == '\\' && pszDir[1] == '\\' && pszDir[2] != '\0';
    return bDrive || bNetwork;
}

bool ReadInstallDirectory(char* pszDir, size_t cchDir)
{
    pszDir[0] = '\0';
    CRegKeyHolder key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, 0, KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD cbDir = static_cast<DWORD>(cchDir - 1);
    if (RegQueryValueExA(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(pszDir),
                         &cbDir) != ERROR_SUCCESS) {
        pszDir[0] = '\0';
        return false;
    }
    // A value stored without its zero still ends here.
    pszDir[cbDir < cchDir ? cbDir : cchDir - 1] = '\0';
    return true;
}

}  // namespace

bool IsUsableInstallDirectory(const char* pszDir)
{
    if (pszDir == nullptr || pszDir[0] == '\0' || !IsAbsolutePath(pszDir))
        return false;
    DWORD dwAttributes = GetFileAttributesA(pszDir);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool RemoveInstalledFiles(char* pszDir, size_t cchDir)
{
    if (!ReadInstallDirectory(pszDir, cchDir) || !IsUsableInstallDirectory(pszDir)) {
        pszDir[0] = '\0';
        return false;
    }
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
