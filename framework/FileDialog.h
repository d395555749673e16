// The platform's Open and Save dialogs, and the walk over a multiple selection.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

class CWnd;

// Where a walk over a collection stands; null when it is over.
typedef void* POSITION;

class CFileDialog {
public:
    // pszFilter: description|pattern pairs, each part ended by '|', the whole by "||".
    // A default extension is taken without a leading "*."; a wildcard one leaves the
    // extension to the chosen filter. The dialog always has the explorer style.
    explicit CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt = nullptr,
                         const char* pszFileName = nullptr, DWORD dwFlags = 0,
                         const char* pszFilter = nullptr, CWnd* pParentWnd = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;
    virtual ~CFileDialog() = default;

    // Shows the dialog modal to the parent window (the active window when there is none);
    // IDOK when files were chosen, else IDCANCEL. Anything but IDOK leaves the result
    // buffer as the last OK left it, also a choice too long for the buffer. After a
    // multiple selection the dialog starts in that selection's folder.
    virtual INT_PTR DoModal();

    // The chosen file's full path (with several files chosen, their folder).
    std::string GetPathName() const;
    // The first entry of the result, or null when the result is empty.
    POSITION GetStartPosition() const;
    // The full path at pos; moves pos to the next entry, or to null after the last.
    // Positions stay valid until the result buffer changes, and a copy of one yields
    // the same entry again.
    std::string GetNextPathName(POSITION& pos) const;

    // The caller may point lpstrFile/nMaxFile at its own buffer and set lpstrTitle.
    OPENFILENAMEA m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    std::string m_strDefExt;
    std::string m_strFilter;  // the parts NUL-separated, ended by two NULs
    char m_szFileName[MAX_PATH];
};
