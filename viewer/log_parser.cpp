#include "log_parser.h"

#include "stat_record.h"

bool LogParser::ReadUsageRecord(Applic& row)
{
    StatRecordFields fields;
    if (!ReadStatRecord(in_, fields, kFieldChars, kNameChars))
        return false;
    Applic read(fields.name, "");
    const My_Time times[4] = {fields.loaded, fields.active, fields.mouse, fields.keyboard};
    CopyTimes(read, times);
    row = read;
    return true;
}

void LogParser::ReadTimeField(My_Time& t, char end)
{
    t = ReadStatTimeField(in_, end, kFieldChars);
}
