#include <windows.h>

#include <vector>

#include "log_paths.h"

std::string WindowsUserName()
{
    // Names longer than the classic 30-character buffer are read whole.
    std::vector<char> buffer(64);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (GetUserNameA(buffer.data(), &size))
            return std::string(buffer.data());
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size <= buffer.size())
            break;
        buffer.resize(size + 1);
    }
    // Without a name the files still need a folder of their own.
    return "unknown";
}
