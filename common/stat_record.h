#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "my_time.h"

// One statistics record line, byte for byte:
//   "name" TAB loaded TAB active TAB mouse TAB keyboard LF
// with each time in the display text of My_Time.
void AppendStatRecord(std::string& out, const std::string& name, const std::string& loaded,
                      const std::string& active, const std::string& mouse, const std::string& keyboard);

// The one reader of that grammar, over a file's bytes in memory, read as the
// platform's text mode reads the file (CR LF as LF, a 0x1A byte ends it). The
// two programs differ only in how much of a field they keep: each single read
// keeps at most `fieldChars` characters (the rest of a longer field is read
// and dropped), a name at most `nameChars`. The bytes must outlive the parser.
class StatRecordParser {
public:
    StatRecordParser(const std::string& bytes, size_t fieldChars, size_t nameChars);
    StatRecordParser(const StatRecordParser&) = delete;
    StatRecordParser& operator=(const StatRecordParser&) = delete;

    // True once a read has met the end of the bytes.
    bool AtEnd() const { return atEnd_; }
    // Skips to the opening quote, then reads the name up to the TAB and drops
    // its last character (the closing quote). False only when the bytes ended
    // before an opening quote: there is no record.
    bool ReadName(const char*& begin, size_t& length);
    // "h:m:s" up to `end`; each number as the C library's decimal conversion
    // reads it (clamped to 32 bits), no range check and no carry.
    My_Time ReadTimeField(char end);
    // A record's name, then its four counters (loaded, active, mouse, keyboard).
    // A record cut off by the end after its opening quote still counts: the
    // fields that were not there read as 0. False as ReadName.
    bool ReadRecord(const char*& name, size_t& nameLength, My_Time times[4]);

private:
    // The next field up to `delim`, which is consumed; at most fieldChars of it
    // are kept. False when the end came first.
    bool Field(char delim, const char*& begin, size_t& kept);

    std::string translated_;
    const char* next_ = nullptr;
    const char* end_ = nullptr;
    size_t fieldChars_;
    size_t nameChars_;
    bool atEnd_ = false;
};
