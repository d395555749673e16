#include "Document.h"

#include "AfxRes.h"
#include "Archive.h"
#include "File.h"
#include "MessageBox.h"

CDocument::CDocument() : m_szTitle(), m_szPathName(), m_bModified(FALSE) {}

CDocument::~CDocument() = default;

void CDocument::SetTitle(const char* pszTitle)
{
    lstrcpynA(m_szTitle, pszTitle != nullptr ? pszTitle : "", MAX_PATH);
}

void CDocument::SetPathName(const char* pszPathName)
{
    lstrcpynA(m_szPathName, pszPathName != nullptr ? pszPathName : "", MAX_PATH);
}

BOOL CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL bModified)
{
    m_bModified = bModified;
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_szPathName[0] = '\0';
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* pszPathName)
{
    CFile file;
    CFileException error(CFileException::none, 0, pszPathName);
    if (!file.Open(pszPathName, CFile::modeRead | CFile::shareDenyWrite, &error)) {
        ReportSaveLoadException(pszPathName, &error, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    DeleteContents();
    try {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
        file.Close();
    } catch (const CFileException& e) {
        file.Abort();
        DeleteContents();
        ReportSaveLoadException(pszPathName, &e, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

namespace {

// The directory part of pszPath, without the trailing separator ("." when there is none).
void DirectoryOf(const char* pszPath, char* pszDir, int cchDir)
{
    int nCut = -1;
    for (int i = 0; pszPath[i] != '\0'; ++i) {
        if (pszPath[i] == '\\' || pszPath[i] == '/' || pszPath[i] == ':')
            nCut = (pszPath[i] == ':') ? i + 1 : i;
    }
    if (nCut < 0) {
        lstrcpynA(pszDir, ".", cchDir);
        return;
    }
    if (nCut == 0 || pszPath[nCut - 1] == ':')
        ++nCut;  // keep the root's separator: "C:\" or "\"
    lstrcpynA(pszDir, pszPath, nCut + 1 < cchDir ? nCut + 1 : cchDir);
}

}  // namespace

BOOL CDocument::OnSaveDocument(const char* pszPathName)
{
    // Write beside the target under a temporary name and put it in place only when
    // everything was written, so that a failure never leaves a partial file.
    char szDir[MAX_PATH] = "";
    char szTemp[MAX_PATH] = "";
    DirectoryOf(pszPathName != nullptr ? pszPathName : "", szDir, MAX_PATH);
    if (pszPathName == nullptr || lstrlenA(pszPathName) >= MAX_PATH ||
        GetTempFileNameA(szDir, "tnd", 0, szTemp) == 0) {
        CFileException error(CFileException::badPath, static_cast<LONG>(GetLastError()),
                             pszPathName);
        ReportSaveLoadException(pszPathName, &error, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }

    try {
        CFile file(szTemp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
        CArchive ar(&file, CArchive::store);
        Serialize(ar);
        file.Close();
        if (!MoveFileExA(szTemp, pszPathName, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
            LONG lError = static_cast<LONG>(GetLastError());
            throw CFileException(CFileException::OsErrorToCause(lError), lError, pszPathName);
        }
    } catch (const CFileException& e) {
        DeleteFileA(szTemp);
        ReportSaveLoadException(pszPathName, &e, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::Serialize(CArchive&) {}

void CDocument::ReportSaveLoadException(const char*, const CFileException*, BOOL, UINT nIDPDefault)
{
    AfxMessageBox(nIDPDefault, MB_OK | MB_ICONEXCLAMATION);
}
