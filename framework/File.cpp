#include "File.h"

#include <cstdio>

CFileException::CFileException(int nCause, LONG lOsError, const char* pszFileName)
    : m_cause(nCause), m_lOsError(lOsError), m_szFileName()
{
    if (pszFileName != nullptr)
        lstrcpynA(m_szFileName, pszFileName, MAX_PATH);
}

int CFileException::OsErrorToCause(LONG lOsError)
{
    switch (lOsError) {
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_ACCESS_DENIED: return accessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return sharingViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_szFileName() {}

CFile::CFile(const char* pszFileName, UINT nOpenFlags) : CFile()
{
    CFileException error(CFileException::none, 0, pszFileName);
    if (!Open(pszFileName, nOpenFlags, &error))
        throw error;
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
}

BOOL CFile::Open(const char* pszFileName, UINT nOpenFlags, CFileException* pError)
{
    Abort();
    if (pszFileName == nullptr || lstrlenA(pszFileName) >= MAX_PATH) {
        if (pError != nullptr)
            *pError = CFileException(CFileException::badPath, ERROR_FILENAME_EXCED_RANGE, pszFileName);
        return FALSE;
    }
    lstrcpynA(m_szFileName, pszFileName, MAX_PATH);

    DWORD dwAccess = GENERIC_READ;
    switch (nOpenFlags & 3) {
    case modeWrite: dwAccess = GENERIC_WRITE; break;
    case modeReadWrite: dwAccess = GENERIC_READ | GENERIC_WRITE; break;
    default: break;
    }
    DWORD dwShare = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite: dwShare = FILE_SHARE_READ; break;
    case shareDenyRead: dwShare = FILE_SHARE_WRITE; break;
    case shareDenyNone: dwShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE; break;
    default: break;
    }
    DWORD dwCreate = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        dwCreate = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    m_hFile = CreateFileA(pszFileName, dwAccess, dwShare, nullptr, dwCreate,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE) {
        LONG lError = static_cast<LONG>(GetLastError());
        if (pError != nullptr)
            *pError = CFileException(CFileException::OsErrorToCause(lError), lError, pszFileName);
        return FALSE;
    }
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    DWORD dwRead = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &dwRead, nullptr))
        ThrowLastError();
    return dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    DWORD dwWritten = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &dwWritten, nullptr))
        ThrowLastError();
    if (dwWritten != nCount)
        throw CFileException(CFileException::diskFull, ERROR_DISK_FULL, m_szFileName);
}

void CFile::Close()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        BOOL bClosed = CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
        if (!bClosed)
            ThrowLastError();
    }
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hFile);
        m_hFile = INVALID_HANDLE_VALUE;
    }
}

void CFile::ThrowLastError() const
{
    LONG lError = static_cast<LONG>(GetLastError());
    throw CFileException(CFileException::OsErrorToCause(lError), lError, m_szFileName);
}
