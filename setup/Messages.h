// The installer's texts from its string table, and its message boxes.
#pragma once

#include <windows.h>

#include "ResourceText.h"

// A message box without owner, with an OK button only and no icon.
void ShowMessage(UINT nTextId, UINT nCaptionId);
