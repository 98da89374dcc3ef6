#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <string>

// What both programs need to tell which executable owns a window. The
// process-status, image-name and tool-help entries are bound by name at run
// time, since older systems lack some of them; each program keeps its own
// bindings and never calls an unbound entry.

typedef BOOL(WINAPI* EnumProcessModulesFn)(HANDLE, HMODULE*, DWORD, LPDWORD);
typedef DWORD(WINAPI* GetModuleBaseNameAFn)(HANDLE, HMODULE, LPSTR, DWORD);
typedef DWORD(WINAPI* GetModuleFileNameExAFn)(HANDLE, HMODULE, LPSTR, DWORD);
typedef BOOL(WINAPI* QueryFullProcessImageNameAFn)(HANDLE, DWORD, LPSTR, PDWORD);
typedef HANDLE(WINAPI* CreateToolhelp32SnapshotFn)(DWORD, DWORD);
typedef BOOL(WINAPI* Process32FirstFn)(HANDLE, PROCESSENTRY32*);
typedef BOOL(WINAPI* Process32NextFn)(HANDLE, PROCESSENTRY32*);

// The library's entry of that name; null when the library or the entry is missing.
template <typename Fn>
Fn Bind(HMODULE library, const char* name)
{
    if (!library)
        return nullptr;
    // Through void*: GetProcAddress's own pointer type is not the entry's.
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// The top-level ancestor (GetParent also leads from an owned pop-up to its owner).
HWND RootWindow(HWND window);

// The executable of a process as a tool-help snapshot lists it (a full path
// or a bare file name, by system); false when the process is not listed or
// an entry is unbound.
bool ToolhelpExeFile(CreateToolhelp32SnapshotFn snapshot, Process32FirstFn first, Process32NextFn next,
                     DWORD processId, std::string& exeFile);
