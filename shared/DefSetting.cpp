#include "DefSetting.h"

#include "Holders.h"

CDefSetting::CDefSetting() : m_Record(), m_cbRecord(sizeof(DEFSETTING_RECORD)) {}

BOOL CDefSetting::Read(const char* pszKey, const char* pszValue)
{
    CRegKeyHolder key;
    RegOpenKeyA(HKEY_CURRENT_USER, pszKey, &key);

    DWORD cbRead = m_cbRecord;
    LONG lResult = RegQueryValueExA(key.Get(), pszValue, nullptr, nullptr,
                                    reinterpret_cast<BYTE*>(&m_Record), &cbRead);
    // A shorter value would leave the rest of the record undefined: treat it as missing.
    return lResult == ERROR_SUCCESS && cbRead == m_cbRecord;
}

BOOL CDefSetting::Write(const char* pszKey, const char* pszValue)
{
    CRegKeyHolder key;
#ifdef TANDREL_SETTINGS_CREATE_KEY
    if (RegCreateKeyA(HKEY_CURRENT_USER, pszKey, &key) != ERROR_SUCCESS)
        return FALSE;
#else
    if (RegOpenKeyA(HKEY_CURRENT_USER, pszKey, &key) != ERROR_SUCCESS)
        return FALSE;
#endif
    m_Record.nReserved = 0;
    m_Record.nPadding = 0;
    return RegSetValueExA(key.Get(), pszValue, 0, REG_BINARY,
                          reinterpret_cast<const BYTE*>(&m_Record), m_cbRecord) == ERROR_SUCCESS;
}

void CDefSetting::SetDefaults()
{
    m_Record = DEFSETTING_RECORD();
    m_Record.bCaption = 1;
    m_Record.bThickFrame = 1;
    m_Record.dRate = 1.0;
    m_Record.lVolume = -1000;
}
