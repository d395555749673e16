// A file on disk, opened with the framework's mode flags. Reads and writes throw
// CFileException on failure; Open reports through its return value.
#pragma once

#include <windows.h>

class CFileException {
public:
    enum { none, genericException, fileNotFound, badPath, accessDenied, sharingViolation,
           diskFull, endOfFile };

    CFileException(int nCause, LONG lOsError, const char* pszFileName);

    int m_cause;
    LONG m_lOsError;
    char m_szFileName[MAX_PATH];

    static int OsErrorToCause(LONG lOsError);
};

class CFile {
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
    };

    CFile();
    // Opens the file or throws CFileException.
    CFile(const char* pszFileName, UINT nOpenFlags);
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens the file; on failure fills *pError (when given) and returns FALSE.
    BOOL Open(const char* pszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Reads up to nCount bytes; returns how many were read (0 at the end of the file).
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Writes all nCount bytes or throws.
    virtual void Write(const void* lpBuf, UINT nCount);
    void Close();
    // Closes without throwing; used on failure paths.
    void Abort();

    const char* GetFilePath() const { return m_szFileName; }
    HANDLE GetHandle() const { return m_hFile; }

protected:
    [[noreturn]] void ThrowLastError() const;

    HANDLE m_hFile;
    char m_szFileName[MAX_PATH];
};
