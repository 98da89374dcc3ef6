#pragma once
#include <windows.h>

// Every message box of the tracker goes through here, so tests can see the text
// without a box that waits for a user. Defaults to MessageBoxA.
typedef int(WINAPI* MessageBoxFn)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
extern MessageBoxFn TrackerMessageBox;

// The same for the few texts that are not in the system's code page (the worker's
// message for an unknown error). Defaults to MessageBoxW.
typedef int(WINAPI* MessageBoxWFn)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
extern MessageBoxWFn TrackerMessageBoxW;
