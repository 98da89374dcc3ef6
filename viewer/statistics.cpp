#include "statistics.h"

#include <algorithm>
#include <new>

#include "log_folder.h"
#include "messages.h"

bool Statistics::Run(TDate from, TDate to)
{
    return Guarded([&] { return Collect(from, to); });
}

bool Statistics::Collect(TDate from, TDate to)
{
    ClearLists();
    FileList files;
    CollectFiles(files, from, to);
    CollectPeriods(from);
    SortPeriods();
    CollectPeriodFiles();
    return RunProgressThread(this, files);
}

bool Statistics::Guarded(const std::function<bool()>& run)
{
    std::string text;
    try {
        return run();
    } catch (const std::bad_alloc&) {
        text = "Not enough memory to read the statistics.";
    } catch (const std::exception& error) {
        // Among them a folder or file name that is no calendar date.
        text = error.what();
    } catch (...) {
        text = "The statistics could not be read.";
    }
    // Nothing half collected or half read stays behind.
    ClearLists();
    ShowRunError(text);
    return false;
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
