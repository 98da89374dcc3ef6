#pragma once
#include <string>

#include "applic.h"
#include "stat_record.h"
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

// The viewer's reader of statistics files, over a file's bytes in memory.
// It keeps every record, empty and repeated names included, and keeps more
// of a long field than the tracker does. The bytes must outlive the parser.
class LogParser : public StatRecordParser {
public:
    static constexpr size_t kFieldChars = 10023;
    static constexpr size_t kNameChars = 254;

    explicit LogParser(const std::string& bytes) : StatRecordParser(bytes, kFieldChars, kNameChars) {}

    // False only when the bytes ended before the record's opening quote.
    bool ReadUsageRecord(Applic& row);
    void ReadTimeField(My_Time& t, char end) { t = StatRecordParser::ReadTimeField(end); }
    // A record's four counters alone, for sums; the name is read and dropped.
    bool ReadRecordTimes(My_Time times[4]);
};
