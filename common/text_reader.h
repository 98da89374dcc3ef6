#pragma once
#include <cstddef>
#include <string>

// The bytes of a file as the platform's text mode reads them, the same in
// every build: a CR directly before an LF is dropped, any other CR stays, and
// a 0x1A byte ends the file. [begin, end) is `bytes` itself when nothing is to
// be dropped, else `translated`; both must outlive the range.
void TextModeRange(const std::string& bytes, std::string& translated, const char*& begin, const char*& end);

// Reads a file in text mode (above), taken whole at construction with
// ReadWholeFile. Every read is bounded, so any input (binary junk, endless
// lines, no final line end) comes to an end without growing past its limit.
class TextReader {
public:
    explicit TextReader(const std::string& path);
    // Reads bytes held in memory the same way, as if a file held them.
    struct InMemory {};
    TextReader(InMemory, std::string bytes);
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    // False when the file could not be read whole (missing, held, a failed read).
    bool IsOpen() const { return open_; }
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
    std::string bytes_;
    std::string translated_;
    const char* next_ = nullptr;
    const char* end_ = nullptr;
    bool open_ = false;
    bool atEnd_ = false;
};
