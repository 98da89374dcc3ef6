#include "stat_record.h"

#include <cstring>

#include "settings_syntax.h"
#include "text_reader.h"

void AppendStatRecord(std::string& out, const std::string& name, const std::string& loaded,
                      const std::string& active, const std::string& mouse, const std::string& keyboard)
{
    out += '"';
    out += name;
    out += "\"\t";
    out += loaded;
    out += '\t';
    out += active;
    out += '\t';
    out += mouse;
    out += '\t';
    out += keyboard;
    out += '\n';
}

StatRecordParser::StatRecordParser(const std::string& bytes, size_t fieldChars, size_t nameChars)
    : fieldChars_(fieldChars), nameChars_(nameChars)
{
    TextModeRange(bytes, translated_, next_, end_);
}

bool StatRecordParser::Field(char delim, const char*& begin, size_t& kept)
{
    begin = next_;
    size_t left = static_cast<size_t>(end_ - next_);
    const void* found = left ? std::memchr(next_, delim, left) : nullptr;
    size_t length;
    if (found) {
        length = static_cast<size_t>(static_cast<const char*>(found) - next_);
        next_ += length + 1;
    } else {
        length = left;
        next_ = end_;
        atEnd_ = true;
    }
    kept = length < fieldChars_ ? length : fieldChars_;
    return found != nullptr;
}

bool StatRecordParser::ReadName(const char*& begin, size_t& length)
{
    if (!Field('"', begin, length))
        return false;
    Field('\t', begin, length);
    // The field holds the name and its closing quote.
    if (length > nameChars_ + 1)
        length = nameChars_ + 1;
    if (length > 0)
        --length;
    return true;
}

My_Time StatRecordParser::ReadTimeField(char end)
{
    int32_t parts[3];
    const char delims[3] = {':', ':', end};
    for (int i = 0; i < 3; ++i) {
        const char* p;
        size_t length;
        Field(delims[i], p, length);
        parts[i] = static_cast<int32_t>(DecimalToInt(p, length));
    }
    return My_Time(parts[0], parts[1], parts[2]);
}

bool StatRecordParser::ReadRecord(const char*& name, size_t& nameLength, My_Time times[4])
{
    if (!ReadName(name, nameLength))
        return false;
    times[0] = ReadTimeField('\t');
    times[1] = ReadTimeField('\t');
    times[2] = ReadTimeField('\t');
    times[3] = ReadTimeField('\n');
    return true;
}
