#include <windows.h>

#include "log_folder.h"
#include "statistics.h"

namespace {

const char kAllYears[] = "All years";

// Whether a day has a file, without opening it: the run opens each file
// once, under the statistics mutex. A folder of that name is no day file.
bool IsPlainFile(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string RangeCaption(TDate from, TDate to)
{
    return FormatDate("yyyy, mmmm, d", from) + " - " + FormatDate("yyyy, mmmm, d", to);
}

} // namespace

// Day: the day file alone; one period date whose row the list does not show.

std::string StatisticsDay::CollectFiles(FileList& files, TDate from, TDate)
{
    files.push_back(DayFile(from));
    return files.back();
}

void StatisticsDay::CollectPeriods(TDate from)
{
    totalDates_->rowDateFormat.clear();
    totalDates_->periodDates.push_back(from);
    FileList scratch;
    totalDates_->periodFiles.push_back(CollectFiles(scratch, from, from));
    SetLabels(kAllYears, FormatDate("yyyy", from), FormatDate("mmmm", from), FormatDate("d", from));
}

// Week: every day of the range that has a file, one row each.

std::string StatisticsWeek::CollectFiles(FileList& files, TDate from, TDate to)
{
    for (TDate d = from; d <= to; d += 1) {
        std::string path = DayFile(d);
        if (IsPlainFile(path)) {
            totalDates_->periodDates.push_back(d);
            files.push_back(path);
        }
    }
    totalDates_->rowDateFormat = "ddd, dd";
    SetLabels(RangeCaption(from, to), "", "", "");
    return std::string();
}

void StatisticsWeek::CollectPeriodFiles()
{
    for (TDate d : totalDates_->periodDates)
        totalDates_->periodFiles.push_back(DayFile(d));
}

// Month: the month total, and a row per day file of the month folder.

std::string StatisticsMonth::CollectFiles(FileList& files, TDate from, TDate)
{
    files.push_back(MonthTotal(from));
    return files.back();
}

void StatisticsMonth::CollectPeriods(TDate from)
{
    int y, m, d;
    DecodeDate(from, y, m, d);
    for (int n : EnumNumericFiles(MonthFolder(*this, from) + "\\"))
        totalDates_->periodDates.push_back(EncodeDate(y, m, n));
    SetLabels(kAllYears, FormatDate("yyyy", from), FormatDate("mmmm", from), "");
    totalDates_->rowDateFormat = "ddd, dd";
}

void StatisticsMonth::CollectPeriodFiles()
{
    for (TDate d : totalDates_->periodDates)
        totalDates_->periodFiles.push_back(DayFile(d));
}

// Year: the year total, and a row per month folder.

std::string StatisticsYear::CollectFiles(FileList& files, TDate from, TDate)
{
    files.push_back(YearTotal(from));
    return files.back();
}

void StatisticsYear::CollectPeriods(TDate from)
{
    int y, m, d;
    DecodeDate(from, y, m, d);
    for (int n : EnumNumericFolders(YearFolder(*this, from) + "\\"))
        totalDates_->periodDates.push_back(EncodeDate(y, n, 1));
    SetLabels(kAllYears, FormatDate("yyyy", from), "", "");
    totalDates_->rowDateFormat = "mmmm";
}

void StatisticsYear::CollectPeriodFiles()
{
    for (TDate d : totalDates_->periodDates)
        totalDates_->periodFiles.push_back(MonthTotal(d));
}

// All years: every year total of the user folder; the range is not used.

std::string StatisticsAllYears::CollectFiles(FileList& files, TDate, TDate)
{
    std::string user = UserLogFolder(*this);
    for (int n : EnumNumericFolders(user)) {
        totalDates_->periodDates.push_back(EncodeDate(n, 1, 1));
        files.push_back(user + std::to_string(n) + "\\total");
    }
    SetLabels(kAllYears, "", "", "");
    totalDates_->rowDateFormat = "yyyy";
    return std::string();
}

void StatisticsAllYears::CollectPeriodFiles()
{
    for (TDate d : totalDates_->periodDates)
        totalDates_->periodFiles.push_back(YearTotal(d));
}
