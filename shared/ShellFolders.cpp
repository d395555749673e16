#include "ShellFolders.h"

#include <windows.h>

#include <cstdio>

#include "Holders.h"
#include "InstallLayout.h"

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Reads one text value of the user's shell folders; false when it is missing or empty.
bool ReadShellFolder(const char* pszValue, char* pszFolder, size_t cchFolder)
{
    CRegKeyHolder key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    char szValue[MAX_PATH] = "";
    DWORD cbValue = sizeof(szValue) - 1;
    DWORD dwType = 0;
    if (RegQueryValueExA(key.Get(), pszValue, nullptr, &dwType, reinterpret_cast<BYTE*>(szValue),
                         &cbValue) != ERROR_SUCCESS)
        return false;
    szValue[sizeof(szValue) - 1] = '\0';
    if (szValue[0] == '\0')
        return false;
    if (dwType == REG_EXPAND_SZ) {
        DWORD cch = ExpandEnvironmentStringsA(szValue, pszFolder, static_cast<DWORD>(cchFolder));
        return cch != 0 && cch <= cchFolder;
    }
    if (dwType != REG_SZ)
        return false;
    int n = std::snprintf(pszFolder, cchFolder, "%s", szValue);
    return n > 0 && static_cast<size_t>(n) < cchFolder;
}

bool GetFolder(const char* pszValue, const char* pszUnderWindows, char* pszFolder,
               size_t cchFolder)
{
    if (ReadShellFolder(pszValue, pszFolder, cchFolder))
        return true;
    char szWindows[MAX_PATH] = "";
    UINT cch = GetWindowsDirectoryA(szWindows, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH)
        return false;
    int n = std::snprintf(pszFolder, cchFolder, "%s%s", szWindows, pszUnderWindows);
    return n > 0 && static_cast<size_t>(n) < cchFolder;
}

bool AppendShortcutName(const char* pszFolder, char* pszPath, size_t cchPath)
{
    int n = std::snprintf(pszPath, cchPath, "%s\\%s", pszFolder, TANDREL_SHORTCUT_FILE);
    return n > 0 && static_cast<size_t>(n) < cchPath;
}

}  // namespace

bool GetStartMenuFolder(char* pszFolder, size_t cchFolder)
{
    return GetFolder("Programs", "\\Start Menu\\Programs", pszFolder, cchFolder);
}

bool GetDesktopFolder(char* pszFolder, size_t cchFolder)
{
    return GetFolder("Desktop", "\\Desktop", pszFolder, cchFolder);
}

bool GetStartMenuShortcutPath(char* pszPath, size_t cchPath)
{
    char szFolder[MAX_PATH] = "";
    return GetStartMenuFolder(szFolder, sizeof(szFolder)) &&
           AppendShortcutName(szFolder, pszPath, cchPath);
}

bool GetDesktopShortcutPath(char* pszPath, size_t cchPath)
{
    char szFolder[MAX_PATH] = "";
    return GetDesktopFolder(szFolder, sizeof(szFolder)) &&
           AppendShortcutName(szFolder, pszPath, cchPath);
}
