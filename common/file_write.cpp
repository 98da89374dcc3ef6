#include "file_write.h"

#include <windows.h>

#include <algorithm>

namespace {

bool WriteDirect(const std::string& path, const std::string& bytes, bool flush)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        ok = WriteFile(file, bytes.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    if (ok && flush)
        ok = FlushFileBuffers(file) != FALSE;
    CloseHandle(file);
    return ok;
}

} // namespace

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    const std::string temp = path + ".new";
    if (WriteDirect(temp, bytes, true)) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            Sleep(20);
        }
        DeleteFileA(temp.c_str());
    }
    return WriteDirect(path, bytes, false);
}
