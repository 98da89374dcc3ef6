#include "log_folder.h"
#include "statistics.h"

// Each day of the range is covered by exactly one listed file. Numbers are
// only compared with the range, so a name that is no number never counts.

bool StatisticsCustom::Run(TDate from, TDate to)
{
    return Guarded([&] { return Tile(from, to); });
}

bool StatisticsCustom::Tile(TDate from, TDate to)
{
    ClearLists();
    int y1, m1, d1, y2, m2, d2;
    DecodeDate(from, y1, m1, d1);
    DecodeDate(to, y2, m2, d2);
    FileList files;
    if (y1 == y2 && m1 == m2) {
        AddDays(files, y1, m1, d1, d2);
    } else if (y1 == y2 && m1 < m2) {
        AddWholeMonths(files, y1, m1 + 1, m2 - 1);
        AddDays(files, y1, m1, d1, DaysInMonth(y1, m1));
        AddDays(files, y1, m2, 1, d2);
    } else if (y1 < y2) {
        AddWholeYears(files, y1, y2);
        AddWholeMonths(files, y1, m1 + 1, 12);
        AddWholeMonths(files, y2, 1, m2 - 1);
        AddDays(files, y1, m1, d1, DaysInMonth(y1, m1));
        AddDays(files, y2, m2, 1, d2);
    }
    // A reversed range lists nothing.
    SetLabels(FormatDate("yyyy, mmmm, d", from) + " - " + FormatDate("yyyy, mmmm, d", to), "", "", "");
    return RunProgressThread(this, files);
}

void StatisticsCustom::AddWholeYears(FileList& files, int y1, int y2)
{
    std::string user = UserLogFolder(*this);
    for (int y : EnumNumericFolders(user)) {
        if (y1 < y && y < y2)
            files.push_back(user + std::to_string(y) + "\\total");
    }
}

void StatisticsCustom::AddWholeMonths(FileList& files, int year, int first, int last)
{
    if (first > last)
        return;
    std::string folder = UserLogFolder(*this) + std::to_string(year) + "\\";
    for (int c : EnumNumericFolders(folder)) {
        if (first <= c && c <= last)
            files.push_back(folder + std::to_string(c) + "\\total");
    }
}

void StatisticsCustom::AddDays(FileList& files, int year, int month, int first, int last)
{
    std::string folder = UserLogFolder(*this) + std::to_string(year) + "\\" + std::to_string(month) + "\\";
    for (int n : EnumNumericFiles(folder)) {
        if (first <= n && n <= last)
            files.push_back(folder + std::to_string(n));
    }
}
