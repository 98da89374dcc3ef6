#pragma once
#include <windows.h>

#include "my_window.h"

// Controls of the Settings dialog, bound anew at each opening.
extern MyEdit logPathEdit;
extern MyTrackBar transparencyTrackBar;

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
