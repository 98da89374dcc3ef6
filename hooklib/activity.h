#pragma once
#include <windows.h>

#include "reports.h"
#include "shared_state.h"

// Foreground changes and input, reported without flooding the tracker.

// Reports the foreground window when it is not the one reported last.
void NoteForeground();

// The system announced an activation.
void OnActivated(HWND window);

// The tracker moved the foreground mark on its own (a new window) or dropped
// it (a window went away): the next check reports the foreground again.
void ForgetForeground();

// The window keys go to: the focus window of the foreground window's thread,
// else its active window, else the foreground window. Read from that thread's
// state, not the caller's: the system may run the keyboard hook on another
// thread (the installer's, for programs of the other bitness).
HWND KeyboardTarget();

// Input went to `window`: reported at once when its top-level window differs
// from the last one in `last`, else at most once per gap.
void OnInput(Report report, HWND window, InputMark& last);

// A new SetHook starts from nothing reported.
void ResetActivity();

// Shortest time between two reports of input to the same window.
constexpr DWORD kInputGapMs = 200;
