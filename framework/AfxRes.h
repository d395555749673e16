// Resource ids the framework reserves; programs include AfxRes.rc in their resource script.
#pragma once

#define AFX_IDS_APP_TITLE 0xE000

#define AFX_IDP_FAILED_TO_SAVE_DOC 0xF010
#define AFX_IDP_FAILED_TO_OPEN_DOC 0xF011

// Standard commands the framework knows.
#define ID_FILE_NEW 0xE100          // 57600
#define ID_FILE_OPEN 0xE101         // 57601
#define ID_FILE_PRINT_SETUP 0xE106  // 57606
#define ID_FILE_PRINT 0xE107        // 57607
#define ID_APP_ABOUT 0xE140         // 57664
#define ID_CONTEXT_HELP 0xE145      // 57669

// Status bar indicators.
#define ID_INDICATOR_CAPS 0xE701
#define ID_INDICATOR_NUM 0xE702
#define ID_INDICATOR_SCRL 0xE703

// Data exchange reports.
#define AFX_IDP_PARSE_INT 0xF110
#define AFX_IDP_PARSE_REAL 0xF111
#define AFX_IDP_PARSE_REAL_RANGE 0xF113

// Initial data of a dialog's controls (combo box and list box strings), a resource of
// its own type named like the dialog template; the messages carry their old 16-bit ids.
#define RT_DLGINIT 240
#define CB_ADDSTRING_16 0x0403
#define LB_ADDSTRING_16 0x0401
