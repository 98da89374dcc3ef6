#pragma once
#include <windows.h>

#include <string>

// The one read of a whole file that both programs use, for the statistics,
// settings and project files. The file is opened sharing read, write and
// delete, so a writer that replaces it by a rename is never in the way.
// True only when every byte was read: a read that fails part way, or that
// ends before the size the file had when it was opened, is a failure, and the
// bytes are then empty. Short of memory, it throws std::bad_alloc.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// The ReadFile call behind it; tests make it fail or come out short.
typedef BOOL(WINAPI* FileReadFn)(HANDLE file, LPVOID data, DWORD size, LPDWORD got, LPOVERLAPPED overlapped);
extern FileReadFn WholeFileReadFile;
