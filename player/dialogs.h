// Ids of the player's dialogs and their controls.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The Open Internet dialog.
#define IDD_OPEN_INTERNET 100
#define IDC_URL 1056
