// Texts from the running program's string table, for every program of the product.
#pragma once

#include <windows.h>

#include <cstddef>

// Loads string resource nId of this program into pszText, cchText characters with the
// terminator; an empty text when there is none. Returns the text's length.
int LoadText(UINT nId, char* pszText, size_t cchText);
