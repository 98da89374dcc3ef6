#include "data_folder.h"

#include <windows.h>
#include <shlobj.h>

#include "settings_syntax.h"
#include "win_version.h"

namespace {

std::string& Override()
{
    static std::string folder;
    return folder;
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetCurrentDirectoryA(sizeof(buffer), buffer);
    if (n == 0 || n >= sizeof(buffer))
        return ".";
    return buffer;
}

} // namespace

void SetDataFolderOverride(const std::string& folder)
{
    Override() = folder;
}

std::string DataFolder()
{
    if (!Override().empty())
        return Override();
    if (!IsPlatformNT())
        return CurrentDirectory();
    LPITEMIDLIST list = nullptr;
    char path[MAX_PATH] = {};
    bool found = SHGetSpecialFolderLocation(nullptr, CSIDL_APPDATA, &list) == S_OK && list &&
                 SHGetPathFromIDListA(list, path);
    if (list)
        CoTaskMemFree(list);
    // Without an application-data folder the settings stay beside the programs.
    if (!found || path[0] == '\0')
        return CurrentDirectory();
    std::string folder = std::string(path) + "\\Kaltrow";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string DefaultLogFolder()
{
    return DataFolder() + "\\Log";
}

std::string LogFolderAsRead(const std::string& typed)
{
    // Read as a start reads the value of the line "log_path = <typed>" back.
    TextReader line(TextReader::InMemory(), typed);
    const std::string value = ReadSettingsValue(line);
    return value.empty() ? DefaultLogFolder() : value;
}
