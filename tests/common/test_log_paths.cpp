#include <gtest/gtest.h>

#include "log_paths.h"

TEST(LogPaths, TreeBelowLogPathAsStored)
{
    EXPECT_EQ(LogUserFolder("C:\\Log", "user1"), "C:\\Log\\user1");
    EXPECT_EQ(LogYearFolder("C:\\Log", "user1", 2024), "C:\\Log\\user1\\2024");
    EXPECT_EQ(LogMonthFolder("C:\\Log", "user1", 2024, 3), "C:\\Log\\user1\\2024\\3");
    EXPECT_EQ(LogDayFile("C:\\Log", "user1", 2024, 3, 5), "C:\\Log\\user1\\2024\\3\\5");
    EXPECT_EQ(LogMonthTotal("C:\\Log", "user1", 2024, 12), "C:\\Log\\user1\\2024\\12\\total");
    EXPECT_EQ(LogYearTotal("C:\\Log", "user1", 2024), "C:\\Log\\user1\\2024\\total");
    // A trailing backslash of log_path stays; one more is put after it.
    EXPECT_EQ(LogUserFolder("C:\\Log\\", "u"), "C:\\Log\\\\u");
}

TEST(LogPaths, UserNameIsNotEmpty)
{
    EXPECT_FALSE(WindowsUserName().empty());
}
