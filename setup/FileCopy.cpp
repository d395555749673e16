#include "FileCopy.h"

#include <windows.h>

#include <cstdio>

#include "Holders.h"

namespace {
const DWORD kCopyBlock = 4096;
}

bool CopyOneFile(const char* pszSource, const char* pszTarget)
{
    CHandleHolder source(CreateFileA(pszSource, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!source.IsValid())
        return false;
    CHandleHolder target(CreateFileA(pszTarget, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE, nullptr));
    if (!target.IsValid())
        return false;

    BYTE buffer[kCopyBlock];
    bool bComplete = true;
    for (;;) {
        DWORD cbRead = 0;
        if (!ReadFile(source.Get(), buffer, kCopyBlock, &cbRead, nullptr)) {
            bComplete = false;
            break;
        }
        if (cbRead == 0)
            break;
        DWORD cbWritten = 0;
        if (!WriteFile(target.Get(), buffer, cbRead, &cbWritten, nullptr) ||
            cbWritten != cbRead) {
            bComplete = false;
            break;
        }
    }
    target.Close();
    source.Close();
    // A cut-off copy would pass for the real file: leave none.
    if (!bComplete)
        DeleteFileA(pszTarget);
    return bComplete;
}

bool InstallFile(const char* pszTargetDir, const char* pszSourceDir, const char* pszName)
{
    char szTarget[MAX_PATH];
    char szSource[MAX_PATH];
    int nTarget = std::snprintf(szTarget, sizeof(szTarget), "%s\\%s", pszTargetDir, pszName);
    int nSource = std::snprintf(szSource, sizeof(szSource), "%s\\%s", pszSourceDir, pszName);
    if (nTarget < 0 || nTarget >= MAX_PATH || nSource < 0 || nSource >= MAX_PATH)
        return false;
    return CopyOneFile(szSource, szTarget);
}
