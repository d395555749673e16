#include "Registration.h"

#include <cstdio>
#include <cstring>

#include "DefSetting.h"
#include "Holders.h"

namespace {

// Room for a quoted path and the arguments that follow it.
const size_t kMaxCommand = MAX_PATH + 16;

// Creates or opens a key; true when the registry says it did either.
bool CreateKey(HKEY hRoot, const char* pszKey, CRegKeyHolder& key)
{
    DWORD dwDisposition = 0;
    if (RegCreateKeyExA(hRoot, pszKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, &dwDisposition) != ERROR_SUCCESS)
        return false;
    return dwDisposition == REG_CREATED_NEW_KEY || dwDisposition == REG_OPENED_EXISTING_KEY;
}

void SetText(HKEY hKey, const char* pszValue, const char* pszText)
{
    RegSetValueExA(hKey, pszValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszText),
                   static_cast<DWORD>(std::strlen(pszText) + 1));
}

// snprintf that reports whether the whole text fitted: a cut path is never written.
template <size_t N, class... Args>
bool Format(char (&szOut)[N], const char* pszFormat, Args... args)
{
    int n = std::snprintf(szOut, N, pszFormat, args...);
    return n >= 0 && static_cast<size_t>(n) < N;
}

}  // namespace

void SetKeyDefault(HKEY hRoot, const char* pszKey, const char* pszText)
{
    CRegKeyHolder key;
    if (CreateKey(hRoot, pszKey, key))
        SetText(key.Get(), nullptr, pszText);
}

void RegisterAppPath(const char* pszInstallDir, const char* pszBaseKey, const char* pszProgram)
{
    char szPath[MAX_PATH];
    char szKey[MAX_PATH];
    if (Format(szPath, "%s\\%s", pszInstallDir, pszProgram) &&
        Format(szKey, "%s\\%s", pszBaseKey, pszProgram))
        SetKeyDefault(HKEY_LOCAL_MACHINE, szKey, szPath);
}

void RegisterExtension(const char* pszExtension, const char* pszFileType)
{
    SetKeyDefault(HKEY_CLASSES_ROOT, pszExtension, pszFileType);
}

void RegisterFileType(const char* pszFileType, const char* pszDescription,
                      const char* pszPlayerPath)
{
    CRegKeyHolder type;
    if (!CreateKey(HKEY_CLASSES_ROOT, pszFileType, type))
        return;
    SetText(type.Get(), nullptr, pszDescription);

    // Quoted, so that a path with spaces can't start a program named after its first word.
    char szCommand[kMaxCommand];
    if (Format(szCommand, "\"%s\" %%1", pszPlayerPath)) {
        CRegKeyHolder command;
        if (CreateKey(type.Get(), "shell\\open\\command", command))
            SetText(command.Get(), nullptr, szCommand);
    }
    char szIcon[kMaxCommand];
    if (Format(szIcon, "%s,0", pszPlayerPath)) {
        CRegKeyHolder icon;
        if (CreateKey(type.Get(), "DefaultIcon", icon))
            SetText(icon.Get(), nullptr, szIcon);
    }
}

void RegisterUninstallEntry(const char* pszKey, const char* pszInstallDir,
                            const char* pszDisplayName)
{
    CRegKeyHolder key;
    if (!CreateKey(HKEY_LOCAL_MACHINE, pszKey, key))
        return;
    SetText(key.Get(), "DisplayName", pszDisplayName);
    char szCommand[kMaxCommand];
    if (Format(szCommand, "\"%s\\Help\\uninstall.exe\"", pszInstallDir))
        SetText(key.Get(), "UninstallString", szCommand);
}

bool WriteDefaultSettings()
{
    CDefSetting setting;
    setting.SetDefaults();
    return setting.Write(TANDREL_SETTINGS_KEY, TANDREL_SETTINGS_VALUE) != FALSE;
}
