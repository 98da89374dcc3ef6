#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "statistics.h"
#include "viewer_fakes.h"

namespace {

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

std::string Day(int y, int m, int d)
{
    return std::to_string(y) + "\\" + std::to_string(m) + "\\" + std::to_string(d);
}

std::string MonthTotal(int y, int m)
{
    return std::to_string(y) + "\\" + std::to_string(m) + "\\total";
}

std::string YearTotal(int y)
{
    return std::to_string(y) + "\\total";
}

void AddDays(std::vector<std::string>& v, int y, int m, int first, int last)
{
    for (int d = first; d <= last; ++d)
        v.push_back(Day(y, m, d));
}

// A full tree for 2022 to 2024: every day file, month total and year total,
// each tagged with its own path, and a file and a folder that are no number.
class Custom : public ::testing::Test {
protected:
    Custom() : lists(779000 + static_cast<int>(GetCurrentProcessId() % 1000)), level(&lists.results, &lists.totals)
    {
        level.SetLogFolder(tree.LogPath());
    }

    void Full(std::initializer_list<int> years)
    {
        for (int y : years) {
            tree.Tagged(YearTotal(y));
            for (int m = 1; m <= 12; ++m) {
                tree.Tagged(MonthTotal(y, m));
                for (int d = 1; d <= DaysInMonth(y, m); ++d)
                    tree.Tagged(Day(y, m, d));
            }
        }
        tree.Tagged("2023\\5\\readme");
        tree.Folder("2023\\old");
    }

    std::vector<std::string> Read(TDate from, TDate to)
    {
        EXPECT_TRUE(level.Run(from, to));
        return Sorted(Paths(lists.results));
    }

    LogTree tree;
    RunLists lists;
    StatisticsCustom level;
};

} // namespace

TEST_F(Custom, EachRangeIsReadFromExactlyTheseFiles)
{
    Full({2022, 2023, 2024});
    std::vector<std::string> want;

    AddDays(want, 2024, 3, 5, 20);
    EXPECT_EQ(Read(EncodeDate(2024, 3, 5), EncodeDate(2024, 3, 20)), Sorted(want));

    want.clear();
    AddDays(want, 2024, 3, 5, 31);
    AddDays(want, 2024, 4, 1, 2);
    EXPECT_EQ(Read(EncodeDate(2024, 3, 5), EncodeDate(2024, 4, 2)), Sorted(want));

    want = {MonthTotal(2024, 4)};
    AddDays(want, 2024, 3, 5, 31);
    AddDays(want, 2024, 5, 1, 20);
    EXPECT_EQ(Read(EncodeDate(2024, 3, 5), EncodeDate(2024, 5, 20)), Sorted(want));

    want = {MonthTotal(2023, 12), MonthTotal(2024, 1)};
    AddDays(want, 2023, 11, 20, 30);
    AddDays(want, 2024, 2, 1, 10);
    EXPECT_EQ(Read(EncodeDate(2023, 11, 20), EncodeDate(2024, 2, 10)), Sorted(want));

    want.clear();
    AddDays(want, 2023, 12, 15, 31);
    AddDays(want, 2024, 1, 1, 10);
    EXPECT_EQ(Read(EncodeDate(2023, 12, 15), EncodeDate(2024, 1, 10)), Sorted(want));

    want = {YearTotal(2023)};
    for (int m = 2; m <= 12; ++m)
        want.push_back(MonthTotal(2022, m));
    for (int m = 1; m <= 11; ++m)
        want.push_back(MonthTotal(2024, m));
    AddDays(want, 2022, 1, 1, 31);
    AddDays(want, 2024, 12, 1, 31);
    EXPECT_EQ(Read(EncodeDate(2022, 1, 1), EncodeDate(2024, 12, 31)), Sorted(want));

    EXPECT_EQ(Read(EncodeDate(2024, 2, 29), EncodeDate(2024, 2, 29)), (std::vector<std::string>{Day(2024, 2, 29)}));
    EXPECT_TRUE(lists.totals.periodDates.empty());
    EXPECT_TRUE(lists.totals.totals.empty());
}

TEST_F(Custom, EveryDayOfARangeIsCoveredOnce)
{
    Full({2022, 2023, 2024});
    const TDate first = EncodeDate(2022, 1, 1), last = EncodeDate(2024, 12, 31);
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    for (int run = 0; run < 40; ++run) {
        TDate a = first + next(static_cast<unsigned>(last - first + 1));
        TDate b = first + next(static_cast<unsigned>(last - first + 1));
        if (a > b)
            std::swap(a, b);
        ASSERT_TRUE(level.Run(a, b));
        std::map<TDate, int> covered;
        for (const std::string& tag : Paths(lists.results)) {
            int y = 0, m = 0, d = 0;
            char rest[16] = {};
            if (std::sscanf(tag.c_str(), "%d\\%d\\%d", &y, &m, &d) == 3) {
                covered[EncodeDate(y, m, d)]++;
            } else if (std::sscanf(tag.c_str(), "%d\\%d\\%15s", &y, &m, rest) == 3) {
                for (int k = 1; k <= DaysInMonth(y, m); ++k)
                    covered[EncodeDate(y, m, k)]++;
            } else {
                ASSERT_EQ(std::sscanf(tag.c_str(), "%d", &y), 1);
                for (TDate k = EncodeDate(y, 1, 1); k <= EncodeDate(y, 12, 31); k += 1)
                    covered[k]++;
            }
        }
        ASSERT_EQ(covered.size(), static_cast<size_t>(b - a + 1)) << a << " " << b;
        EXPECT_EQ(covered.begin()->first, a);
        EXPECT_EQ(covered.rbegin()->first, b);
        for (const auto& c : covered)
            ASSERT_EQ(c.second, 1) << c.first;
    }
}

TEST_F(Custom, AMissingYearFolderAddsNothing)
{
    MessageLog messages;
    Full({2022, 2024});
    std::vector<std::string> got = Read(EncodeDate(2022, 1, 1), EncodeDate(2024, 12, 31));
    for (const std::string& path : got)
        EXPECT_NE(path.substr(0, 4), "2023") << path;
    EXPECT_EQ(std::count(got.begin(), got.end(), YearTotal(2023)), 0);
    EXPECT_EQ(got.size(), 11u + 11u + 31u + 31u);
    EXPECT_TRUE(MessageLog::Boxes().empty());

    // Nothing at all in the range: empty results, no message.
    EXPECT_TRUE(Read(EncodeDate(2030, 1, 1), EncodeDate(2031, 6, 1)).empty());
    EXPECT_TRUE(MessageLog::Boxes().empty());
}

TEST_F(Custom, CaptionIsTheRangeAndTheOtherLabelsAreEmpty)
{
    lists.totals.rowDateFormat = "mmmm";
    lists.totals.labels[1] = "2020";
    ASSERT_TRUE(level.Run(EncodeDate(2024, 3, 5), EncodeDate(2024, 5, 20)));
    EXPECT_EQ(lists.totals.labels[0],
              "2024, " + FormatDate("mmmm", EncodeDate(2024, 3, 1)) + ", 5 - 2024, " +
                  FormatDate("mmmm", EncodeDate(2024, 5, 1)) + ", 20");
    EXPECT_EQ(lists.totals.labels[1] + lists.totals.labels[2] + lists.totals.labels[3], "");
    EXPECT_EQ(lists.totals.rowDateFormat, "mmmm");   // left as it was
    EXPECT_EQ(level.Parent(), nullptr);

    // A reversed range lists nothing and ends.
    ASSERT_TRUE(level.Run(EncodeDate(2024, 5, 20), EncodeDate(2024, 3, 5)));
    EXPECT_TRUE(lists.results.empty());
}
