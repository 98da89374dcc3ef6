#pragma once
#include <string>

// Replaces a file's content whole: a temporary file in the same folder is
// written and flushed, then moved over the target, so a crash never leaves
// the target half written. When the move keeps failing (another process
// holds the target open) the target is rewritten directly.
// False when nothing could be written.
bool WriteWholeFile(const std::string& path, const std::string& bytes);
