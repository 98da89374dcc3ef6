#include "statistics.h"

#include <algorithm>

#include "log_folder.h"
#include "messages.h"

bool Statistics::Run(TDate from, TDate to)
{
    ClearLists();
    FileList files;
    try {
        CollectFiles(files, from, to);
        CollectPeriods(from);
        SortPeriods();
        CollectPeriodFiles();
    } catch (const DateEncodeError& error) {
        // A folder or file name that is no calendar date: nothing is read,
        // and nothing half collected stays behind.
        ClearLists();
        ShowRunError(error.what());
        return false;
    }
    return RunProgressThread(this, files);
}

void Statistics::ClearLists()
{
    results_->clear();
    totalDates_->periodDates.clear();
    totalDates_->totals.clear();
    totalDates_->periodFiles.clear();
}

void Statistics::SortPeriods()
{
    std::sort(totalDates_->periodDates.begin(), totalDates_->periodDates.end());
}

std::string Statistics::DayFile(TDate date) const
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    return MonthFolder(*this, date) + "\\" + std::to_string(d);
}

std::string Statistics::MonthTotal(TDate date) const
{
    return MonthFolder(*this, date) + "\\total";
}

std::string Statistics::YearTotal(TDate date) const
{
    return YearFolder(*this, date) + "\\total";
}

void Statistics::SetLabels(const std::string& name, const std::string& year, const std::string& month,
                           const std::string& day)
{
    totalDates_->labels[0] = name;
    totalDates_->labels[1] = year;
    totalDates_->labels[2] = month;
    totalDates_->labels[3] = day;
}
