// A document: the data a program works on, with its title and path, emptied, opened
// and saved through the virtual hooks below.
#pragma once

#include <windows.h>

#include "CmdTarget.h"

class CArchive;
class CFileException;

class CDocument : public CCmdTarget {
public:
    CDocument();
    ~CDocument() override;

    const char* GetTitle() const { return m_szTitle; }
    // Sets the title shown for the document.
    virtual void SetTitle(const char* pszTitle);
    const char* GetPathName() const { return m_szPathName; }
    virtual void SetPathName(const char* pszPathName);

    // Whether the document has unsaved changes.
    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    // Empties the document; called before it is reused and when it closes.
    virtual void DeleteContents();
    // Starts an empty document; returns FALSE to refuse.
    virtual BOOL OnNewDocument();
    // Loads the document from pszPathName through Serialize; returns FALSE on failure.
    virtual BOOL OnOpenDocument(const char* pszPathName);
    // Stores the document in pszPathName through Serialize. The file appears only when
    // the whole document was written: a failure leaves no file (and an existing one as it
    // was), is reported to the user and returns FALSE.
    virtual BOOL OnSaveDocument(const char* pszPathName);
    // Reads or writes the document's data through the archive; throws on failure.
    virtual void Serialize(CArchive& ar);

protected:
    // Tells the user that a save or load failed.
    virtual void ReportSaveLoadException(const char* pszPathName, const CFileException* pError,
                                         BOOL bSaving, UINT nIDPDefault);

    char m_szTitle[MAX_PATH];
    char m_szPathName[MAX_PATH];
    BOOL m_bModified;
};
