#pragma once
#include <cstddef>
#include <string>

#include "my_time.h"
#include "text_reader.h"

// One statistics record line, byte for byte:
//   "name" TAB loaded TAB active TAB mouse TAB keyboard LF
// with each time in the display text of My_Time.
void AppendStatRecord(std::string& out, const std::string& name, const std::string& loaded,
                      const std::string& active, const std::string& mouse, const std::string& keyboard);

struct StatRecordFields {
    std::string name;
    My_Time loaded, active, mouse, keyboard;
};

// Reads one record: skips to the opening quote, reads the name up to the TAB
// and drops its last character (the closing quote), then the four times.
// Fields longer than fieldChars and names longer than nameChars are cut.
// Returns false when the file ended before an opening quote.
bool ReadStatRecord(TextReader& in, StatRecordFields& record, size_t fieldChars, size_t nameChars);

// Reads "h:m:s" ending at `end`; each number as the C library's decimal
// conversion reads it, no range check and no carry.
My_Time ReadStatTimeField(TextReader& in, char end, size_t fieldChars);
