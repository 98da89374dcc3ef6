#pragma once
#include <windows.h>

// Opens the help file "klr.chm", found by its relative name, at a help context
// (HH_HELP_CONTEXT). HtmlHelpA is taken from "hhctrl.ocx" at run time, so a
// system without it shows no help and reports nothing; the result is not used.
void ShowHelpContext(HWND owner, unsigned context);
