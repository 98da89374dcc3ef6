#include "running_apps.h"

#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "win_version.h"

namespace {

EnumProcessModulesFn pEnumProcessModules = nullptr;
GetModuleBaseNameAFn pGetModuleBaseNameA = nullptr;
GetModuleFileNameExAFn pGetModuleFileNameExA = nullptr;
QueryFullProcessImageNameAFn pQueryFullProcessImageNameA = nullptr;
CreateToolhelp32SnapshotFn pCreateToolhelp32Snapshot = nullptr;
Process32FirstFn pProcess32First = nullptr;
Process32NextFn pProcess32Next = nullptr;

// The texts the dialog works with hold 255 characters and the terminator.
const DWORD kTextSize = 256;

std::string Lower(std::string text)
{
    if (!text.empty())
        CharLowerA(&text[0]);
    return text;
}

std::string AfterLastBackslash(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Path and name from the process's first module, or from its image name.
bool ModulePath(HANDLE process, std::string& name, std::string& path)
{
    char buffer[kTextSize] = {};
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (pEnumProcessModules && pGetModuleBaseNameA && pGetModuleFileNameExA &&
        pEnumProcessModules(process, &module, sizeof(module), &needed)) {
        if (pGetModuleBaseNameA(process, module, buffer, kTextSize))
            name = buffer;
        buffer[0] = '\0';
        if (pGetModuleFileNameExA(process, module, buffer, kTextSize))
            path = buffer;
        return true;
    }
    DWORD size = kTextSize;
    if (pQueryFullProcessImageNameA && pQueryFullProcessImageNameA(process, 0, buffer, &size)) {
        path = buffer;
        name = AfterLastBackslash(path);
        return true;
    }
    return false;
}

} // namespace

bool LoadLibraryByName(const std::string& name, HMODULE& handle)
{
    handle = LoadLibraryA(name.c_str());
    return handle != nullptr;
}

void BindPsapi(HMODULE psapi)
{
    pEnumProcessModules = Bind<EnumProcessModulesFn>(psapi, "EnumProcessModules");
    pGetModuleBaseNameA = Bind<GetModuleBaseNameAFn>(psapi, "GetModuleBaseNameA");
    pGetModuleFileNameExA = Bind<GetModuleFileNameExAFn>(psapi, "GetModuleFileNameExA");
}

void BindToolhelp(HMODULE kernel)
{
    pCreateToolhelp32Snapshot = Bind<CreateToolhelp32SnapshotFn>(kernel, "CreateToolhelp32Snapshot");
    pProcess32First = Bind<Process32FirstFn>(kernel, "Process32First");
    pProcess32Next = Bind<Process32NextFn>(kernel, "Process32Next");
}

void BindFullImageName(HMODULE kernel)
{
    pQueryFullProcessImageNameA = Bind<QueryFullProcessImageNameAFn>(kernel, "QueryFullProcessImageNameA");
}

void UnbindProcessEntries()
{
    BindPsapi(nullptr);
    BindToolhelp(nullptr);
    BindFullImageName(nullptr);
}

bool ToolhelpExePath(DWORD processId, std::string& name, std::string& path)
{
    std::string exeFile;
    if (!ToolhelpExeFile(pCreateToolhelp32Snapshot, pProcess32First, pProcess32Next, processId, exeFile))
        return false;
    path = exeFile.substr(0, kTextSize - 1);
    name = AfterLastBackslash(path);
    return true;
}

void GetProcessInfoForWindow(HWND window, std::string& name, std::string& path, std::string& title,
                             bool includeHidden)
{
    if (RootWindow(window) != window || !(IsWindowVisible(window) || includeHidden))
        return;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process) {
        if (IsWin2000Plus())
            ModulePath(process, name, path);
        else
            ToolhelpExePath(processId, name, path);
        char buffer[kTextSize] = {};
        GetWindowTextA(window, buffer, kTextSize);
        title = buffer;
        CloseHandle(process);
    }
    path = Lower(path);
    name = Lower(name);
}

void GetFileDescription(const std::string& path, std::string& text)
{
    text.clear();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return;
    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* table = nullptr;
    UINT tableBytes = 0;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&table), &tableBytes) ||
        !table)
        return;
    for (UINT i = 0; i < tableBytes / sizeof(Translation); ++i) {
        char query[64];
        std::snprintf(query, sizeof(query), "\\StringFileInfo\\%04x%04x\\FileDescription", table[i].language,
                      table[i].codePage);
        char* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&value), &length) && value && length)
            text = std::string(value).substr(0, kTextSize - 1);
    }
}

void GetShellDisplayName(const std::string& path, std::string& text)
{
    // COM is set up just around the query, for whichever thread asks.
    HRESULT com = CoInitialize(nullptr);
    SHFILEINFOA info;
    ZeroMemory(&info, sizeof(info));
    text.clear();
    if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME))
        text = info.szDisplayName;
    if (SUCCEEDED(com))
        CoUninitialize();
}

bool IsApplicInList(const ApplicList& list, const Applic& row)
{
    for (const Applic& r : list) {
        if (SameApplic(r, row))
            return true;
    }
    return false;
}

bool RunningApplicOfWindow(HWND window, Applic& row)
{
    std::string name, path, title;
    GetProcessInfoForWindow(window, name, path, title, false);
    if (name.empty() || title.empty())
        return false;
    std::string display, description;
    GetShellDisplayName(path, display);
    GetFileDescription(path, description);
    if (description.empty())
        description = display;
    if (description.empty())
        description = name;
    row = Applic(path, description);
    return true;
}
