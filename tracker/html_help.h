#pragma once
#include <windows.h>

// Opens "klr.chm" at a help context. The help viewer is found at run time
// ("hhctrl.ocx"), so a system without it only shows no help.
void ShowHelpContext(HWND owner, unsigned context);
