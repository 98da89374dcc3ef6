#include "win_version.h"

#include <windows.h>

namespace {

bool ReadVersion(OSVERSIONINFOEXA& info)
{
    ZeroMemory(&info, sizeof(info));
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
        return true;
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) != FALSE;
}

} // namespace

bool IsPlatformNT()
{
    OSVERSIONINFOEXA info;
    return ReadVersion(info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool IsWin2000Plus()
{
    OSVERSIONINFOEXA info;
    return ReadVersion(info) && info.dwMajorVersion > 4;
}
