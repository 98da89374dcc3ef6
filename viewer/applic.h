#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "my_time.h"
#include "viewer_date.h"

class TotalListView;

// One application row: a record read from a statistics file (path = the
// name in the file), a project row (path = the executable's full path), the
// project's closing "Total" row, or a per-period sum (path = the file summed).
class Applic {
public:
    Applic() = default;
    Applic(std::string path, std::string name) : path(std::move(path)), name(std::move(name)) {}

    std::string path;
    std::string name;
    My_Time loaded, active, mouse, keyboard;
    HICON icon = nullptr;
    bool flag = false;
};

using ApplicList = std::vector<Applic>;

// The sum a + b with seconds and minutes carried at 60; the text stays empty.
My_Time AddTimes(My_Time a, const My_Time& b);

// "h:m:s", stored as t's text and returned. Any 32-bit hours are shown whole.
std::string TimeToText(My_Time& t);

// Same path and same name, byte for byte.
bool SameApplic(const Applic& a, const Applic& b);

// times: loaded, active, mouse, keyboard.
void CopyTimes(Applic& row, const My_Time times[4]);

// b's path and name with the carrying sums of a's and b's durations.
Applic SumApplic(const Applic& a, const Applic& b);

// The text after the last backslash; a path whose only backslash is its
// first character, or that has none, is returned whole.
std::string FileNamePart(const std::string& path);

// The rows of the period list of the current level. After a level run
// totals, periodFiles and periodDates correspond index by index.
class TotalDates {
public:
    ApplicList totals;
    std::vector<std::string> periodFiles;
    std::vector<TDate> periodDates;
    std::string rowDateFormat;   // empty: the level shows no period rows
    std::string labels[4];       // period name, year, month, day
    TotalListView* view = nullptr;
};
