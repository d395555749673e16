#include "TestEnv.h"

#include <cstdio>
#include <cstring>

#include "DefSetting.h"
#include "Holders.h"

#ifndef TANDREL_MEDIA_DIR
#error "the build passes the media folder"
#endif

std::string MediaPath(const char* pszName)
{
    std::string path = TANDREL_MEDIA_DIR;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return "Z:" + path + "\\" + pszName;
}

std::string HostPath(const char* pszUnixPath)
{
    std::string path = std::string("Z:") + pszUnixPath;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

std::string ScratchDir(const char* pszName)
{
    char szTemp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, szTemp);
    std::string dir = std::string(szTemp) + "tandrel-" + pszName;
    // Empty it from an earlier run.
    std::string pattern = dir + "\\*";
    WIN32_FIND_DATAA data;
    CFindHolder find(FindFirstFileA(pattern.c_str(), &data));
    if (find.IsValid()) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((dir + "\\" + data.cFileName).c_str());
        } while (FindNextFileA(find.Get(), &data));
    }
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir;
}

void DeleteSettingsKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, TANDREL_SETTINGS_KEY);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Vostrane\\Tandrel98");
}

void CreateSettingsKey()
{
    CRegKeyHolder key;
    RegCreateKeyA(HKEY_CURRENT_USER, TANDREL_SETTINGS_KEY, &key);
}

void WriteSettingsBytes(const std::vector<BYTE>& bytes, DWORD dwType)
{
    CRegKeyHolder key;
    RegCreateKeyA(HKEY_CURRENT_USER, TANDREL_SETTINGS_KEY, &key);
    RegSetValueExA(key.Get(), TANDREL_SETTINGS_VALUE, 0, dwType, bytes.data(),
                   static_cast<DWORD>(bytes.size()));
}

bool ReadSettingsBytes(std::vector<BYTE>* pBytes, DWORD* pdwType)
{
    CRegKeyHolder key;
    if (RegOpenKeyA(HKEY_CURRENT_USER, TANDREL_SETTINGS_KEY, &key) != ERROR_SUCCESS)
        return false;
    DWORD cb = 0, dwType = 0;
    if (RegQueryValueExA(key.Get(), TANDREL_SETTINGS_VALUE, nullptr, &dwType, nullptr, &cb) !=
        ERROR_SUCCESS)
        return false;
    pBytes->assign(cb, 0);
    if (RegQueryValueExA(key.Get(), TANDREL_SETTINGS_VALUE, nullptr, &dwType, pBytes->data(),
                         &cb) != ERROR_SUCCESS)
        return false;
    if (pdwType != nullptr)
        *pdwType = dwType;
    return true;
}

bool ReadStoredSettings(StoredSettings* pStored)
{
    std::vector<BYTE> bytes;
    if (!ReadSettingsBytes(&bytes) || bytes.size() != sizeof(*pStored))
        return false;
    memcpy(pStored, bytes.data(), sizeof(*pStored));
    return true;
}

bool SettingsKeyExists()
{
    CRegKeyHolder key;
    return RegOpenKeyA(HKEY_CURRENT_USER, TANDREL_SETTINGS_KEY, &key) == ERROR_SUCCESS;
}

std::vector<BYTE> ReadFileBytes(const std::string& path)
{
    std::vector<BYTE> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr)
        return bytes;
    BYTE buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
