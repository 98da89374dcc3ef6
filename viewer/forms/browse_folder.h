#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

// The shell's folder dialog, as the tracker's settings dialog uses it.
BROWSEINFOA InitBrowseInfo(HWND owner, const char* title);
// The chosen folder's file-system path into `path` (size bytes); the empty
// text when the dialog is cancelled.
void BrowseForFolder(BROWSEINFOA& info, char* path, size_t size);
