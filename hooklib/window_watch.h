#pragma once
#include <windows.h>

// Top-level windows coming and going.
//
// Wine calls the shell hook for a new window at the end of CreateWindowEx,
// while most windows are still hidden, and the tracker counts a window only
// when it is visible and has a title. So a window the shell hook reports is
// marked pending, and a call-window-procedure hook of the library's own
// announces it once it has been shown with a title. Only announced windows
// (and windows that were already visible with a title when the hooks came)
// are reported when they go, so the tracker's window counts stay balanced.

// The shell hook saw a top-level window created or destroyed.
void OnWindowCreated(HWND window);
void OnWindowDestroyed(HWND window);

// Installs the library's own hook in the calling process (the tracker's,
// through SetHook), replacing one this process installed before.
void InstallWindowHook();
// Removes it when that process frees the library.
void RemoveWindowHook(bool processEnding);
