#pragma once
#include <windows.h>

// comctl32 is loaded just before the first of its controls is made, not at
// start: under Wine it costs a running tracker about 3 MB, and many runs never
// show a tooltip or the Settings dialog. Once loaded it stays.
// False when the library cannot be loaded.
bool LoadCommonControls();

// comctl32's _TrackMouseEvent; false while the library is not loaded.
BOOL TrackMouseEventOfControls(TRACKMOUSEEVENT* track);
