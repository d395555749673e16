// Resource and control ids of the installer.
#pragma once

// Dialogs.
#define IDD_DIRECTORY 101
#define IDD_CONGRATULATION 102
#define IDD_WELCOME 104
#define IDD_INSTALLATION 106

// Controls.
#define IDC_INSTALL_DIR 1001
#define IDC_ANSWER_NO 1002
#define IDC_PROGRESS 1003
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Strings.
#define IDS_DEFAULT_DIR 200
#define IDS_CAPTION_ERROR 201
#define IDS_CAPTION_UNSUCCESS 202
#define IDS_NOT_COMPLETE 203
#define IDS_CREATE_DIR_ERROR 204
#define IDS_INSTALL_FAILED 205
#define IDS_RUNTIME_NOT_STARTED 206
#define IDS_DISPLAY_NAME 207
#define IDS_FILE_TYPE_DESCRIPTION 208
