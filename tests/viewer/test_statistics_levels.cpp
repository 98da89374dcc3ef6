#include <gtest/gtest.h>

#include <algorithm>

#include "statistics.h"
#include "viewer_fakes.h"

namespace {

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

std::string T(My_Time t)
{
    return TimeToText(t);
}

// The six levels with their parents, over one log tree.
class Levels : public ::testing::Test {
protected:
    Levels()
        : lists(778000 + static_cast<int>(GetCurrentProcessId() % 1000)),
          day(&lists.results, &lists.totals, nullptr),
          week(&lists.results, &lists.totals, &day),
          month(&lists.results, &lists.totals, &day),
          year(&lists.results, &lists.totals, &month),
          all(&lists.results, &lists.totals, &year)
    {
        for (Statistics* s : std::initializer_list<Statistics*>{&day, &week, &month, &year, &all})
            s->SetLogFolder(tree.LogPath());
    }

    TDate D(int y, int m, int d) { return EncodeDate(y, m, d); }
    std::string User() { return tree.User(); }

    LogTree tree;
    RunLists lists;
    MessageLog messages;
    StatisticsDay day;
    StatisticsWeek week;
    StatisticsMonth month;
    StatisticsYear year;
    StatisticsAllYears all;
};

} // namespace

TEST_F(Levels, DayReadsItsDayFileAndSumsItAsOneHiddenPeriod)
{
    tree.File("2024\\3\\5", Record("a.exe", My_Time(0, 0, 5), My_Time(0, 0, 59), My_Time(), My_Time()) +
                                Record("b.exe", My_Time(), My_Time(0, 0, 2), My_Time(), My_Time()));
    ASSERT_TRUE(day.Run(D(2024, 3, 5), D(2024, 3, 5)));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"a.exe", "b.exe"}));
    EXPECT_EQ(lists.totals.periodDates, (std::vector<TDate>{D(2024, 3, 5)}));
    EXPECT_EQ(lists.totals.periodFiles, (std::vector<std::string>{User() + "2024\\3\\5"}));
    ASSERT_EQ(lists.totals.totals.size(), 1u);
    EXPECT_EQ(T(lists.totals.totals[0].active), "0:1:1");
    EXPECT_EQ(lists.totals.rowDateFormat, "");
    EXPECT_EQ(lists.totals.labels[0], "All years");
    EXPECT_EQ(lists.totals.labels[1], "2024");
    EXPECT_EQ(lists.totals.labels[2], FormatDate("mmmm", D(2024, 3, 5)));
    EXPECT_EQ(lists.totals.labels[3], "5");
    FileList files;
    EXPECT_EQ(day.CollectFiles(files, D(2024, 3, 5), D(2024, 3, 5)), User() + "2024\\3\\5");

    // A day without a file: no rows, one zero period total, no message.
    ASSERT_TRUE(day.Run(D(2024, 3, 6), D(2024, 3, 6)));
    EXPECT_TRUE(lists.results.empty());
    ASSERT_EQ(lists.totals.totals.size(), 1u);
    EXPECT_EQ(T(lists.totals.totals[0].active), "0:0:0");
    EXPECT_EQ(lists.totals.labels[3], "6");
    EXPECT_TRUE(MessageLog::Boxes().empty());
}

TEST_F(Levels, WeekListsOnlyTheDaysThatHaveAFile)
{
    tree.Tagged("2024\\3\\4");    // Monday
    tree.Tagged("2024\\3\\6");    // Wednesday
    tree.Tagged("2024\\3\\11");   // next week
    tree.Tagged("2024\\3\\total");
    tree.Folder("2024\\3\\5");     // a folder is no day file
    ASSERT_TRUE(week.Run(D(2024, 3, 4), D(2024, 3, 10)));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"2024\\3\\4", "2024\\3\\6"}));
    EXPECT_EQ(lists.totals.periodDates, (std::vector<TDate>{D(2024, 3, 4), D(2024, 3, 6)}));
    EXPECT_EQ(lists.totals.periodFiles,
              (std::vector<std::string>{User() + "2024\\3\\4", User() + "2024\\3\\6"}));
    ASSERT_EQ(lists.totals.totals.size(), 2u);
    EXPECT_EQ(lists.totals.totals[1].path, User() + "2024\\3\\6");
    EXPECT_EQ(lists.totals.rowDateFormat, "ddd, dd");
    EXPECT_EQ(lists.totals.labels[0], FormatDate("yyyy, mmmm, d", D(2024, 3, 4)) + " - " +
                                          FormatDate("yyyy, mmmm, d", D(2024, 3, 10)));
    EXPECT_EQ(lists.totals.labels[1] + lists.totals.labels[2] + lists.totals.labels[3], "");
    FileList files;
    EXPECT_EQ(week.CollectFiles(files, D(2024, 3, 4), D(2024, 3, 10)), "");

    // A week across a month and a year end.
    tree.Tagged("2023\\12\\31");
    tree.Tagged("2024\\1\\1");
    ASSERT_TRUE(week.Run(D(2023, 12, 25), D(2023, 12, 31) + 1));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"2023\\12\\31", "2024\\1\\1"}));
}

TEST_F(Levels, MonthSortsItsDaysAndReadsTheMonthTotal)
{
    tree.File("2024\\3\\total", Record("m.exe", My_Time(), My_Time(2, 0, 0), My_Time(), My_Time()));
    for (const char* d : {"1", "10", "2"})
        tree.Tagged(std::string("2024\\3\\") + d);
    tree.Folder("2024\\3\\sub");
    ASSERT_TRUE(month.Run(D(2024, 3, 15), D(2024, 3, 15)));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"m.exe"}));
    EXPECT_EQ(lists.totals.periodDates, (std::vector<TDate>{D(2024, 3, 1), D(2024, 3, 2), D(2024, 3, 10)}));
    EXPECT_EQ(lists.totals.periodFiles, (std::vector<std::string>{User() + "2024\\3\\1", User() + "2024\\3\\2",
                                                                  User() + "2024\\3\\10"}));
    ASSERT_EQ(lists.totals.totals.size(), 3u);
    EXPECT_EQ(T(lists.totals.totals[2].active), "0:0:1");
    EXPECT_EQ(lists.totals.rowDateFormat, "ddd, dd");
    EXPECT_EQ(lists.totals.labels[0], "All years");
    EXPECT_EQ(lists.totals.labels[1], "2024");
    EXPECT_EQ(lists.totals.labels[2], FormatDate("mmmm", D(2024, 3, 1)));
    EXPECT_EQ(lists.totals.labels[3], "");

    // A missing month folder: the total is listed, nothing is read, no rows.
    ASSERT_TRUE(month.Run(D(2024, 7, 1), D(2024, 7, 1)));
    EXPECT_TRUE(lists.results.empty());
    EXPECT_TRUE(lists.totals.periodDates.empty());
    EXPECT_TRUE(lists.totals.totals.empty());
}

TEST_F(Levels, YearHasARowPerMonthFolderSummingItsTotal)
{
    tree.Tagged("2024\\total");
    for (int m = 12; m >= 1; --m)
        tree.File("2024\\" + std::to_string(m) + "\\total",
                  Record("x.exe", My_Time(), My_Time(0, m, 0), My_Time(), My_Time()));
    ASSERT_TRUE(year.Run(D(2024, 6, 9), D(2024, 6, 9)));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"2024\\total"}));
    ASSERT_EQ(lists.totals.periodDates.size(), 12u);
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(lists.totals.periodDates[m - 1], D(2024, m, 1));
        EXPECT_EQ(lists.totals.periodFiles[m - 1], User() + "2024\\" + std::to_string(m) + "\\total");
        EXPECT_EQ(lists.totals.totals[m - 1].active.minutes, m);
    }
    EXPECT_EQ(lists.totals.rowDateFormat, "mmmm");
    EXPECT_EQ(lists.totals.labels[0], "All years");
    EXPECT_EQ(lists.totals.labels[1], "2024");
    EXPECT_EQ(lists.totals.labels[2] + lists.totals.labels[3], "");
}

TEST_F(Levels, AllYearsReadsEveryYearTotal)
{
    tree.Tagged("2004\\total");
    tree.Folder("2004\\1");
    tree.Tagged("2003\\total");
    tree.Folder("2010");   // no total: a zero row
    ASSERT_TRUE(all.Run(0, 0));
    EXPECT_EQ(Sorted(Paths(lists.results)), (std::vector<std::string>{"2003\\total", "2004\\total"}));
    EXPECT_EQ(lists.totals.periodDates, (std::vector<TDate>{D(2003, 1, 1), D(2004, 1, 1), D(2010, 1, 1)}));
    EXPECT_EQ(lists.totals.periodFiles, (std::vector<std::string>{User() + "2003\\total", User() + "2004\\total",
                                                                  User() + "2010\\total"}));
    ASSERT_EQ(lists.totals.totals.size(), 3u);
    EXPECT_EQ(T(lists.totals.totals[0].active), "0:0:1");
    EXPECT_EQ(T(lists.totals.totals[2].active), "0:0:0");
    EXPECT_EQ(lists.totals.rowDateFormat, "yyyy");
    EXPECT_EQ(lists.totals.labels[0], "All years");
    EXPECT_EQ(lists.totals.labels[1] + lists.totals.labels[2] + lists.totals.labels[3], "");
}

TEST_F(Levels, DrillDownGoesToTheParentForTheRowsDate)
{
    EXPECT_EQ(day.Parent(), nullptr);
    EXPECT_EQ(week.Parent(), &day);
    EXPECT_EQ(month.Parent(), &day);
    EXPECT_EQ(year.Parent(), &month);
    EXPECT_EQ(all.Parent(), &year);

    tree.Tagged("2004\\total");
    tree.Tagged("2004\\3\\total");
    tree.Tagged("2004\\3\\17");
    ASSERT_TRUE(all.Run(0, 0));
    ASSERT_EQ(lists.totals.periodDates.size(), 1u);
    TDate row = lists.totals.periodDates[0];
    ASSERT_TRUE(all.Parent()->Run(row, row));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"2004\\total"}));
    ASSERT_EQ(lists.totals.periodDates, (std::vector<TDate>{D(2004, 3, 1)}));
    row = lists.totals.periodDates[0];
    ASSERT_TRUE(year.Parent()->Run(row, row));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"2004\\3\\total"}));
    EXPECT_EQ(lists.totals.labels[2], FormatDate("mmmm", row));
    ASSERT_EQ(lists.totals.periodDates, (std::vector<TDate>{D(2004, 3, 17)}));
    row = lists.totals.periodDates[0];
    ASSERT_TRUE(month.Parent()->Run(row, row));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"2004\\3\\17"}));
    EXPECT_EQ(lists.totals.labels[3], "17");
}

TEST_F(Levels, ANameThatIsNoCalendarDateStopsTheRunBeforeReading)
{
    SetApplicationTitle("p.klr - Kaltrow");
    tree.Tagged("2024\\3\\total");
    tree.Tagged("2024\\3\\2");
    tree.Tagged("2024\\3\\notes");
    ASSERT_TRUE(year.Run(D(2024, 3, 1), D(2024, 3, 1)));   // fills the lists first
    EXPECT_FALSE(month.Run(D(2024, 3, 1), D(2024, 3, 1)));
    ASSERT_EQ(MessageLog::Boxes().size(), 1u);
    EXPECT_EQ(MessageLog::Boxes()[0].text, "Invalid argument to date encode.");
    EXPECT_EQ(MessageLog::Boxes()[0].caption, "p.klr - Kaltrow");
    EXPECT_EQ(MessageLog::Boxes()[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_TRUE(lists.results.empty());
    EXPECT_TRUE(lists.totals.totals.empty());
    EXPECT_TRUE(lists.totals.periodFiles.empty());
    SetApplicationTitle("Untitled.klr - Kaltrow");

    // A day the month does not have, a month above 12, a year folder that is no number.
    LogTree other;
    for (Statistics* s : std::initializer_list<Statistics*>{&month, &year, &all})
        s->SetLogFolder(other.LogPath());
    other.Tagged("2023\\2\\29");
    other.Folder("2023\\13");
    other.Folder("backup");
    EXPECT_FALSE(month.Run(D(2023, 2, 1), D(2023, 2, 1)));
    EXPECT_FALSE(year.Run(D(2023, 2, 1), D(2023, 2, 1)));
    EXPECT_FALSE(all.Run(0, 0));
    EXPECT_EQ(MessageLog::Boxes().size(), 4u);
}

TEST_F(Levels, ASecondRunReplacesEverythingOfTheFirst)
{
    tree.Tagged("2024\\3\\total");
    tree.Tagged("2024\\3\\1");
    tree.Tagged("2024\\3\\2");
    tree.Tagged("2024\\total");
    tree.Folder("2024\\5");
    ASSERT_TRUE(month.Run(D(2024, 3, 1), D(2024, 3, 1)));
    ASSERT_TRUE(year.Run(D(2024, 3, 1), D(2024, 3, 1)));
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"2024\\total"}));
    EXPECT_EQ(lists.totals.periodDates, (std::vector<TDate>{D(2024, 3, 1), D(2024, 5, 1)}));
    EXPECT_EQ(lists.totals.totals.size(), 2u);
    EXPECT_EQ(lists.totals.periodFiles.size(), 2u);
}
