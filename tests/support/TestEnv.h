// Where the tests find their media, and direct access to the settings value.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The Windows path of a file generated into the build's media folder.
std::string MediaPath(const char* pszName);
// The Windows path of a file of the host ("/usr/share/x" gives "Z:\\usr\\share\\x"): the
// real media that Debian packages install.
std::string HostPath(const char* pszUnixPath);
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

// The stored 56-byte settings record, field by field at its offsets.
struct StoredSettings {
    INT32 bLoop, bGroupLoop, bCaption, bThickFrame, nReserved, bMute, nStartPage, nPadding;
    double dRate;
    INT32 lVolume, lTreble, lBass, lBalance;
};
static_assert(sizeof(StoredSettings) == 56, "the record's layout");
// False when no value of exactly 56 bytes is stored.
bool ReadStoredSettings(StoredSettings* pStored);

std::vector<BYTE> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes);
bool FileExists(const std::string& path);

// The one bounded wait of the tests: pumps this thread's messages for up to
// dwMilliseconds, returning as soon as done() holds.
template <class F>
bool WaitFor(F done, DWORD dwMilliseconds)
{
    DWORD dwStart = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - dwStart >= dwMilliseconds)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(20);
    }
}
