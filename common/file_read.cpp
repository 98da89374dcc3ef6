#include "file_read.h"

#include <algorithm>
#include <cstdint>
#include <new>

FileReadFn WholeFileReadFile = ReadFile;

namespace {

struct FileHandle {
    HANDLE handle;
    ~FileHandle() { CloseHandle(handle); }
};

} // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return false;
    FileHandle file = {opened};
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.handle, &size))
        return false;
    if (static_cast<unsigned long long>(size.QuadPart) > SIZE_MAX / 2)
        throw std::bad_alloc();
    const size_t expected = static_cast<size_t>(size.QuadPart);
    // One read of the size the file has; the next one meets its end, or
    // whatever it has grown by since.
    bytes.resize(expected + 4096);
    size_t have = 0;
    for (;;) {
        if (have == bytes.size())
            bytes.resize(bytes.size() * 2);
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - have, size_t(1) << 30));
        DWORD got = 0;
        if (!WholeFileReadFile(file.handle, &bytes[have], want, &got, nullptr)) {
            bytes.clear();
            return false;
        }
        if (got == 0)
            break;
        have += got;
    }
    bytes.resize(have);
    if (have < expected) {
        // Cut short: taken as whole, the next save would write the shorter list over it.
        bytes.clear();
        return false;
    }
    return true;
}

bool TryReadWholeFile(const std::string& path, std::string& bytes)
{
    try {
        return ReadWholeFile(path, bytes);
    } catch (const std::bad_alloc&) {
        bytes.clear();
        return false;
    }
}

bool FileMissing(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return false;
    const DWORD error = GetLastError();
    return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && VolumeReachable(path);
}

std::string FullPath(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::string();
    std::string full(GetFullPathNameA(path.c_str(), 0, nullptr, nullptr), '\0');
    const DWORD length = full.empty() ? 0 : GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
    if (length == 0 || length >= full.size())
        return std::string();
    full.resize(length);
    while (full.size() > 3 && full.back() == '\\')
        full.pop_back();
    return full;
}

bool SameName(const std::string& a, const std::string& b)
{
    auto folded = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return folded(x) == folded(y); });
}

bool VolumeReachable(const std::string& path)
{
    std::string root = FullPath(path);
    if (root.empty())
        return false;
    if (root.compare(0, 2, "\\\\") == 0) {
        // \\server\share\ : the end of the share's name.
        const size_t share = root.find('\\', 2);
        const size_t end = share == std::string::npos ? share : root.find('\\', share + 1);
        root = end == std::string::npos ? root + "\\" : root.substr(0, end + 1);
    } else {
        root = root.substr(0, 3);
    }
    return GetFileAttributesA(root.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ForEachEntry(const std::string& pattern, const std::function<void(const WIN32_FIND_DATAA&)>& each)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do
        each(data);
    while (FindNextFileA(find, &data));
    FindClose(find);
}
