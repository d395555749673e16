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

// The Movie Controls sheet: its texts, its four pages and their controls.
#define IDS_MOVIE_CONTROLS 61230
#define IDS_FINISH 61231
#define IDD_PAGE_MEDIA 102
#define IDD_PAGE_VIDEO 103
#define IDD_PAGE_AUDIO 104
#define IDD_PAGE_INFO 105
#define IDC_LOOP 1007
#define IDC_TREBLE 1008
#define IDC_VOLUME 1009
#define IDC_BASS 1010
#define IDC_BALANCE 1012
#define IDC_MUTE 1013
#define IDC_POSITION 1017
#define IDC_ORIGINAL 1021
#define IDC_SCALABLE 1022
#define IDC_FULL_SCREEN 1023
#define IDC_PROGRESS 1025
#define IDC_POSITION_TEXT 1027
#define IDC_WIDTH 1031
#define IDC_AVG_TIME 1032
#define IDC_BIT_RATE 1034
#define IDC_BIT_ERROR_RATE 1035
#define IDC_DISPLAY_MODE 1036
#define IDC_SIZE_GROUP 1039
#define IDC_START_TIME 1043
#define IDC_STOP_TIME 1044
#define IDC_HEIGHT 1045
#define IDC_RATE 1048
#define IDC_CAPTION 1051
#define IDC_THICK_FRAME 1052
#define IDC_GROUP_LOOP 1054
#define IDC_SAVE_FILE 1059
// The pages' 99 ms timer.
#define ID_PAGE_TIMER 1105
