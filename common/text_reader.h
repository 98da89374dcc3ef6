#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

// Reads a file the way the platform's text mode does, the same in every build:
// CR LF reads as LF, a lone CR stays, and a 0x1A byte ends the file.
// Every read is bounded, so any input (binary junk, endless lines, no final
// line end) comes to an end without growing past its limit.
class TextReader {
public:
    explicit TextReader(const std::string& path);
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    // True once a read has met the end of the file.
    bool AtEnd() const { return atEnd_; }
    void Close();

    // Next character, or -1 at the end of the file.
    int Get();

    // Reads up to `delim`, which is consumed and not stored. At most `maxChars`
    // characters are kept; the rest of a longer field is read and dropped.
    // Returns true when the delimiter was found, false when the end came first.
    bool ReadUntil(char delim, std::string& out, size_t maxChars);

private:
    int RawGet();

    std::FILE* file_ = nullptr;
    bool atEnd_ = false;
    int pending_ = -1;
};
