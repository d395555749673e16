// Uninstall.exe: removes the installation without asking, then leaves the last steps to a
// hidden batch file that runs after this program has ended.
#include <windows.h>

#include "CleanupBatch.h"
#include "FileRemoval.h"
#include "RegistryRemoval.h"
#include "RuntimeRemoval.h"
#include "ShellFolders.h"

namespace {

void RemoveStartMenuShortcut()
{
    char szLink[MAX_PATH];
    if (GetStartMenuShortcutPath(szLink, sizeof(szLink)))
        DeleteFileA(szLink);
}

}  // namespace

int WINAPI WinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPSTR /*lpCmdLine*/,
                   int /*nCmdShow*/)
{
    char szInstallDir[MAX_PATH] = "";
    RemoveInstalledFiles(szInstallDir, sizeof(szInstallDir));
    RemoveRegistryEntries();
    RemoveUserSettings();
    RemoveStartMenuShortcut();
    RunRuntimeRemoval();
    WriteCleanupBatch(szInstallDir);
    return 0;
}
