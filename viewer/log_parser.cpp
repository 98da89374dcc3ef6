#include "log_parser.h"

bool LogParser::ReadRecordTimes(My_Time times[4])
{
    const char* name;
    size_t length;
    return ReadRecord(name, length, times);
}

bool LogParser::ReadUsageRecord(Applic& row)
{
    const char* name;
    size_t length;
    My_Time times[4];
    if (!ReadRecord(name, length, times))
        return false;
    Applic read(std::string(name, length), "");
    CopyTimes(read, times);
    row = std::move(read);
    return true;
}
