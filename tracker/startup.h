#pragma once
#include <windows.h>

// The tracker's run: start-up in its fixed order, the message loop, and the
// shutdown (the worker ends before the exit handlers remove the hooks and free
// the libraries). Returns the process exit code.
int TrackerMain(HINSTANCE instance, const char* commandTail);

// Pieces of the run, in the order TrackerMain uses them.

// Loads "klr.dll", then "psapi.dll" or else the tool-help functions of
// "kernel32.dll", then "user32.dll", and binds the entries. On failure the
// message box has been shown and false is returned.
bool LoadTrackerLibraries();
// Creates the day, month and year objects and opens them under the log path.
void OpenStatFiles();
// Registers the hook library's six messages.
void RegisterHookMessages();
// Creates the indicator with its icon, tray icon, caption, transparency, position
// and show state from "banner.ini"; returns its window.
HWND CreateIndicator(HINSTANCE instance);
// Loads the popup menu for the indicator with its first item states.
void LoadPopupMenu();
// Until WM_QUIT (its code) or a failed GetMessageA (-1).
int RunMessageLoop();
// Tells the worker to end, releases the instance mutex, its clock, and waits for
// the worker to end, at most kWorkerEndMs.
constexpr DWORD kWorkerEndMs = 3000;
void EndWorker(HANDLE thread);

// Timer 1: saves the three statistics files once a second.
void CALLBACK StatisticsTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
