#pragma once
#include <windows.h>

// Top-level windows coming and going.
//
// Wine calls the shell hook for a new window at the end of CreateWindowEx,
// while most windows are still hidden, and the tracker counts a window only
// when it is visible and has a title. So a call-window-procedure hook of the
// library's own announces a window, once per tracker run, when it is shown or
// titled, however long before the hooks it was created. Going, a window is
// reported when it was announced or was open (visible with a title) when the
// run began, as the tracker counts those itself; hidden helper windows are
// not. The tracker keeps the set of windows it counted and uncounts only
// those, each once.

// The shell hook saw a top-level window created or destroyed.
void OnWindowCreated(HWND window);
void OnWindowDestroyed(HWND window);

// Marks the windows open now as ones the tracker may count by itself.
void MarkOpenWindows();

// Installs the library's own hook in the calling process (the tracker's,
// through SetHook), replacing one this process installed before.
void InstallWindowHook();
// Removes it when that process frees the library.
void RemoveWindowHook(bool processEnding);
