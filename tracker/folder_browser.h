#pragma once
#include <windows.h>
#include <shlobj.h>

// The folder browser of the Settings dialog: the desktop as root, no flags.
BROWSEINFOA InitBrowseInfo(const char* title, HWND owner);

// Shows the browser; `path` (MAX_PATH characters) receives the chosen folder, or an
// empty text when the user cancels or the choice has no file-system path.
char* BrowseForFolder(const BROWSEINFOA& info, char* path);
