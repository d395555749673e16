#include "InstallSequence.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "Dialogs.h"
#include "FileCopy.h"
#include "InstallLayout.h"
#include "Messages.h"
#include "Registration.h"
#include "RuntimeSetup.h"
#include "Shortcuts.h"
#include "resource.h"

namespace {

// The distribution's files, copied in this order; the first three go into the install
// directory, the rest into its "Help" folder.
const char* const kMainFiles[] = {TANDREL_PROGRAM_FILE, "vost.mpg", "readme.txt"};
const char* const kHelpFiles[] = {
    "Uninstall.exe", "Demo.html",      "shuttle.gif",    "flag.gif",
    "intro.gif",     "nbar.gif",       "group.gif",      "ctrl.video.gif",
    "ctrl.media.gif", "ctrl.audio.gif", "ctrl.info.gif", "Get_It_Now.gif"};
const char* const kExtensions[] = {".mpg", ".mpeg", ".mp2", ".mpv", ".mpa"};

// The folder Setup was started from; a drive root loses its backslash so that every
// source path gets exactly one separator. False when it can't be read: then no source
// path is known, and none must be guessed from the drive's root.
bool ReadSourceDirectory(char* pszDir, size_t cchDir)
{
    DWORD cch = GetCurrentDirectoryA(static_cast<DWORD>(cchDir), pszDir);
    if (cch == 0 || cch >= cchDir) {
        pszDir[0] = '\0';
        return false;
    }
    if (std::strlen(pszDir) == 3)
        pszDir[2] = '\0';
    return true;
}

// The longest path below the install directory that the installation creates.
size_t LongestInstalledName()
{
    size_t cchLongest = 0;
    for (const char* pszName : kMainFiles)
        cchLongest = std::max(cchLongest, 1 + std::strlen(pszName));
    for (const char* pszName : kHelpFiles)
        cchLongest = std::max(cchLongest, 1 + std::strlen(TANDREL_HELP_DIR) + 1 + std::strlen(pszName));
    return cchLongest;
}

// The typed directory as the folder to create and record: a full path (a relative one
// is taken from the current directory, as the system would) without a trailing
// backslash. False when there is none, or when an installed file's path under it would
// not fit in MAX_PATH - 1 characters.
bool MakeInstallDirectory(const char* pszTyped, char* pszDir, size_t cchDir)
{
    DWORD cch = GetFullPathNameA(pszTyped, static_cast<DWORD>(cchDir), pszDir, nullptr);
    if (pszTyped[0] == '\0' || cch == 0 || cch >= cchDir)
        return false;
    while (cch > 3 && pszDir[cch - 1] == '\\')
        pszDir[--cch] = '\0';
    return cch + LongestInstalledName() < MAX_PATH;
}

// True when every file was copied; a file that fails is left out and the rest still copied.
bool CopyDistribution(const char* pszInstallDir, const char* pszHelpDir, const char* pszSourceDir)
{
    bool bComplete = true;
    for (const char* pszName : kMainFiles)
        bComplete = InstallFile(pszInstallDir, pszSourceDir, pszName) && bComplete;
    if (pszHelpDir == nullptr)
        return false;
    for (const char* pszName : kHelpFiles)
        bComplete = InstallFile(pszHelpDir, pszSourceDir, pszName) && bComplete;
    return bComplete;
}

void RegisterPlayer(const char* pszInstallDir)
{
    char szPlayerPath[MAX_PATH];
    int n = std::snprintf(szPlayerPath, sizeof(szPlayerPath), "%s\\%s", pszInstallDir,
                          TANDREL_PROGRAM_FILE);
    bool bPlayerPath = n > 0 && n < MAX_PATH;
    for (const char* pszExtension : kExtensions)
        RegisterExtension(pszExtension, TANDREL_FILE_TYPE);
    char szDescription[MAX_PATH];
    LoadText(IDS_FILE_TYPE_DESCRIPTION, szDescription, sizeof(szDescription));
    if (bPlayerPath)
        RegisterFileType(TANDREL_FILE_TYPE, szDescription, szPlayerPath);

    char szDisplayName[MAX_PATH];
    LoadText(IDS_DISPLAY_NAME, szDisplayName, sizeof(szDisplayName));
    RegisterUninstallEntry(TANDREL_UNINSTALL_KEY, pszInstallDir, szDisplayName);
}

}  // namespace

int RunInstallation(HINSTANCE hInstance, AnimationPaint nPaint)
{
    if (!ShowWelcome(hInstance))
        return 1;

    char szSourceDir[MAX_PATH];
    bool bSourceDir = ReadSourceDirectory(szSourceDir, sizeof(szSourceDir));

    char szInstallDir[MAX_PATH];
    for (;;) {
        char szTyped[MAX_PATH];
        if (!AskInstallDirectory(hInstance, szTyped, sizeof(szTyped))) {
            ShowMessage(IDS_NOT_COMPLETE, IDS_CAPTION_UNSUCCESS);
            return 1;
        }
        if (MakeInstallDirectory(szTyped, szInstallDir, sizeof(szInstallDir)) &&
            CreateDirectoryA(szInstallDir, nullptr))
            break;
        ShowMessage(IDS_CREATE_DIR_ERROR, IDS_CAPTION_ERROR);
    }

    // From here on every step runs. The final message says whether the player is whole:
    // every file copied, the runtime set up, the settings record stored. Otherwise the
    // failure message sends the user to the uninstaller, which finds all of it registered.
    char szHelpDir[MAX_PATH];
    int n = std::snprintf(szHelpDir, sizeof(szHelpDir), "%s\\%s", szInstallDir, TANDREL_HELP_DIR);
    bool bHelpDir = n > 0 && n < MAX_PATH;
    if (bHelpDir)
        CreateDirectoryA(szHelpDir, nullptr);

    SetKeyDefault(HKEY_LOCAL_MACHINE, TANDREL_APP_PATH_KEY, szInstallDir);
    SetKeyDefault(HKEY_LOCAL_MACHINE, TANDREL_VERSION_KEY, TANDREL_VERSION_TEXT);
    bool bCopied = bSourceDir &&
                   CopyDistribution(szInstallDir, bHelpDir ? szHelpDir : nullptr, szSourceDir);
    RegisterAppPath(szInstallDir, TANDREL_APP_PATHS_BASE, TANDREL_PROGRAM_FILE);

    bool bRuntime = RunRuntimeSetup(hInstance, nPaint);

    RegisterPlayer(szInstallDir);
    bool bSettings = WriteDefaultSettings();
    CreateStartMenuShortcut(szInstallDir);
    CreateDesktopShortcut(szInstallDir);

    if (bCopied && bRuntime && bSettings)
        ShowCongratulation(hInstance);
    else
        ShowMessage(IDS_INSTALL_FAILED, IDS_CAPTION_ERROR);
    return 0;
}
