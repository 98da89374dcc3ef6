#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Waits, dispatching messages, for a visible top-level window that `match`
// accepts; null on timeout.
HWND WaitForTopWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs);

// A visible top-level window titled exactly `title`, of process `pid` unless
// it is 0.
HWND FindTopWindow(const std::string& title, DWORD pid = 0, DWORD timeoutMs = 5000);

// A dialog window (class "#32770", as message boxes are) of process `pid`.
HWND FindDialog(DWORD pid, DWORD timeoutMs = 5000);

// The window's text, also for a window of another process.
std::string WindowText(HWND window);
DWORD WindowProcessId(HWND window);
