#pragma once
// Resource, command and control ids of klr_stat.

// Pictures and the program icon (the lowest icon id is the file's icon)
#define IDI_KLR_STAT 1
#define IDB_NAVIGATOR 101     // 21 images of 32 x 32: normal, pointer over, pressed
#define IDB_TOOLBAR 102       // 8 images of 32 x 32
#define IDB_MENU_IMAGES 103   // the same 8 at 16 x 16
#define IDB_LOGO 104          // 400 x 137, the About box

// Image indices of the tool-bar and menu strips
#define IMG_NEW 0
#define IMG_OPEN 1
#define IMG_SAVE 2
#define IMG_ADD 3
#define IMG_SETTINGS 4
#define IMG_DELETE 5
#define IMG_APPLICATIONS 6
#define IMG_TOTAL 7

// Commands of the actions, shared by menu items and tool buttons
#define ID_FILE_NEW 40001
#define ID_FILE_OPEN 40002
#define ID_FILE_SAVE 40003
#define ID_FILE_SAVE_AS 40004
#define ID_SETTINGS 40005
#define ID_FILE_EXIT 40006
#define ID_ADD_APPLICATION 40007
#define ID_DEL_APPL 40008
#define ID_ACTION1 40009        // Window > Hide Period
#define ID_APPLICATIONS 40010   // Window > Hide Applications
#define ID_HELP_ABOUT 40011
#define ID_HELP_CONTENTS 40012
#define ID_HOMEPAGE 40013

// Controls of the main window
#define IDC_LVSTAT 1001
#define IDC_TOT_LIST 1002
#define IDC_APPL_LIST 1003

// Custom-period dialog
#define IDC_START_DATE 1101
#define IDC_END_DATE 1102
#define IDC_CUST_OK 1103
#define IDC_CUST_CANCEL 1104
#define IDC_CUST_HELP 1105

// Add-application dialog
#define IDC_APPL_RUN 1201
#define IDC_APPL_ADD 1202
#define IDC_APPL_CANCEL 1203
#define IDC_APPL_HELP 1204

// Settings form
#define IDC_STARTUP 1301
#define IDC_NEW_DAY 1302
#define IDC_AUTOUPDATE_FLAG 1303
#define IDC_AUTOUPDATE_TIME 1304
#define IDC_SAVE_PATH 1305
#define IDC_BROWSE 1306
#define IDC_SETTINGS_OK 1307
#define IDC_SETTINGS_CANCEL 1308
#define IDC_SETTINGS_HELP 1309

// About box and progress dialog
#define IDC_ABOUT_OK 1401
#define IDC_WAIT_ABORT 1501

// Topics of "klr.chm" (the viewer opens IDH_MAIN, IDH_SETTINGS,
// IDH_ADD_APPLICATION and IDH_CUSTOM)
#include "../common/help_contexts.h"

// Sent to the tracker's window "Kaltrow": re-read "kaltrow.ini"
#define WM_RELOAD_SETTINGS 2114
