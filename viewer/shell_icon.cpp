#include <windows.h>
#include <shellapi.h>
#include <objbase.h>

#include "project.h"

HICON GetShellIcon(const std::string& path)
{
    // COM is set up just around the query, for whichever thread asks.
    HRESULT com = CoInitialize(nullptr);
    SHFILEINFOA info;
    ZeroMemory(&info, sizeof(info));
    HICON icon = nullptr;
    if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON) && info.hIcon)
        icon = info.hIcon;
    if (SUCCEEDED(com))
        CoUninitialize();
    return icon;
}

void FreeShellIcon(HICON icon)
{
    if (!icon)
        return;
    DestroyIcon(icon);
}
