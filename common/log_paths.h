#pragma once
#include <string>

// The log folder tree: log_path\user\year\month\day, with a "total" file in
// each month and year folder. Numbers are decimal without leading zeros and
// log_path is used exactly as stored.

std::string LogUserFolder(const std::string& logPath, const std::string& user);
std::string LogYearFolder(const std::string& logPath, const std::string& user, int year);
std::string LogMonthFolder(const std::string& logPath, const std::string& user, int year, int month);
std::string LogDayFile(const std::string& logPath, const std::string& user, int year, int month, int day);
std::string LogMonthTotal(const std::string& logPath, const std::string& user, int year, int month);
std::string LogYearTotal(const std::string& logPath, const std::string& user, int year);

// The name of the per-user folder: the whole Windows user name, however long,
// so the tracker and the viewer always agree on it.
std::string WindowsUserName();
