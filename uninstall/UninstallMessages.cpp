#include "UninstallMessages.h"

#include <cstdio>

#include "ResourceText.h"
#include "resource.h"

namespace {

const size_t kMaxText = 512;

void ShowError(const char* pszText)
{
    char szCaption[kMaxText];
    LoadText(IDS_CAPTION_ERROR, szCaption, sizeof(szCaption));
    MessageBoxA(nullptr, pszText, szCaption, MB_OK);
}

}  // namespace

void ShowCantDeleteFile(const char* pszName)
{
    char szFormat[kMaxText];
    LoadText(IDS_CANT_DELETE_FILE, szFormat, sizeof(szFormat));
    // The format is our own resource, with one %s for the name.
    char szText[kMaxText + MAX_PATH];
    std::snprintf(szText, sizeof(szText), szFormat, pszName);
    ShowError(szText);
}

void ShowRemovalNotStarted()
{
    char szText[kMaxText];
    LoadText(IDS_REMOVAL_NOT_STARTED, szText, sizeof(szText));
    ShowError(szText);
}
