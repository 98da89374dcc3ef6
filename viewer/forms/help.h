#pragma once
#include <windows.h>

#include <string>

// Opens a topic of the help file "klr.chm" (ShowHelpContext of common/):
// without "hhctrl.ocx" or the file nothing happens.
void ShowHelpTopic(HWND owner, DWORD context);

// Tests see the topics asked for through this seam; null restores HtmlHelpA.
using HelpFunction = void (*)(HWND owner, DWORD context);
void SetHelpFunction(HelpFunction function);

// Opens the page behind Help > Homepage: "homepage.html" beside the program.
void OpenHomePage();
std::string HomePagePath();
