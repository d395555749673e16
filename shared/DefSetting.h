// The player's preferences as one 56-byte binary registry value, and the holder that moves
// it between a buffer and the registry. Compiled into the player and into the installer;
// the installer's build defines TANDREL_SETTINGS_CREATE_KEY so that Write creates the key.
#pragma once

#include <windows.h>

#include <cstddef>

#define TANDREL_SETTINGS_KEY "Software\\Vostrane\\Tandrel98\\Settings"
#define TANDREL_SETTINGS_VALUE "DefSetting"

// The stored layout: 32-bit little-endian integers and an IEEE double, 56 bytes.
struct alignas(8) DEFSETTING_RECORD {
    INT32 bLoop;
    INT32 bGroupLoop;
    INT32 bCaption;
    INT32 bThickFrame;
    INT32 nReserved;  // never read; written as zero
    INT32 bMute;
    INT32 nStartPage;
    INT32 nPadding;   // aligns the rate; written as zero
    double dRate;
    INT32 lVolume;
    INT32 lTreble;
    INT32 lBass;
    INT32 lBalance;
};

static_assert(sizeof(DEFSETTING_RECORD) == 56, "the settings value is 56 bytes");
static_assert(alignof(DEFSETTING_RECORD) == 8, "the record aligns its double alike in both builds");
static_assert(offsetof(DEFSETTING_RECORD, bLoop) == 0, "layout");
static_assert(offsetof(DEFSETTING_RECORD, bGroupLoop) == 4, "layout");
static_assert(offsetof(DEFSETTING_RECORD, bCaption) == 8, "layout");
static_assert(offsetof(DEFSETTING_RECORD, bThickFrame) == 12, "layout");
static_assert(offsetof(DEFSETTING_RECORD, nReserved) == 16, "layout");
static_assert(offsetof(DEFSETTING_RECORD, bMute) == 20, "layout");
static_assert(offsetof(DEFSETTING_RECORD, nStartPage) == 24, "layout");
static_assert(offsetof(DEFSETTING_RECORD, nPadding) == 28, "layout");
static_assert(offsetof(DEFSETTING_RECORD, dRate) == 32, "layout");
static_assert(offsetof(DEFSETTING_RECORD, lVolume) == 40, "layout");
static_assert(offsetof(DEFSETTING_RECORD, lTreble) == 44, "layout");
static_assert(offsetof(DEFSETTING_RECORD, lBass) == 48, "layout");
static_assert(offsetof(DEFSETTING_RECORD, lBalance) == 52, "layout");

class CDefSetting {
public:
    // The record starts zeroed; the owner fills it, or Read does.
    CDefSetting();
    virtual ~CDefSetting() = default;
    CDefSetting(const CDefSetting&) = delete;
    CDefSetting& operator=(const CDefSetting&) = delete;

    // Reads the value under HKEY_CURRENT_USER into the record. TRUE only when a value of
    // exactly the record's size was read; anything else leaves the record meaningless.
    BOOL Read(const char* pszKey, const char* pszValue);
    // Writes the record as REG_BINARY. The player's build writes only into an existing key;
    // the installer's creates it. TRUE only when the value was stored.
    BOOL Write(const char* pszKey, const char* pszValue);

    // The record with the defaults a new user starts with.
    void SetDefaults();

    DEFSETTING_RECORD m_Record;
    DWORD m_cbRecord;
};
