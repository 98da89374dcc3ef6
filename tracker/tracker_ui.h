#pragma once
#include <windows.h>

#include <string>

// Every message box of the tracker goes through here, so tests can see the text
// without a box that waits for a user. Defaults to MessageBoxA.
typedef int(WINAPI* MessageBoxFn)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
extern MessageBoxFn TrackerMessageBox;

// The same for the few texts that are not in the system's code page (the worker's
// message for an unknown error). Defaults to MessageBoxW.
typedef int(WINAPI* MessageBoxWFn)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
extern MessageBoxWFn TrackerMessageBoxW;

// A box without owner on the UI thread. It is shown at once unless this thread
// holds the statistics mutex or the lists' lock; then it waits for the next
// ShowDeferredBoxes with neither held. A box whose text is open already is not
// shown again: a failure that repeats while the user has not answered stacks
// no boxes. True when this call showed the box and it has been answered.
bool ShowTrackerBox(const std::string& text, const char* caption, UINT type);
// Shows the boxes that waited for the locks, when this thread holds none now.
void ShowDeferredBoxes();
// True while a box of this text is open.
bool TrackerBoxOpen(const std::string& text);
