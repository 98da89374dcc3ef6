#pragma once
#include <windows.h>

#include <string>

#include "process_entries.h"

// A library loaded by name; freed when the object goes.
class MyLibrary {
public:
    MyLibrary() = default;
    ~MyLibrary();
    MyLibrary(const MyLibrary&) = delete;
    MyLibrary& operator=(const MyLibrary&) = delete;

    bool Load(std::string name);
    HMODULE Handle() const { return handle_; }

private:
    HMODULE handle_ = nullptr;
};

// Loaded by start-up in this order of construction.
extern MyLibrary hookLibrary;
extern MyLibrary psapiLibrary;
extern MyLibrary userLibrary;
extern MyLibrary kernelLibrary;

// Entries bound at run time; each stays null until bound and is never called then.
typedef BOOL(WINAPI* SetLayeredWindowAttributesFn)(HWND, COLORREF, BYTE, DWORD);

extern EnumProcessModulesFn pEnumProcessModules;
extern GetModuleBaseNameAFn pGetModuleBaseNameA;
extern QueryFullProcessImageNameAFn pQueryFullProcessImageNameA;
extern CreateToolhelp32SnapshotFn pCreateToolhelp32Snapshot;
extern Process32FirstFn pProcess32First;
extern Process32NextFn pProcess32Next;
extern SetLayeredWindowAttributesFn pSetLayeredWindowAttributes;

void BindToolhelp(HMODULE kernel);
void BindPsapi(HMODULE psapi);
void BindLayered(HMODULE user);

// The executable's file name of a process from a tool-help snapshot; `name` holds 256 characters.
bool ToolhelpExeName(DWORD processId, char* name);
// Lower-cased module name and title of a top-level window, or two empty texts.
// Both buffers hold 256 characters.
void GetAppNameAndTitle(HWND window, char* name, char* title, bool includeHidden);

typedef void(WINAPI* SetHookFn)(HHOOK hook, HWND window, int type, int extra);

// A system-wide hook of the hook library, installed by the constructor of each
// kind and removed by the destructor.
class MyHook {
public:
    MyHook(HHOOK hook, HMODULE library);
    ~MyHook();
    MyHook(const MyHook&) = delete;
    MyHook& operator=(const MyHook&) = delete;

protected:
    void Install(HMODULE library, const char* procName, int type, HWND window, int extra);

    HHOOK hook_;
    SetHookFn setHook_;
    HOOKPROC proc_ = nullptr;
};

class MyShellHook : public MyHook {
public:
    MyShellHook(HMODULE library, HWND window, int extra);
};

class MyMouseHook : public MyHook {
public:
    MyMouseHook(HMODULE library, HWND window, int extra);
};

class MyKeyboardHook : public MyHook {
public:
    MyKeyboardHook(HMODULE library, HWND window, int extra);
};
