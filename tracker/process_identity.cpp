#include "process_identity.h"

#include <cstring>

#include "win_version.h"

// Constructed in this order before the main function runs.
MyLibrary hookLibrary;
MyLibrary psapiLibrary;
MyLibrary userLibrary;
MyLibrary kernelLibrary;

EnumProcessModulesFn pEnumProcessModules = nullptr;
GetModuleBaseNameAFn pGetModuleBaseNameA = nullptr;
QueryFullProcessImageNameAFn pQueryFullProcessImageNameA = nullptr;
CreateToolhelp32SnapshotFn pCreateToolhelp32Snapshot = nullptr;
Process32FirstFn pProcess32First = nullptr;
Process32NextFn pProcess32Next = nullptr;
SetLayeredWindowAttributesFn pSetLayeredWindowAttributes = nullptr;

namespace {

// Names and titles fit a 256-character buffer with its terminator.
constexpr DWORD kNameChars = 255;

// Copies the text after the last backslash, cut to what the name buffer holds.
void CopyFileName(const char* path, char* name)
{
    const char* slash = std::strrchr(path, '\\');
    const char* leaf = slash ? slash + 1 : path;
    size_t n = std::strlen(leaf);
    if (n > kNameChars - 1)
        n = kNameChars - 1;
    std::memcpy(name, leaf, n);
    name[n] = '\0';
}

bool NameFromModules(HANDLE process, char* name)
{
    if (!pEnumProcessModules || !pGetModuleBaseNameA)
        return false;
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!pEnumProcessModules(process, &module, sizeof(module), &needed) || !module)
        return false;
    if (pGetModuleBaseNameA(process, module, name, kNameChars) == 0) {
        name[0] = '\0';
        return false;
    }
    return true;
}

// A 32-bit build cannot list the modules of a 64-bit process; the image path can.
bool NameFromImagePath(HANDLE process, char* name)
{
    if (!pQueryFullProcessImageNameA)
        return false;
    char path[MAX_PATH * 4] = {};
    DWORD size = sizeof(path);
    if (!pQueryFullProcessImageNameA(process, 0, path, &size) || size == 0)
        return false;
    CopyFileName(path, name);
    return name[0] != '\0';
}

// Whatever interface is bound names the process; with none bound the name stays empty.
void ProcessFileName(HANDLE process, DWORD processId, char* name)
{
    if (IsWin2000Plus()) {
        if (NameFromModules(process, name) || NameFromImagePath(process, name))
            return;
        ToolhelpExeName(processId, name);
        return;
    }
    if (!ToolhelpExeName(processId, name))
        NameFromModules(process, name);
}

} // namespace

MyLibrary::~MyLibrary()
{
    if (handle_)
        FreeLibrary(handle_);
}

bool MyLibrary::Load(std::string name)
{
    if (handle_)
        FreeLibrary(handle_);
    handle_ = LoadLibraryA(name.c_str());
    return handle_ != nullptr;
}

void BindToolhelp(HMODULE kernel)
{
    pCreateToolhelp32Snapshot = Bind<CreateToolhelp32SnapshotFn>(kernel, "CreateToolhelp32Snapshot");
    pProcess32First = Bind<Process32FirstFn>(kernel, "Process32First");
    pProcess32Next = Bind<Process32NextFn>(kernel, "Process32Next");
}

void BindPsapi(HMODULE psapi)
{
    pEnumProcessModules = Bind<EnumProcessModulesFn>(psapi, "EnumProcessModules");
    pGetModuleBaseNameA = Bind<GetModuleBaseNameAFn>(psapi, "GetModuleBaseNameA");
    // Absent before Vista; the kernel library is always loaded.
    pQueryFullProcessImageNameA =
        Bind<QueryFullProcessImageNameAFn>(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA");
}

void BindLayered(HMODULE user)
{
    pSetLayeredWindowAttributes =
        IsWin2000Plus() ? Bind<SetLayeredWindowAttributesFn>(user, "SetLayeredWindowAttributes") : nullptr;
}

bool ToolhelpExeName(DWORD processId, char* name)
{
    std::string exeFile;
    if (!ToolhelpExeFile(pCreateToolhelp32Snapshot, pProcess32First, pProcess32Next, processId, exeFile))
        return false;
    CopyFileName(exeFile.c_str(), name);
    return true;
}

void GetAppNameAndTitle(HWND window, char* name, char* title, bool includeHidden)
{
    name[0] = '\0';
    title[0] = '\0';
    if (RootWindow(window) != window)
        return;
    if (!includeHidden && !IsWindowVisible(window))
        return;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process)
        return;
    ProcessFileName(process, processId, name);
    GetWindowTextA(window, title, kNameChars);
    CloseHandle(process);
    CharLowerA(name);
}

MyHook::MyHook(HHOOK hook, HMODULE library)
    : hook_(hook), setHook_(Bind<SetHookFn>(library, "SetHook"))
{
}

MyHook::~MyHook()
{
    if (hook_)
        UnhookWindowsHookEx(hook_);
}

void MyHook::Install(HMODULE library, const char* procName, int type, HWND window, int extra)
{
    proc_ = Bind<HOOKPROC>(library, procName);
    // A hook whose library cannot be told where to report would only cost input time.
    if (!proc_ || !setHook_)
        return;
    hook_ = SetWindowsHookExA(type, proc_, library, 0);
    setHook_(hook_, window, type, extra);
}

MyShellHook::MyShellHook(HMODULE library, HWND window, int extra) : MyHook(nullptr, library)
{
    Install(library, "ShellHook", WH_SHELL, window, extra);
}

MyMouseHook::MyMouseHook(HMODULE library, HWND window, int extra) : MyHook(nullptr, library)
{
    Install(library, "MouseHook", WH_MOUSE, window, extra);
}

MyKeyboardHook::MyKeyboardHook(HMODULE library, HWND window, int extra) : MyHook(nullptr, library)
{
    Install(library, "KeyboardHook", WH_KEYBOARD, window, extra);
}
