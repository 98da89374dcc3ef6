#pragma once
#include <string>

#include "text_reader.h"

// The "key = value" lines of the settings files, shared by both programs.

// Longest key and value kept; longer ones are cut, and the rest of the line
// is still consumed, so the next line reads normally.
constexpr size_t kSettingsKeyChars = 49;
constexpr size_t kSettingsValueChars = 255;

// Drops leading characters that are neither letters, digits, "\" nor ":".
void TrimLeft(std::string& text);
// Drops such characters at the end; the first character always stays.
void TrimRight(std::string& text);

// Characters up to the next "=" (the read crosses line ends), trimmed.
std::string ReadSettingsKey(TextReader& in);
// Characters up to the next line feed, trimmed: TrimLeft, then TrimValueRight.
// The blanks after "=" are not counted against the characters kept. `minus`, when
// given, tells whether a "-" stood right before the first character kept, so a
// number the programs wrote negative can be read back with its sign.
std::string ReadSettingsValue(TextReader& in, bool* minus = nullptr);

// TrimRight for values: at the end it drops only white space and other control
// characters, ".", quotes, ";" and the characters no file name may hold, so a
// folder name ending in ")", "_", "-" or the like reads back whole.
void TrimValueRight(std::string& text);

// The C library's decimal conversion: white space, a sign, then digits up to
// the first other character; 0 when there are none. Clamped to 32 bits.
long DecimalToInt(const std::string& text);
long DecimalToInt(const char* text, size_t length);

// One settings line as written: key, " = ", value, and the line end as CR LF.
std::string SettingsLine(const std::string& key, const std::string& value, bool lineEnd = true);
