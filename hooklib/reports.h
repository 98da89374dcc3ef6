#pragma once
#include <windows.h>

// The registered messages the library sends to the window given to SetHook.
enum class Report { NewWindowCreated, WindowActivated, WindowDestroyed, WindowMoused, WindowKeyboarded };

// Queues the report; the caller goes on at once.
void PostReport(Report report, HWND window);

// Waits until the target has handled the report, so the window still exists
// while it does; gives up after a short time or when the target hangs.
void SendReport(Report report, HWND window);
