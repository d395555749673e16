#include "Messages.h"

namespace {
const size_t kMaxText = 512;
}

void ShowMessage(UINT nTextId, UINT nCaptionId)
{
    char szText[kMaxText];
    char szCaption[kMaxText];
    LoadText(nTextId, szText, sizeof(szText));
    LoadText(nCaptionId, szCaption, sizeof(szCaption));
    MessageBoxA(nullptr, szText, szCaption, MB_OK);
}
