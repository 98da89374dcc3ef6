#include <gtest/gtest.h>

#include <algorithm>

#include "log_folder.h"
#include "statistics.h"
#include "viewer_fakes.h"

namespace {

std::vector<int> Sorted(std::vector<int> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

TEST(LogFolder, PathsAreBuiltFromTheLevelsLogFolderAsStored)
{
    ApplicList results;
    TotalDates totals;
    StatisticsDay day(&results, &totals, nullptr);
    day.SetLogFolder("C:\\Log");
    const std::string user = "C:\\Log\\" + WindowsUserName() + "\\";
    EXPECT_EQ(UserLogFolder(day), user);
    EXPECT_EQ(YearFolder(day, EncodeDate(2024, 3, 5)), user + "2024");
    EXPECT_EQ(MonthFolder(day, EncodeDate(2024, 3, 5)), user + "2024\\3");
    day.SetLogFolder("D:\\Logs\\");
    EXPECT_EQ(UserLogFolder(day), "D:\\Logs\\\\" + WindowsUserName() + "\\");
}

TEST(LogFolder, ListsDayNumbersOfPlainFilesWithoutTheTotal)
{
    LogTree tree;
    // A sync program's copy "5 (1)" beside "5" gives 5 once.
    for (const char* name : {"1", "2", "15", "total", "notes", "5", "5 (1)", "desktop.ini"})
        tree.File(std::string("2024\\3\\") + name, "");
    tree.Folder("2024\\3\\7");
    EXPECT_EQ(Sorted(EnumNumericFiles(tree.User() + "2024\\3\\")), (std::vector<int>{0, 1, 2, 5, 15}));
}

TEST(LogFolder, ListsFolderNumbersByTheirLeadingDigits)
{
    LogTree tree;
    tree.Folder("2024\\3");
    tree.Folder("2024\\12");
    tree.File("2024\\total", "");
    EXPECT_EQ(Sorted(EnumNumericFolders(tree.User() + "2024\\")), (std::vector<int>{3, 12}));

    tree.Folder("2024");
    tree.Folder("2025");
    tree.Folder("2025 - Copy");   // Explorer's copy
    tree.Folder("backup");
    tree.Folder(" 7");
    tree.File("2030", "");
    EXPECT_EQ(Sorted(EnumNumericFolders(tree.User())), (std::vector<int>{0, 7, 2024, 2025}));
}

TEST(LogFolder, MissingOrEmptyFoldersGiveNothing)
{
    LogTree tree;
    EXPECT_TRUE(EnumNumericFolders(tree.User() + "1999\\").empty());
    EXPECT_TRUE(EnumNumericFiles(tree.User() + "1999\\1\\").empty());
    tree.Folder("2000");
    EXPECT_TRUE(EnumNumericFolders(tree.User() + "2000\\").empty());
    EXPECT_TRUE(EnumNumericFiles(tree.User() + "2000\\").empty());
}
