#include "CleanupBatch.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "InstallLayout.h"
#include "ShellFolders.h"

namespace {

const char kUninstallFile[] = "Uninstall.exe";

bool GetTempDirectory(char* pszDir, size_t cchDir)
{
    DWORD cch = GetTempPathA(static_cast<DWORD>(cchDir), pszDir);
    return cch != 0 && cch < cchDir;
}

}  // namespace

std::string FormatCleanupBatch(const char* pszInstallDir, const char* pszDesktopLink,
                               const char* pszTempDir)
{
    bool bInstallDir = pszInstallDir != nullptr && pszInstallDir[0] != '\0';
    std::string text;
    if (bInstallDir)
        text += std::string("cd \"") + pszInstallDir + "\\" TANDREL_HELP_DIR "\" \n";
    text += ":tryagain\n";
    text += std::string("del ") + kUninstallFile + "\n";
    text += std::string("del ") + pszDesktopLink + "\n";
    text += std::string("if exist ") + kUninstallFile + " goto tryagain\n";
    // No process can remove the folder it stands in: leave "Help" first, then remove it
    // and the install directory by name (each only when empty).
    text += std::string("cd \"") + pszTempDir + "\" \n";
    if (bInstallDir) {
        text += std::string("rmdir \"") + pszInstallDir + "\\" TANDREL_HELP_DIR "\"\n";
        text += std::string("rmdir \"") + pszInstallDir + "\"\n";
    }
    text += std::string("del ") + pszTempDir + "\\Tandrel98.bat\n";
    return text;
}

bool GetCleanupBatchPath(char* pszPath, size_t cchPath)
{
    char szTemp[MAX_PATH];
    if (!GetTempDirectory(szTemp, sizeof(szTemp)))
        return false;
    int n = std::snprintf(pszPath, cchPath, "%s\\Tandrel98.bat", szTemp);
    return n > 0 && static_cast<size_t>(n) < cchPath;
}

void WriteCleanupBatch(const char* pszInstallDir)
{
    char szDesktopLink[MAX_PATH];
    char szTemp[MAX_PATH];
    char szBatch[MAX_PATH];
    if (!GetDesktopShortcutPath(szDesktopLink, sizeof(szDesktopLink)) ||
        !GetTempDirectory(szTemp, sizeof(szTemp)) || !GetCleanupBatchPath(szBatch, sizeof(szBatch)))
        return;

    std::string text = FormatCleanupBatch(pszInstallDir, szDesktopLink, szTemp);
    // Text mode: each line ends in a carriage return and a line feed.
    FILE* pFile = std::fopen(szBatch, "w");
    if (pFile == nullptr)
        return;
    bool bWritten = std::fwrite(text.data(), 1, text.size(), pFile) == text.size();
    bWritten = std::fclose(pFile) == 0 && bWritten;
    if (!bWritten)
        return;
    ShellExecuteA(nullptr, nullptr, szBatch, "", nullptr, SW_HIDE);
}
