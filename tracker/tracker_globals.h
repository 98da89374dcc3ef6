#pragma once
#include <windows.h>

// Handles and identifiers of the run that several parts of the tracker share.
// Start-up fills them; until then they are null or 0.

extern HINSTANCE programInstance;
extern HANDLE instanceMutex;    // "mutex" (an unnamed one when that name is taken), owned by the UI thread for the whole run
extern HANDLE statisticsMutex;  // "1", guards the statistics files and the ticks
extern HWND indicatorWindow;    // the indicator, which also receives the hook messages

// The hook library's registered messages, registered in this order.
extern UINT NEW_WINDOW_CREATED;
extern UINT WINDOW_ACTIVATED;
extern UINT WINDOW_DESTROYED;
extern UINT WINDOW_MOUSED;
extern UINT WINDOW_KEYBORADED;
extern UINT WINDOW_REDRAWN;
