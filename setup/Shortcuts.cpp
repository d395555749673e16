#include "Shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "Holders.h"
#include "ShellFolders.h"

void CreateShortcut(const char* pszLinkPath, const char* pszTarget)
{
    // Each shortcut has an apartment of its own, entered and left here.
    HRESULT hrInit = CoInitialize(nullptr);
    {
        CComPtr<IShellLinkA> link;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IShellLinkA, reinterpret_cast<void**>(&link)))) {
            CComPtr<IPersistFile> file;
            if (SUCCEEDED(file.QueryFrom(link.Get()))) {
                link->SetPath(pszTarget);
                WCHAR wszLinkPath[MAX_PATH];
                if (MultiByteToWideChar(CP_ACP, 0, pszLinkPath, -1, wszLinkPath, MAX_PATH) > 0)
                    file->Save(wszLinkPath, FALSE);
            }
        }
    }
    if (SUCCEEDED(hrInit))
        CoUninitialize();
}

void CreateStartMenuShortcut(const char* pszInstallDir)
{
    char szLink[MAX_PATH];
    if (GetStartMenuShortcutPath(szLink, sizeof(szLink)))
        CreateShortcut(szLink, pszInstallDir);
}

void CreateDesktopShortcut(const char* pszInstallDir)
{
    char szLink[MAX_PATH];
    if (GetDesktopShortcutPath(szLink, sizeof(szLink)))
        CreateShortcut(szLink, pszInstallDir);
}
