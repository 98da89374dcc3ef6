#pragma once
#include <windows.h>

// Every message box of the tracker goes through here, so tests can see the text
// without a box that waits for a user. Defaults to MessageBoxA.
typedef int(WINAPI* MessageBoxFn)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
extern MessageBoxFn TrackerMessageBox;
