#pragma once
#include <string>

#include "applic.h"
#include "text_reader.h"

// A text file opened for reading by the constructor and closed by the
// destructor; CR LF reads as LF and a 0x1A byte ends the file.
class Parser {
public:
    explicit Parser(std::string path) : in_(path) {}
    bool IsOpen() const { return in_.IsOpen(); }
    bool AtEnd() const { return in_.AtEnd(); }

protected:
    // Each single read keeps at most this many characters; the rest of a
    // longer field is read and dropped, so any input comes to an end.
    static constexpr size_t kFieldChars = 10023;
    TextReader in_;
};

// Takes a file's bytes whole, in one read. False, with no bytes, when the
// file cannot be opened for reading (missing, a folder, no access).
bool ReadWholeFile(const std::string& path, std::string& bytes);

// The viewer's reader of statistics files, over a file's bytes in memory.
// It reads them as the platform's text mode reads the file: CR LF reads as
// LF and a 0x1A byte ends the file. It keeps every record, empty and
// repeated names included. The bytes must outlive the parser.
class LogParser {
public:
    explicit LogParser(const std::string& bytes);
    LogParser(const LogParser&) = delete;
    LogParser& operator=(const LogParser&) = delete;

    // True once a read has met the end of the bytes.
    bool AtEnd() const { return atEnd_; }
    // False only when the bytes ended before the record's opening quote.
    // Names longer than 254 characters are cut to 254.
    bool ReadUsageRecord(Applic& row);
    // "h:m:s" up to `end`, each number as the C library's atol reads it.
    void ReadTimeField(My_Time& t, char end);
    // A record's four counters (loaded, active, mouse, keyboard) alone, for
    // sums; the name is read and dropped. False as ReadUsageRecord.
    bool ReadRecordTimes(My_Time times[4]);

    // Each single read keeps at most this many characters; the rest of a
    // longer field is read and dropped.
    static constexpr size_t kFieldChars = 10023;
    static constexpr size_t kNameChars = 254;

private:
    // The next field up to `delim`, which is consumed; at most kFieldChars
    // of it are kept. False when the end came first.
    bool Field(char delim, const char*& begin, size_t& kept);
    // Up to the opening quote and then the name field.
    bool Name(const char*& begin, size_t& length);
    int32_t Number(char delim);

    std::string translated_;   // the bytes with CR LF as LF, when they hold a CR
    const char* next_;
    const char* end_;
    bool atEnd_ = false;
};
