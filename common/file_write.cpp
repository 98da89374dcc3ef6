#include "file_write.h"

#include <algorithm>
#include <cstdlib>

#include "file_read.h"

namespace {

// A rename onto a file that another process holds open fails for a moment
// (a virus scanner, or any open file under Wine): a few short retries.
constexpr DWORD kMoveRetryMs = 25;

// The process id keeps two programs writing the same file (both write
// "kaltrow.ini") off each other's temporary, and no user names a file so.
const char kTemporaryMark[] = ".~klr";

std::string TemporaryOf(const std::string& path, const std::string& pid)
{
    return path + kTemporaryMark + pid + ".tmp";
}

std::string TemporaryOf(const std::string& path, DWORD pid)
{
    return TemporaryOf(path, std::to_string(pid));
}

// True when `name` is the temporary of `fileName` that process `pid` makes.
bool WrittenBy(const std::string& name, const std::string& fileName, DWORD& pid)
{
    size_t digitsAt = fileName.size() + sizeof(kTemporaryMark) - 1;
    if (name.size() <= digitsAt)
        return false;
    pid = std::strtoul(name.c_str() + digitsAt, nullptr, 10);
    return lstrcmpiA(name.c_str(), TemporaryOf(fileName, pid).c_str()) == 0;
}

// This process writes and removes its temporaries within one call, so one of
// its own id found before a save is left by an ended process that had the id.
bool OtherProcessRuns(DWORD pid)
{
    if (pid == GetCurrentProcessId())
        return false;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER;  // refused: it runs
    bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

} // namespace

WriteOutcome WriteNewFile(const std::string& path, const std::string& bytes, bool flush, FileWriteFn write)
{
    // Readers and writers that share writing (a viewer, a scanner) are no obstacle.
    HANDLE file = path.empty() ? INVALID_HANDLE_VALUE
                               : CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return WriteOutcome::NotCreated;
    bool whole = true;
    size_t done = 0;
    while (whole && done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        write(file, bytes.data() + done, chunk, &written, nullptr);
        whole = written == chunk;
        done += written;
    }
    if (whole && flush)
        whole = FlushFileBuffers(file) != FALSE;
    CloseHandle(file);
    return whole ? WriteOutcome::Written : WriteOutcome::Short;
}

WriteOutcome WriteTemporary(const std::string& temp, const std::string& bytes, FileWriteFn write)
{
    WriteOutcome outcome = WriteNewFile(temp, bytes, true, write);
    if (outcome == WriteOutcome::Short)
        DeleteFileA(temp.c_str());
    return outcome;
}

bool MoveOverTarget(const std::string& temp, const std::string& target, int attempts)
{
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD error = GetLastError();
        bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!busy || attempt >= attempts)
            return false;
        Sleep(kMoveRetryMs);
    }
}

std::string TemporaryBeside(const std::string& path)
{
    return TemporaryOf(path, GetCurrentProcessId());
}

void RemoveStaleTemporaries(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    const std::string fileName = path.substr(nameAt);
    ForEachEntry(TemporaryOf(path, "*"), [&](const WIN32_FIND_DATAA& found) {
        DWORD pid = 0;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && WrittenBy(found.cFileName, fileName, pid) &&
            !OtherProcessRuns(pid))
            DeleteFileA((path.substr(0, nameAt) + found.cFileName).c_str());
    });
}

bool ReplaceWholeFile(const std::string& path, const std::string& bytes, FileWriteFn write)
{
    // The target is only ever replaced by a whole copy, never rewritten in
    // place: a kill in the middle of a direct rewrite would leave it cut.
    const std::string temp = TemporaryBeside(path);
    if (WriteTemporary(temp, bytes, write) != WriteOutcome::Written)
        return false;
    if (MoveOverTarget(temp, path))
        return true;
    DeleteFileA(temp.c_str());
    return false;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    return ReplaceWholeFile(path, bytes, WriteFile);
}
