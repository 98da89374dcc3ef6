#pragma once
#include <windows.h>

// Dialogs are laid out for "MS Sans Serif"; a system that substitutes a wider
// font cuts captions that fit there. These widen such a control to its text.

// Width in pixels that the control (a static, push button, check box or radio
// button) needs to show its whole caption on one line in its own font.
int CaptionWidth(HWND control);

// Widens the control when its caption is cut, at most up to `rightLimit` (in
// its parent's client coordinates); position and height stay. Returns the
// number of pixels it grew by (0 when the caption fitted).
int WidenToCaption(HWND control, int rightLimit);
