#include "CleanupBatch.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

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

bool WriteBatchFile(const char* pszPath, const std::string& text)
{
    // Text mode: each line ends in a carriage return and a line feed.
    FILE* pFile = std::fopen(pszPath, "w");
    if (pFile == nullptr)
        return false;
    bool bWritten = std::fwrite(text.data(), 1, text.size(), pFile) == text.size();
    return std::fclose(pFile) == 0 && bWritten;
}

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
                               const char* pszTempDir)
{
    const std::string temp = QuoteForBatch(pszTempDir);
    const std::string batch = QuoteForBatch((std::string(pszTempDir) + "\\Tandrel98.bat").c_str());
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

bool GetCleanupBatchPath(char* pszPath, size_t cchPath)
{
    char szTemp[MAX_PATH];
    if (!GetTempDirectory(szTemp, sizeof(szTemp)))
        return false;
    int n = std::snprintf(pszPath, cchPath, "%s\\Tandrel98.bat", szTemp);
    return n > 0 && static_cast<size_t>(n) < cchPath;
}

bool CleanupBatchOemText(const char* pszInstallDir, const char* pszDesktopLink,
                         const char* pszTempDir, std::string* pOem)
{
    // Null and empty both mean that no installation is known.
    if (pszInstallDir == nullptr)
        pszInstallDir = "";
    if (ToOemText(FormatCleanupBatch(pszInstallDir, pszDesktopLink, pszTempDir), pOem))
        return true;
    std::string installDir = pszInstallDir[0] != '\0' ? ShortPath(pszInstallDir) : "";
    std::string desktop = ShortPath(pszDesktopLink);
    std::string temp = ShortPath(pszTempDir);
    return ToOemText(FormatCleanupBatch(installDir.c_str(), desktop.c_str(), temp.c_str()), pOem);
}

void WriteCleanupBatch(const char* pszInstallDir)
{
    char szDesktopLink[MAX_PATH];
    char szTemp[MAX_PATH];
    char szBatch[MAX_PATH];
    if (!GetDesktopShortcutPath(szDesktopLink, sizeof(szDesktopLink)) ||
        !GetTempDirectory(szTemp, sizeof(szTemp)) || !GetCleanupBatchPath(szBatch, sizeof(szBatch)))
        return;

    std::string oem;
    if (!CleanupBatchOemText(pszInstallDir, szDesktopLink, szTemp, &oem))
        return;
    // The batch file starts in the temporary directory, not in this program's current one:
    // started from the Help folder, that folder would be the interpreter's own until its
    // end, and neither it nor the install directory could be removed.
    if (WriteBatchFile(szBatch, oem))
        ShellExecuteA(nullptr, nullptr, szBatch, "", szTemp, SW_HIDE);
}
