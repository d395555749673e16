// The installer's texts from its string table, and its message boxes.
#pragma once

#include <windows.h>

#include <cstddef>

// Loads string resource nId into pszText; an empty text when there is none.
void LoadText(UINT nId, char* pszText, size_t cchText);
// A message box without owner, with an OK button only and no icon.
void ShowMessage(UINT nTextId, UINT nCaptionId);
