#pragma once
#include <windows.h>

#include <string>

#include "applic.h"
#include "process_entries.h"

// Process identity of the add-application dialog: which executable owns a
// top-level window, with its full path, its description and the shell's
// icon and name for it. The process-status and tool-help entries are bound
// at run time and never called while unbound.

// LoadLibraryA of the name; true when a handle was obtained.
bool LoadLibraryByName(const std::string& name, HMODULE& handle);
// Binds EnumProcessModules, GetModuleBaseNameA and GetModuleFileNameExA.
void BindPsapi(HMODULE psapi);
// Binds CreateToolhelp32Snapshot, Process32First and Process32Next.
void BindToolhelp(HMODULE kernel);
// Binds QueryFullProcessImageNameA, the path of a process whose modules
// cannot be listed (a 64-bit process seen from a 32-bit build).
void BindFullImageName(HMODULE kernel);
// Clears every binding (for tests of the fallbacks).
void UnbindProcessEntries();

// The executable's path and file name of a process from a tool-help
// snapshot; false when the process is not found or tool-help is not bound.
bool ToolhelpExePath(DWORD processId, std::string& name, std::string& path);

// File name and full path of the executable that owns a visible top-level
// window (any top-level window with includeHidden), and the window's title.
// Name and path come lower-cased. The outputs are left alone when the
// window does not qualify or its process cannot be opened.
void GetProcessInfoForWindow(HWND window, std::string& name, std::string& path, std::string& title,
                             bool includeHidden);

// The "FileDescription" of the file's version resource; the last
// translation that has one wins. Empty without one.
void GetFileDescription(const std::string& path, std::string& text);
// The shell's display name of the file; empty when it has none.
void GetShellDisplayName(const std::string& path, std::string& text);

// The list holds a row with the same path and name.
bool IsApplicInList(const ApplicList& list, const Applic& row);

// The row the add-application dialog shows for a window; false when the
// window is skipped (not a visible top-level window of a known executable,
// or without a title). Name: the description, else the display name, else
// the file name.
bool RunningApplicOfWindow(HWND window, Applic& row);
