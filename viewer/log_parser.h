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

// The viewer's reader of statistics files. It keeps every record, empty and
// repeated names included.
class LogParser : public Parser {
public:
    using Parser::Parser;
    // False only when the file ended before the record's opening quote.
    // Names longer than 254 characters are cut to 254.
    bool ReadUsageRecord(Applic& row);
    // "h:m:s" up to `end`, each number as the C library's atol reads it.
    void ReadTimeField(My_Time& t, char end);

    static constexpr size_t kNameChars = 254;
};
