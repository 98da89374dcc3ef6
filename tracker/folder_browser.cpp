#include "folder_browser.h"

BROWSEINFOA InitBrowseInfo(const char* title, HWND owner)
{
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    return info;
}

char* BrowseForFolder(const BROWSEINFOA& info, char* path)
{
    path[0] = '\0';
    BROWSEINFOA copy = info;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&copy);
    if (!chosen)
        return path;
    if (!SHGetPathFromIDListA(chosen, path))
        path[0] = '\0';
    CoTaskMemFree(chosen);
    return path;
}
