#include "test_support.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    char base[MAX_PATH] = {};
    GetTempPathA(sizeof(base), base);
    std::string root = base;
    if (!root.empty() && root.back() == '\\')
        root.pop_back();
    for (int i = 0;; ++i) {
        path_ = root + "\\klrtest_" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(counter++) + "_" + std::to_string(i);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
    }
}

TempDir::~TempDir()
{
    RemoveTree(path_);
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string ReadBytes(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return "<missing>";
    std::string bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
        bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

bool FileExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolders(const std::string& path)
{
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') {
            std::string part = path.substr(0, i);
            if (!part.empty() && part.back() != ':')
                CreateDirectoryA(part.c_str(), nullptr);
        }
    }
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}

HANDLE HoldUnshared(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::vector<std::string> NamesIn(const std::string& folder, bool folders, const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\" + pattern).c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data)) {
        std::string name = data.cFileName;
        bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder == folders && name != "." && name != "..")
            names.push_back(name);
    }
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool HasEntry(const std::string& variables, const std::string& entry)
{
    for (size_t at = 0; at < variables.size();) {
        size_t end = variables.find('\0', at);
        if (end == std::string::npos)
            end = variables.size();
        if (variables.compare(at, end - at, entry) == 0)
            return true;
        at = end + 1;
    }
    return false;
}

} // namespace

std::string ReadUnixFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

std::vector<std::string> UnixProcessFolders(const std::string& commandWord)
{
    std::vector<std::string> found;
    char prefix[MAX_PATH] = {};
    GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
    const std::string ours = std::string("WINEPREFIX=") + prefix;
    const std::string word = Lower(commandWord);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &data);
    if (find == INVALID_HANDLE_VALUE)
        return found;
    do {
        std::string pid = data.cFileName;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string folder = "Z:\\proc\\" + pid;
        if (Lower(ReadUnixFile(folder + "\\cmdline")).find(word) == std::string::npos)
            continue;
        if (HasEntry(ReadUnixFile(folder + "\\environ"), ours))
            found.push_back(folder);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return found;
}
