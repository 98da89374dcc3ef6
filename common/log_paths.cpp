#include "log_paths.h"

std::string LogUserFolder(const std::string& logPath, const std::string& user)
{
    return logPath + "\\" + user;
}

std::string LogYearFolder(const std::string& logPath, const std::string& user, int year)
{
    return LogUserFolder(logPath, user) + "\\" + std::to_string(year);
}

std::string LogMonthFolder(const std::string& logPath, const std::string& user, int year, int month)
{
    return LogYearFolder(logPath, user, year) + "\\" + std::to_string(month);
}

std::string LogDayFile(const std::string& logPath, const std::string& user, int year, int month, int day)
{
    return LogMonthFolder(logPath, user, year, month) + "\\" + std::to_string(day);
}

std::string LogMonthTotal(const std::string& logPath, const std::string& user, int year, int month)
{
    return LogMonthFolder(logPath, user, year, month) + "\\total";
}

std::string LogYearTotal(const std::string& logPath, const std::string& user, int year)
{
    return LogYearFolder(logPath, user, year) + "\\total";
}
