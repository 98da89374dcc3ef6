#pragma once
#include <windows.h>

#include "my_dialog.h"
#include "my_tooltip.h"
#include "process_identity.h"
#include "skins.h"

// The skin pictures of the face, loaded once from "Skins" in the current directory.
struct IndicatorSkins {
    IndicatorSkins();

    MyBarBitmap bar;
    MyBitmap start;
    MyBitmap startHot;
    MyBitmap stop;
    MyBitmap stopHot;
    MyBitmap hide;
    MyBitmap hideHot;
    MyBitmap stopped;
};

// What the indicator builds on its first message, in this order; the process's
// exit destroys them in reverse, so the hooks go keyboard, mouse, shell.
struct IndicatorObjects {
    explicit IndicatorObjects(HWND window);

    MyDialog settingsDialog;
    MyDialog aboutDialog;
    MyShellHook shellHook;
    MyMouseHook mouseHook;
    MyKeyboardHook keyboardHook;
    MyToolTip toolTip;
    IndicatorSkins skins;
    UINT activityToolId = 0;
};

// Built on the first call, with the window of the indicator's first message.
IndicatorObjects& IndicatorParts(HWND window);

// Message handlers of the indicator, each in its own file.
void PaintFace(HWND window, IndicatorObjects& parts);
// Tool 3's text: the day's activity, once the tooltips exist.
void UpdateActivityTip(IndicatorObjects& parts);
void OnLeftButtonDown(HWND window);
void OnMouseMove(HWND window);
void OnLeftButtonUp(HWND window);
void OnMouseLeave(HWND window);
// True when `message` is one of the hook library's messages the indicator acts on.
bool HandleHookMessage(UINT message, LPARAM lParam);
// Counts a window open at start, as AddAppWindow does, and remembers it among
// the windows to uncount when they go; an EnumWindows callback's result.
BOOL CountOpenWindow(HWND window);
// Uncounts the counted windows that no longer exist: a program that crashed or
// was killed takes its windows with it without any notice of their end.
void UncountVanishedWindows();
