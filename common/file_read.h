#pragma once
#include <windows.h>

#include <functional>
#include <string>

// The one read of a whole file that both programs use, for the statistics,
// settings and project files. The file is opened sharing read, write and
// delete, so a writer that replaces it by a rename is never in the way.
// True only when every byte was read: a read that fails part way, or that
// ends before the size the file had when it was opened, is a failure, and the
// bytes are then empty. Short of memory, it throws std::bad_alloc.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// The same for a reader that cannot report a lack of memory: a file too large
// to hold is one that could not be read.
bool TryReadWholeFile(const std::string& path, std::string& bytes);
// True when nothing is at `path` (or on the way to it) on a volume that is
// there: a file that cannot be read is not a missing one, and neither is one
// on a drive or network share that cannot be reached (a USB disk not plugged
// in yet): what it holds is not known.
bool FileMissing(const std::string& path);
// A path as Windows resolves it before any file access (".." and doubled
// backslashes gone, relative to the current folder), without a closing "\";
// empty when it cannot be resolved. Case is kept: compare with SameName.
std::string FullPath(const std::string& path);
// Two names as Windows matches them, without regard to case; only ASCII letters
// are folded, so two different names are never taken for one.
bool SameName(const std::string& a, const std::string& b);
// True when the drive root or the \\server\share of `path` can be reached.
bool VolumeReachable(const std::string& path);

// Calls `each` for every entry that FindFirstFileA finds for `pattern`, "." and
// ".." included; `each` may delete the entry it is given.
void ForEachEntry(const std::string& pattern, const std::function<void(const WIN32_FIND_DATAA&)>& each);

// The ReadFile call behind it; tests make it fail or come out short.
typedef BOOL(WINAPI* FileReadFn)(HANDLE file, LPVOID data, DWORD size, LPDWORD got, LPOVERLAPPED overlapped);
extern FileReadFn WholeFileReadFile;
