#include "ResourceText.h"

int LoadText(UINT nId, char* pszText, size_t cchText)
{
    if (cchText == 0)
        return 0;
    pszText[0] = '\0';
    int cchMax = cchText > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(cchText);
    return LoadStringA(GetModuleHandleA(nullptr), nId, pszText, cchMax);
}
