#include "stat_record.h"

#include "settings_syntax.h"

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

My_Time ReadStatTimeField(TextReader& in, char end, size_t fieldChars)
{
    std::string h, m, s;
    in.ReadUntil(':', h, fieldChars);
    in.ReadUntil(':', m, fieldChars);
    in.ReadUntil(end, s, fieldChars);
    return My_Time(static_cast<int32_t>(DecimalToInt(h)), static_cast<int32_t>(DecimalToInt(m)),
                   static_cast<int32_t>(DecimalToInt(s)));
}

bool ReadStatRecord(TextReader& in, StatRecordFields& record, size_t fieldChars, size_t nameChars)
{
    record = StatRecordFields();
    std::string skipped;
    if (!in.ReadUntil('"', skipped, 0))
        return false;
    std::string field;
    in.ReadUntil('\t', field, fieldChars);
    // The field holds the name and its closing quote.
    if (field.size() > nameChars + 1)
        field.resize(nameChars + 1);
    if (!field.empty())
        field.pop_back();
    record.name = field;
    record.loaded = ReadStatTimeField(in, '\t', fieldChars);
    record.active = ReadStatTimeField(in, '\t', fieldChars);
    record.mouse = ReadStatTimeField(in, '\t', fieldChars);
    record.keyboard = ReadStatTimeField(in, '\n', fieldChars);
    return true;
}
