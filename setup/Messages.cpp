#include "Messages.h"

namespace {
const size_t kMaxText = 512;
}

void LoadText(UINT nId, char* pszText, size_t cchText)
{
    if (cchText == 0)
        return;
    pszText[0] = '\0';
    LoadStringA(GetModuleHandleA(nullptr), nId, pszText, static_cast<int>(cchText));
}

void ShowMessage(UINT nTextId, UINT nCaptionId)
{
    char szText[kMaxText];
    char szCaption[kMaxText];
    LoadText(nTextId, szText, sizeof(szText));
    LoadText(nCaptionId, szCaption, sizeof(szCaption));
    MessageBoxA(nullptr, szText, szCaption, MB_OK);
}
