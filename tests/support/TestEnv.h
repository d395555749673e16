// Where the tests find their media, and direct access to the settings value.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The Windows path of a file generated into the build's media folder.
std::string MediaPath(const char* pszName);
// A fresh, empty folder for one test's files (under the system's temporary folder).
std::string ScratchDir(const char* pszName);

// Removes the player's settings key (and the empty keys above it that the tests made).
void DeleteSettingsKey();
// Creates the settings key without a value, as the installer leaves it before writing.
void CreateSettingsKey();
// Stores raw bytes as the settings value, of the given registry type.
void WriteSettingsBytes(const std::vector<BYTE>& bytes, DWORD dwType = REG_BINARY);
// The stored value's bytes; false when there is none.
bool ReadSettingsBytes(std::vector<BYTE>* pBytes, DWORD* pdwType = nullptr);
bool SettingsKeyExists();

std::vector<BYTE> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes);
bool FileExists(const std::string& path);
