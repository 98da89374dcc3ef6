#include <gtest/gtest.h>

#include <windows.h>

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

namespace {

std::string SystemUserName()
{
    char name[300] = {};
    DWORD size = sizeof(name);
    return GetUserNameA(name, &size) ? name : "";
}

} // namespace

TEST(LogPaths, UserNameIsTheSystemsWholeName)
{
    ASSERT_FALSE(SystemUserName().empty());
    EXPECT_EQ(WindowsUserName(), SystemUserName());

    // Wine answers with this variable: a name far past the old 29 characters.
    char old[300] = {};
    DWORD had = GetEnvironmentVariableA("WINEUSERNAME", old, sizeof(old));
    const std::string longName(100, 'n');
    SetEnvironmentVariableA("WINEUSERNAME", longName.c_str());
    std::string system = SystemUserName();
    std::string ours = WindowsUserName();
    SetEnvironmentVariableA("WINEUSERNAME", had ? old : nullptr);
    if (system != longName)
        GTEST_SKIP() << "the platform does not take the name from WINEUSERNAME";
    EXPECT_EQ(ours, longName);
}
