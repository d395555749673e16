#include "InstallDirectory.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "Holders.h"
#include "InstallLayout.h"

namespace {

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// "X:\..." or "\\server\share...", but none of the device and raw forms "\\?\", "\\.\".
bool IsPlainAbsolutePath(const char* pszPath)
{
    if (IsDriveLetter(pszPath[0]) && pszPath[1] == ':' && pszPath[2] == '\\')
        return true;
    return pszPath[0] == '\\' && pszPath[1] == '\\' && pszPath[2] != '\0' && pszPath[2] != '?' &&
           pszPath[2] != '.' && pszPath[2] != '\\';
}

// A drive root ("X:") or a network server or share root ("\\server", "\\server\share"),
// given without a trailing backslash.
bool IsRoot(const char* pszPath)
{
    if (IsDriveLetter(pszPath[0]) && pszPath[1] == ':' && pszPath[2] == '\0')
        return true;
    if (pszPath[0] != '\\' || pszPath[1] != '\\')
        return false;
    int nParts = 0;
    for (const char* p = pszPath + 2; *p != '\0'; ++p) {
        if (*p != '\\' && (p[-1] == '\\'))
            ++nParts;
    }
    return nParts <= 2;
}

bool IsDirectory(const char* pszPath)
{
    DWORD dwAttributes = GetFileAttributesA(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const char* pszPath)
{
    DWORD dwAttributes = GetFileAttributesA(pszPath);
    return dwAttributes != INVALID_FILE_ATTRIBUTES && !(dwAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The long form of an existing path, for comparing two names of one folder.
bool LongPath(const char* pszPath, char* pszLong, size_t cchLong)
{
    DWORD cch = GetLongPathNameA(pszPath, pszLong, static_cast<DWORD>(cchLong));
    return cch != 0 && cch < cchLong;
}

bool SameFolder(const char* pszA, const char* pszB)
{
    char szA[MAX_PATH];
    char szB[MAX_PATH];
    return LongPath(pszA, szA, sizeof(szA)) && LongPath(pszB, szB, sizeof(szB)) &&
           lstrcmpiA(szA, szB) == 0;
}

bool IsSystemFolder(const char* pszPath)
{
    char szFolder[MAX_PATH];
    UINT cch = GetWindowsDirectoryA(szFolder, MAX_PATH);
    if (cch != 0 && cch < MAX_PATH && SameFolder(szFolder, pszPath))
        return true;
    cch = GetSystemDirectoryA(szFolder, MAX_PATH);
    return cch != 0 && cch < MAX_PATH && SameFolder(szFolder, pszPath);
}

// The folder above the running program's "Help" folder, when it is started from there.
bool RunningFromHelpOf(const char* pszDir)
{
    char szModule[MAX_PATH];
    DWORD cch = GetModuleFileNameA(nullptr, szModule, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH)
        return false;
    char* pszSlash = std::strrchr(szModule, '\\');
    if (pszSlash == nullptr)
        return false;
    *pszSlash = '\0';
    char szHelp[MAX_PATH];
    int n = std::snprintf(szHelp, sizeof(szHelp), "%s\\%s", pszDir, TANDREL_HELP_DIR);
    return n > 0 && n < MAX_PATH && SameFolder(szModule, szHelp);
}

bool HoldsInstallation(const char* pszDir)
{
    if (RunningFromHelpOf(pszDir))
        return true;
    char szProgram[MAX_PATH];
    char szHelp[MAX_PATH];
    int nProgram = std::snprintf(szProgram, sizeof(szProgram), "%s\\%s", pszDir, TANDREL_PROGRAM_FILE);
    int nHelp = std::snprintf(szHelp, sizeof(szHelp), "%s\\%s", pszDir, TANDREL_HELP_DIR);
    return nProgram > 0 && nProgram < MAX_PATH && nHelp > 0 && nHelp < MAX_PATH &&
           IsFile(szProgram) && IsDirectory(szHelp);
}

}  // namespace

bool ReadRecordedDirectory(char* pszDir, size_t cchDir)
{
    pszDir[0] = '\0';
    if (cchDir < MAX_PATH)
        return false;
    CRegKeyHolder key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    DWORD dwType = 0;
    DWORD cbDir = MAX_PATH;
    if (RegQueryValueExA(key.Get(), nullptr, nullptr, &dwType, reinterpret_cast<BYTE*>(pszDir),
                         &cbDir) != ERROR_SUCCESS ||
        dwType != REG_SZ) {
        pszDir[0] = '\0';
        return false;
    }
    // A value stored without its zero must still end inside the buffer.
    if (cbDir == MAX_PATH && pszDir[MAX_PATH - 1] != '\0') {
        pszDir[0] = '\0';
        return false;
    }
    pszDir[cbDir < MAX_PATH ? cbDir : MAX_PATH - 1] = '\0';
    return true;
}

bool CheckInstallDirectory(const char* pszDir, char* pszFull, size_t cchFull)
{
    pszFull[0] = '\0';
    if (pszDir == nullptr || !IsPlainAbsolutePath(pszDir))
        return false;
    char szFull[MAX_PATH];
    DWORD cch = GetFullPathNameA(pszDir, MAX_PATH, szFull, nullptr);
    if (cch == 0 || cch >= MAX_PATH || !IsPlainAbsolutePath(szFull))
        return false;
    while (cch > 0 && szFull[cch - 1] == '\\')
        szFull[--cch] = '\0';
    if (cch == 0 || IsRoot(szFull) || !IsDirectory(szFull) || IsSystemFolder(szFull) ||
        !HoldsInstallation(szFull))
        return false;
    int n = std::snprintf(pszFull, cchFull, "%s", szFull);
    if (n < 0 || static_cast<size_t>(n) >= cchFull) {
        pszFull[0] = '\0';
        return false;
    }
    return true;
}

bool FindInstallDirectory(char* pszDir, size_t cchDir)
{
    char szRecorded[MAX_PATH];
    return ReadRecordedDirectory(szRecorded, sizeof(szRecorded)) &&
           CheckInstallDirectory(szRecorded, pszDir, cchDir);
}
