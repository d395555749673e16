#include "RegistryRemoval.h"

#include "DefSetting.h"
#include "Holders.h"
#include "InstallLayout.h"

namespace {

enum RemovalKind { REMOVE_KEY, REMOVE_DEFAULT_VALUE };

struct RegistryEntry {
    HKEY hRoot;
    const char* pszPath;
    RemovalKind nKind;
};

// Deepest keys first, so that each key is empty when its turn comes; a parent that holds
// other programs' keys stays.
const RegistryEntry kMachineEntries[] = {
    {HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, REMOVE_KEY},
    {HKEY_LOCAL_MACHINE, TANDREL_VERSION_KEY, REMOVE_KEY},
    {HKEY_LOCAL_MACHINE, "Software\\Vostrane\\Tandrel98", REMOVE_KEY},
    {HKEY_LOCAL_MACHINE, "Software\\Vostrane", REMOVE_KEY},
    {HKEY_CLASSES_ROOT, ".mpg", REMOVE_DEFAULT_VALUE},
    {HKEY_CLASSES_ROOT, ".mpeg", REMOVE_DEFAULT_VALUE},
    {HKEY_CLASSES_ROOT, ".mp2", REMOVE_DEFAULT_VALUE},
    {HKEY_CLASSES_ROOT, ".mpa", REMOVE_DEFAULT_VALUE},
    {HKEY_CLASSES_ROOT, ".mpv", REMOVE_DEFAULT_VALUE},
    {HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE "\\DefaultIcon", REMOVE_KEY},
    {HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE "\\shell\\open\\command", REMOVE_KEY},
    {HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE "\\shell\\open", REMOVE_KEY},
    {HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE "\\shell", REMOVE_KEY},
    {HKEY_CLASSES_ROOT, TANDREL_FILE_TYPE, REMOVE_KEY},
    {HKEY_LOCAL_MACHINE, TANDREL_UNINSTALL_KEY, REMOVE_KEY},
    {HKEY_LOCAL_MACHINE, TANDREL_APP_PATHS_BASE "\\" TANDREL_PROGRAM_FILE, REMOVE_KEY},
};

const RegistryEntry kUserEntries[] = {
    {HKEY_CURRENT_USER, TANDREL_SETTINGS_KEY, REMOVE_KEY},
    {HKEY_CURRENT_USER, "Software\\Vostrane\\Tandrel98", REMOVE_KEY},
    {HKEY_CURRENT_USER, "Software\\Vostrane", REMOVE_KEY},
};

template <size_t N>
void RemoveEntries(const RegistryEntry (&entries)[N])
{
    for (const RegistryEntry& entry : entries) {
        if (entry.nKind == REMOVE_KEY)
            DeleteKey(entry.hRoot, entry.pszPath);
        else
            DeleteDefaultValue(entry.hRoot, entry.pszPath);
    }
}

}  // namespace

void DeleteKey(HKEY hRoot, const char* pszPath)
{
    CRegKeyHolder root;
    if (RegOpenKeyExA(hRoot, nullptr, 0, KEY_ALL_ACCESS, &root) != ERROR_SUCCESS)
        return;
    RegDeleteKeyA(root.Get(), pszPath);
}

void DeleteDefaultValue(HKEY hRoot, const char* pszPath)
{
    CRegKeyHolder key;
    if (RegOpenKeyA(hRoot, pszPath, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key.Get(), nullptr);
}

void RemoveRegistryEntries()
{
    RemoveEntries(kMachineEntries);
}

void RemoveUserSettings()
{
    RemoveEntries(kUserEntries);
}
