#pragma once
#include <functional>
#include <string>
#include <vector>

#include "applic.h"
#include "viewer_date.h"

using FileList = std::vector<std::string>;

// One kind of period (Day, Week, Month, Year, All years, Custom). A run
// names the level's own files, whose records go to the results, and one
// period file per period date, each summed into one period total.
class Statistics {
public:
    Statistics(ApplicList* results, TotalDates* totalDates, Statistics* parent)
        : results_(results), totalDates_(totalDates), parent_(parent) {}
    virtual ~Statistics() = default;
    Statistics(const Statistics&) = delete;
    Statistics& operator=(const Statistics&) = delete;

    // False when the run failed (a folder or file name that makes no
    // calendar date, too little memory, a reading that could not start); the
    // error has then been shown and the lists are empty.
    virtual bool Run(TDate from, TDate to);
    // Appends the own files; returns the one file of Day, Month and Year.
    virtual std::string CollectFiles(FileList& files, TDate from, TDate to) = 0;
    virtual void CollectPeriods(TDate from) = 0;
    virtual void CollectPeriodFiles() = 0;

    // Empties the results and the period dates, totals and files; the row
    // date format and the labels stay until the next run sets them.
    void ClearLists();
    void SortPeriods();

    void SetLogFolder(const std::string& text) { logFolder_ = text; }
    const std::string& LogFolder() const { return logFolder_; }
    Statistics* Parent() const { return parent_; }
    ApplicList* Results() const { return results_; }
    TotalDates* Totals() const { return totalDates_; }

protected:
    // Runs one computation; whatever stops it is shown in the run's error
    // box and leaves the lists empty.
    bool Guarded(const std::function<bool()>& run);
    // The file paths of one date under this level's log folder.
    std::string DayFile(TDate date) const;
    std::string MonthTotal(TDate date) const;
    std::string YearTotal(TDate date) const;
    void SetLabels(const std::string& name, const std::string& year, const std::string& month,
                   const std::string& day);

    ApplicList* results_;
    TotalDates* totalDates_;
    Statistics* parent_;
    std::string logFolder_;

private:
    bool Collect(TDate from, TDate to);
};

class StatisticsDay : public Statistics {
public:
    using Statistics::Statistics;
    std::string CollectFiles(FileList& files, TDate from, TDate to) override;
    void CollectPeriods(TDate from) override;
    void CollectPeriodFiles() override {}
};

class StatisticsWeek : public Statistics {
public:
    using Statistics::Statistics;
    std::string CollectFiles(FileList& files, TDate from, TDate to) override;
    void CollectPeriods(TDate) override {}
    void CollectPeriodFiles() override;
};

class StatisticsMonth : public Statistics {
public:
    using Statistics::Statistics;
    std::string CollectFiles(FileList& files, TDate from, TDate to) override;
    void CollectPeriods(TDate from) override;
    void CollectPeriodFiles() override;
};

class StatisticsYear : public Statistics {
public:
    using Statistics::Statistics;
    std::string CollectFiles(FileList& files, TDate from, TDate to) override;
    void CollectPeriods(TDate from) override;
    void CollectPeriodFiles() override;
};

class StatisticsAllYears : public Statistics {
public:
    using Statistics::Statistics;
    std::string CollectFiles(FileList& files, TDate from, TDate to) override;
    void CollectPeriods(TDate) override {}
    void CollectPeriodFiles() override;
};

// Any range of whole days, tiled into the day files of its first and last
// month, the month totals in between and the year totals in between.
class StatisticsCustom : public Statistics {
public:
    StatisticsCustom(ApplicList* results, TotalDates* totalDates) : Statistics(results, totalDates, nullptr) {}
    bool Run(TDate from, TDate to) override;
    std::string CollectFiles(FileList&, TDate, TDate) override { return std::string(); }
    void CollectPeriods(TDate) override {}
    void CollectPeriodFiles() override {}

    void AddWholeYears(FileList& files, int y1, int y2);
    void AddWholeMonths(FileList& files, int year, int first, int last);
    void AddDays(FileList& files, int year, int month, int first, int last);

private:
    bool Tile(TDate from, TDate to);
};

// Runs the reading of one computation and waits for it; throws what the
// reading threw, or when it could not be started (progress_thread.cpp).
bool RunProgressThread(Statistics* level, FileList& ownFiles);
