#pragma once
// Resource ids of kaltrow: the numbers are fixed, other code and the help
// file rely on them.

// Dialog templates
#define IDD_INDICATOR 152
#define IDD_SETTINGS 153
#define IDD_ABOUT 194

// Popup menu of the tray icon and the indicator
#define IDR_POPUP_MENU 144

// Icons: the tray shows 184 while tracking and 169 while stopped. 107 has the
// lowest id, so Windows shows it as the program file's icon.
#define IDI_PRODUCT 107
#define IDI_STOPPED 169
#define IDI_TRACKING 184

// Strings of the indicator's tooltips
#define IDS_HIDE 106
#define IDS_TOGGLE_TRACKING 110
#define IDS_ACTIVITY_TIP 111

// Controls of the Settings dialog (Cancel is IDCANCEL)
#define IDC_STARTUP 1059
#define IDC_NEW_DAY 1067
#define IDC_LOG_PATH 1062
#define IDC_BROWSE 1032
#define IDC_TRANSPARENCY_GROUP 1068
#define IDC_TRANSPARENCY 1063
#define IDC_SETTINGS_OK 1033
#define IDC_HELP_BUTTON 3

// Commands of the popup menu
#define ID_MENU_STATISTICS 0
#define ID_MENU_SETTINGS 32779
#define ID_MENU_START 32781
#define ID_MENU_STOP 32782
#define ID_MENU_SHOW 32780
#define ID_MENU_HIDE 2
#define ID_MENU_HELP 3
#define ID_MENU_ABOUT 32785
#define ID_MENU_QUIT 32773

// Topics of "klr.chm" (the tracker opens IDH_INDICATOR and IDH_SETTINGS)
#include "../common/help_contexts.h"

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
