#include "tracker_globals.h"

HINSTANCE programInstance = nullptr;
HANDLE instanceMutex = nullptr;
HANDLE statisticsMutex = nullptr;
HWND indicatorWindow = nullptr;

UINT NEW_WINDOW_CREATED = 0;
UINT WINDOW_ACTIVATED = 0;
UINT WINDOW_DESTROYED = 0;
UINT WINDOW_MOUSED = 0;
UINT WINDOW_KEYBORADED = 0;
UINT WINDOW_REDRAWN = 0;
