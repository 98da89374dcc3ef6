#include <windows.h>
#include <shellapi.h>
#include <objbase.h>

#include "project.h"

namespace {

// Shell icons handed out and not yet freed, for the handle checks.
LONG g_liveShellIcons = 0;

} // namespace

HICON GetShellIcon(const std::string& path)
{
    // COM is set up just around the query, for whichever thread asks.
    HRESULT com = CoInitialize(nullptr);
    SHFILEINFOA info;
    ZeroMemory(&info, sizeof(info));
    HICON icon = nullptr;
    if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON) && info.hIcon) {
        icon = info.hIcon;
        InterlockedIncrement(&g_liveShellIcons);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return icon;
}

void FreeShellIcon(HICON icon)
{
    if (!icon)
        return;
    DestroyIcon(icon);
    InterlockedDecrement(&g_liveShellIcons);
}

int LiveShellIcons()
{
    return static_cast<int>(InterlockedCompareExchange(&g_liveShellIcons, 0, 0));
}
