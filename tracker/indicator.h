#pragma once
#include <windows.h>

#include "my_dialog.h"
#include "my_menu.h"

// The indicator strip: a modeless dialog that also receives the hook library's messages.
extern MyDialog indicatorDialog;
// Its tray and context menu.
extern MyPopupMenu popupMenu;

INT_PTR CALLBACK IndicatorDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Face layout in pixels: start/stop button, activity bar or stopped face, hide button.
constexpr int kFaceWidth = 159;
constexpr int kFaceHeight = 18;
constexpr int kBarLeft = 19;
constexpr int kHideLeft = 139;

// The settings and about dialog objects (built on the indicator's first message).
MyDialog& SettingsDialog();
MyDialog& AboutDialog();

// State of the mouse over the strip, for tests.
struct IndicatorMouseState {
    bool hoverStart;
    bool hoverHide;
    bool dragging;
    int leaveTracked;
};
IndicatorMouseState IndicatorMouse();
