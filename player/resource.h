// Command and resource ids of the player.
#pragma once

#include "AfxRes.h"

// Commands of keys and palette buttons.
#define ID_INFORMATION 32774
#define ID_PLAY 32775
#define ID_PAUSE 32777
#define ID_CONTROL_OPTIONS 32778
#define ID_HELP_PAGE 32779
#define ID_EXIT 32780
#define ID_STOP 32781
#define ID_VOLUME_UP 32784
#define ID_VOLUME_DOWN 32785
#define ID_STEP 32787
#define ID_OPEN_INTERNET 32788
#define ID_GROUP_LOOP 32790
#define ID_VOLUME_UP_BUTTON 32791
#define ID_RATE_SLOWER 32793
#define ID_RATE_FASTER 32794
#define ID_VOLUME_DOWN_BUTTON 32795
#define ID_FULL_SCREEN 57605

// Messages of the open and transport paths.
#define IDP_CANT_INIT_GRAPH 61204
#define IDP_CANT_PLAY_FILE 61205
#define IDP_CANT_PLAY 61206
#define IDP_CANT_PAUSE 61207
#define IDP_CANT_STOP 61208
#define IDS_NOT_INSTALLED 61220

// Resources.
#define IDR_MAINFRAME 128
#define IDB_PALETTE 130
#define ID_VIEW_PALETTE 61446
#define ID_HELP_INDEX 57667
#define ID_HELP 57671
#define ID_FILE_PRINT_DIRECT 57608
#define ID_FILE_PRINT_PREVIEW 57609

// Dialogs and their controls.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDD_OPEN_INTERNET 100
#define IDC_URL 1056

// The download's progress dialog.
#define IDD_DOWNLOAD 120
#define IDC_DOWNLOAD_PROGRESS 1201
