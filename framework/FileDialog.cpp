#include "FileDialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "ModalScope.h"
#include "Wnd.h"

namespace {

// dir and name joined by one separator, also when dir is a drive root.
std::string JoinPath(const std::string& dir, const std::string& name)
{
    if (dir.empty())
        return name;
    const char* pBegin = dir.c_str();
    const char* pEnd = pBegin + dir.size();
    // The last character, not the last byte: a double-byte character may end in 0x5C.
    const char* pLast = CharPrevA(pBegin, pEnd);
    if (pEnd - pLast == 1 && (*pLast == '\\' || *pLast == '/'))
        return dir + name;
    return dir + '\\' + name;
}

// Whether the result in the buffer is complete: a full path, or a folder and names, whose
// terminator (two NULs for a multiple selection) lies inside the buffer.
bool IsResultComplete(const char* pBuffer, DWORD nMax, bool bMultiple)
{
    const char* pEnd = pBuffer + nMax;
    const char* pNul = std::find(pBuffer, pEnd, '\0');
    if (!bMultiple)
        return pNul != pEnd;
    const char terminator[2] = {'\0', '\0'};
    return std::search(pBuffer, pEnd, terminator, terminator + 2) != pEnd;
}

// Whether the buffer holds a folder followed by names, all inside the buffer.
bool IsMultipleResult(const char* pBuffer, DWORD nMax)
{
    if (pBuffer == nullptr || nMax < 2 || pBuffer[0] == '\0')
        return false;
    const char* pEnd = pBuffer + nMax;
    const char* pFolderEnd = std::find(pBuffer, pEnd, '\0');
    return pFolderEnd != pEnd && pFolderEnd + 1 < pEnd && pFolderEnd[1] != '\0' &&
           IsResultComplete(pBuffer, nMax, true);
}

}  // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* pszDefExt, const char* pszFileName,
                         DWORD dwFlags, const char* pszFilter, CWnd* pParentWnd)
    : m_ofn(), m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_szFileName()
{
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    if (pszFileName != nullptr)
        lstrcpynA(m_szFileName, pszFileName, MAX_PATH);

    // The platform wants a bare extension; a pattern such as "*.mpg" would be appended
    // as it stands. A wildcard leaves the extension to the chosen filter.
    if (pszDefExt != nullptr) {
        const char* p = pszDefExt;
        if (*p == '*')
            ++p;
        if (*p == '.')
            ++p;
        m_strDefExt = p;
        if (m_strDefExt.find_first_of("*?") != std::string::npos)
            m_strDefExt.clear();
        m_ofn.lpstrDefExt = m_strDefExt.c_str();
    }

    if (pszFilter != nullptr) {
        m_strFilter = pszFilter;
        for (size_t i = 0; i < m_strFilter.size(); ++i) {
            if (IsDBCSLeadByte(static_cast<BYTE>(m_strFilter[i])))
                ++i;  // its trail byte may look like '|'
            else if (m_strFilter[i] == '|')
                m_strFilter[i] = '\0';
        }
        // With the string's own terminator, two NULs end the list.
        m_strFilter.push_back('\0');
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

INT_PTR CFileDialog::DoModal()
{
    CModalScope scope;
    m_ofn.hwndOwner = scope.GetOwner();

    // A choice that does not fit the buffer either fails, with the length it needed
    // written over the buffer's start, or comes back cut short; either way the buffer
    // gets back what the last OK left in it, which callers may still be walking.
    std::vector<char> previous;
    if (m_ofn.lpstrFile != nullptr)
        previous.assign(m_ofn.lpstrFile, m_ofn.lpstrFile + m_ofn.nMaxFile);

    // A previous multiple selection would be read as a file name (its folder); start in
    // its folder instead, with an empty name.
    const char* pszInitialDir = m_ofn.lpstrInitialDir;
    std::string folder;
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) && IsMultipleResult(m_ofn.lpstrFile, m_ofn.nMaxFile)) {
        folder = m_ofn.lpstrFile;
        m_ofn.lpstrInitialDir = folder.c_str();
        m_ofn.lpstrFile[0] = '\0';
    }

    BOOL bChosen = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    m_ofn.lpstrInitialDir = pszInitialDir;
    if (bChosen && m_ofn.lpstrFile != nullptr &&
        IsResultComplete(m_ofn.lpstrFile, m_ofn.nMaxFile,
                         (m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0))
        return IDOK;
    if (!previous.empty())
        std::memcpy(m_ofn.lpstrFile, previous.data(), previous.size());
    return IDCANCEL;
}

std::string CFileDialog::GetPathName() const
{
    if (m_ofn.lpstrFile == nullptr)
        return std::string();
    const char* pBegin = m_ofn.lpstrFile;
    return std::string(pBegin, std::find(pBegin, pBegin + m_ofn.nMaxFile, '\0'));
}

POSITION CFileDialog::GetStartPosition() const
{
    if (m_ofn.lpstrFile == nullptr || m_ofn.nMaxFile == 0 || m_ofn.lpstrFile[0] == '\0')
        return nullptr;
    return m_ofn.lpstrFile;
}

// The result is "folder NUL name NUL ... name NUL NUL", or one full path and NUL when a
// single file was chosen. Nothing is read past nMaxFile, and an entry the buffer cuts
// off before its NUL is not returned.
std::string CFileDialog::GetNextPathName(POSITION& pos) const
{
    char* const pBuffer = m_ofn.lpstrFile;
    const char* p = static_cast<const char*>(pos);
    pos = nullptr;
    if (pBuffer == nullptr || p < pBuffer || p >= pBuffer + m_ofn.nMaxFile)
        return std::string();
    const char* const pEnd = pBuffer + m_ofn.nMaxFile;

    const char* pFolderEnd = std::find(static_cast<const char*>(pBuffer), pEnd, '\0');
    if (pFolderEnd == pEnd || (p != pBuffer && p <= pFolderEnd))
        return std::string();
    std::string folder(static_cast<const char*>(pBuffer), pFolderEnd);
    if (p == pBuffer) {
        // A single path, or the folder of several names.
        if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT) || pFolderEnd + 1 == pEnd ||
            pFolderEnd[1] == '\0')
            return folder;
        p = pFolderEnd + 1;
    }

    const char* pNameEnd = std::find(p, pEnd, '\0');
    if (pNameEnd == pEnd)
        return std::string();
    std::string name(p, pNameEnd);
    const char* pNext = pNameEnd + 1;
    if (pNext < pEnd && *pNext != '\0' && std::find(pNext, pEnd, '\0') != pEnd)
        pos = pBuffer + (pNext - pBuffer);
    return JoinPath(folder, name);
}
