#pragma once
#include <windows.h>

#include <string>

// Replaces a file's content whole: a temporary file beside it (a name of this
// process's own) is written and flushed, then moved over the target, so a crash
// never leaves the target half written. When the temporary cannot be written
// whole, or the move keeps failing (another process holds the target open),
// the temporary goes and the target stays as it was: false, the bytes did not
// reach it.
bool WriteWholeFile(const std::string& path, const std::string& bytes);

// The steps of that replacement, for writers that put the copies elsewhere and
// replace several files together (the statistics files).
typedef BOOL(WINAPI* FileWriteFn)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);

enum class WriteOutcome {
    Written,     // every byte, flushed when asked
    NotCreated,  // the file could not be created or truncated
    Short,       // created, but not every byte was written
};

// Creates or truncates `path` and writes `bytes` through `write` (one call for
// up to a megabyte); the file is closed again in every case.
WriteOutcome WriteNewFile(const std::string& path, const std::string& bytes, bool flush, FileWriteFn write);

// Writes and flushes the temporary; one that comes out short is deleted.
WriteOutcome WriteTemporary(const std::string& temp, const std::string& bytes, FileWriteFn write);

// Moves `temp` over `target` on the same volume, with a few short retries while
// another process holds the target open. False when it kept failing.
constexpr int kMoveAttempts = 4;
bool MoveOverTarget(const std::string& temp, const std::string& target, int attempts = kMoveAttempts);

// The temporary beside `path` that WriteWholeFile uses in this process.
std::string TemporaryBeside(const std::string& path);

// Deletes the temporaries WriteWholeFile left beside `path` in processes that
// no longer run (killed part way through a save). One of a process that still
// runs may be in use and stays, and so does any name WriteWholeFile does not make.
void RemoveStaleTemporaries(const std::string& path);

// WriteWholeFile through a given write call.
bool ReplaceWholeFile(const std::string& path, const std::string& bytes, FileWriteFn write);
