#include "CleanupBatch.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "Holders.h"
#include "InstallLayout.h"
#include "ShellFolders.h"

namespace {

bool GetTempDirectory(char* pszDir, size_t cchDir)
{
    DWORD cch = GetTempPathA(static_cast<DWORD>(cchDir), pszDir);
    return cch != 0 && cch < cchDir;
}

// The short form of an existing path (or the path itself when it has none), which keeps
// to characters the OEM code page has where the long one may not.
std::string ShortPath(const char* pszPath)
{
    char szShort[MAX_PATH];
    DWORD cch = GetShortPathNameA(pszPath, szShort, MAX_PATH);
    if (cch == 0 || cch >= MAX_PATH)
        return pszPath;
    return szShort;
}

// Each line ends in a carriage return and a line feed.
bool WriteBatchFile(HANDLE hFile, const std::string& text)
{
    std::string lines;
    for (char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    DWORD cbWritten = 0;
    return WriteFile(hFile, lines.data(), static_cast<DWORD>(lines.size()), &cbWritten, nullptr) &&
           cbWritten == lines.size();
}

// How many uninstalls' batch files may wait at the same time.
const int kBatchNames = 100;

}  // namespace

std::string QuoteForBatch(const char* pszPath)
{
    std::string quoted = "\"";
    for (const char* p = pszPath; *p != '\0'; ++p) {
        quoted += *p;
        if (*p == '%')
            quoted += '%';
    }
    return quoted + "\"";
}

std::string FormatCleanupBatch(const char* pszInstallDir, const char* pszDesktopLink,
                               const char* pszTempDir, const char* pszBatchPath)
{
    const std::string temp = QuoteForBatch(pszTempDir);
    const std::string batch = QuoteForBatch(pszBatchPath);
    // Start outside the installation, whichever folder the batch file was started in, so
    // that no folder to be removed is the current one.
    std::string text = "cd /d " + temp + " \n";
    bool bInstallDir = pszInstallDir != nullptr && pszInstallDir[0] != '\0';
    if (bInstallDir) {
        std::string installDir = pszInstallDir;
        std::string helpDir = installDir + "\\" TANDREL_HELP_DIR;
        std::string uninstaller = QuoteForBatch((helpDir + "\\Uninstall.exe").c_str());
        // The uninstaller's file can be deleted once its process has ended; a file that
        // stays (read-only, held open) is given up after kCleanupTries tries.
        text += "set tries=0\n";
        text += ":tryagain\n";
        text += "del " + uninstaller + "\n";
        text += "if not exist " + uninstaller + " goto removed\n";
        text += "set /a tries=tries+1\n";
        text += "if %tries% geq " + std::to_string(kCleanupTries) + " goto removed\n";
        text += "ping -n 2 127.0.0.1 >nul\n";
        text += "goto tryagain\n";
        text += ":removed\n";
        text += "del " + QuoteForBatch(pszDesktopLink) + "\n";
        text += "rmdir " + QuoteForBatch(helpDir.c_str()) + "\n";
        text += "rmdir " + QuoteForBatch(installDir.c_str()) + "\n";
    } else {
        text += "del " + QuoteForBatch(pszDesktopLink) + "\n";
    }
    text += "del " + batch + "\n";
    return text;
}

bool ToOemText(const std::string& text, std::string* pOem)
{
    pOem->clear();
    if (text.empty())
        return true;
    int cchWide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(),
                                      static_cast<int>(text.size()), nullptr, 0);
    if (cchWide <= 0)
        return false;
    std::vector<WCHAR> wide(cchWide);
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                        wide.data(), cchWide);
    BOOL bDefaultUsed = FALSE;
    int cbOem = WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), cchWide, nullptr,
                                    0, nullptr, &bDefaultUsed);
    if (cbOem <= 0 || bDefaultUsed)
        return false;
    pOem->assign(cbOem, '\0');
    WideCharToMultiByte(CP_OEMCP, WC_NO_BEST_FIT_CHARS, wide.data(), cchWide, &(*pOem)[0], cbOem,
                        nullptr, &bDefaultUsed);
    return !bDefaultUsed;
}

HANDLE CreateCleanupBatchFile(const char* pszTempDir, char* pszPath, size_t cchPath)
{
    for (int i = 1; i <= kBatchNames; ++i) {
        int n = i == 1 ? std::snprintf(pszPath, cchPath, "%s\\Tandrel98.bat", pszTempDir)
                       : std::snprintf(pszPath, cchPath, "%s\\Tandrel98-%d.bat", pszTempDir, i);
        if (n < 0 || static_cast<size_t>(n) >= cchPath)
            break;
        // A batch file left from an ended uninstall goes; one still running holds its
        // file, which then stays, and the next name is tried.
        DeleteFileA(pszPath);
        HANDLE hFile = CreateFileA(pszPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (hFile != INVALID_HANDLE_VALUE)
            return hFile;
    }
    pszPath[0] = '\0';
    return INVALID_HANDLE_VALUE;
}

bool CleanupBatchOemText(const char* pszInstallDir, const char* pszDesktopLink,
                         const char* pszTempDir, const char* pszBatchPath, std::string* pOem)
{
    // Null and empty both mean that no installation is known.
    if (pszInstallDir == nullptr)
        pszInstallDir = "";
    if (ToOemText(FormatCleanupBatch(pszInstallDir, pszDesktopLink, pszTempDir, pszBatchPath),
                  pOem))
        return true;
    std::string installDir = pszInstallDir[0] != '\0' ? ShortPath(pszInstallDir) : "";
    std::string desktop = ShortPath(pszDesktopLink);
    std::string temp = ShortPath(pszTempDir);
    std::string batch = ShortPath(pszBatchPath);
    return ToOemText(
        FormatCleanupBatch(installDir.c_str(), desktop.c_str(), temp.c_str(), batch.c_str()), pOem);
}

void WriteCleanupBatch(const char* pszInstallDir)
{
    char szDesktopLink[MAX_PATH];
    char szTemp[MAX_PATH];
    if (!GetDesktopShortcutPath(szDesktopLink, sizeof(szDesktopLink)) ||
        !GetTempDirectory(szTemp, sizeof(szTemp)))
        return;

    char szBatch[MAX_PATH];
    CHandleHolder file(CreateCleanupBatchFile(szTemp, szBatch, sizeof(szBatch)));
    if (!file.IsValid())
        return;
    std::string oem;
    bool bWritten = CleanupBatchOemText(pszInstallDir, szDesktopLink, szTemp, szBatch, &oem) &&
                    WriteBatchFile(file.Get(), oem);
    file.Close();
    // A batch file that would name a wrong folder, or is cut short, is not run.
    if (!bWritten) {
        DeleteFileA(szBatch);
        return;
    }
    // The batch file starts in the temporary directory, not in this program's current one:
    // started from the Help folder, that folder would be the interpreter's own until its
    // end, and neither it nor the install directory could be removed.
    ShellExecuteA(nullptr, nullptr, szBatch, "", szTemp, SW_HIDE);
}
