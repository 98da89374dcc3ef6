#include "browse_folder.h"

#include <objbase.h>

BROWSEINFOA InitBrowseInfo(HWND owner, const char* title)
{
    BROWSEINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;   // starts at the desktop
    info.pszDisplayName = nullptr;
    info.lpszTitle = title;
    info.ulFlags = 0;
    return info;
}

void BrowseForFolder(BROWSEINFOA& info, char* path, size_t size)
{
    path[0] = '\0';
    HRESULT com = CoInitialize(nullptr);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    if (chosen) {
        char buffer[MAX_PATH] = {};
        if (SHGetPathFromIDListA(chosen, buffer))
            lstrcpynA(path, buffer, static_cast<int>(size));
        CoTaskMemFree(chosen);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}
