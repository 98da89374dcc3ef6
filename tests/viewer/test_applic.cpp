#include <gtest/gtest.h>

#include "applic.h"

namespace {

std::string Text(My_Time t)
{
    return TimeToText(t);
}

} // namespace

TEST(Applic, AddTimesCarriesSecondsAndMinutes)
{
    EXPECT_EQ(Text(AddTimes(My_Time(0, 59, 59), My_Time(0, 0, 1))), "1:0:0");
    EXPECT_EQ(Text(AddTimes(My_Time(10, 30, 0), My_Time(20, 45, 30))), "31:15:30");
    EXPECT_EQ(Text(AddTimes(My_Time(0, 50, 40), My_Time(0, 30, 30))), "1:21:10");
    EXPECT_EQ(Text(AddTimes(My_Time(), My_Time(0, 75, 80))), "1:16:20");
    My_Time sum = AddTimes(My_Time(1, 2, 3), My_Time(0, 0, 1));
    EXPECT_TRUE(sum.text.empty());
}

TEST(Applic, TimeToTextStoresAndReturnsTheText)
{
    My_Time fresh;
    EXPECT_EQ(TimeToText(fresh), "0:0:0");
    EXPECT_EQ(fresh.text, "0:0:0");
    EXPECT_EQ(Text(My_Time(100, 0, 5)), "100:0:5");
    EXPECT_EQ(Text(My_Time(2147483647, 0, -5)), "2147483647:0:-5");
}

TEST(Applic, TimePercentIsTheSharedRule)
{
    EXPECT_EQ(TimePercent(My_Time(0, 1, 0), My_Time(0, 2, 0)), 50u);
    EXPECT_EQ(TimePercent(My_Time(0, 0, 30), My_Time()), 3000u);
    EXPECT_EQ(TimePercent(My_Time(1, 0, 0), My_Time(2, 0, 0)), 50u);
}

TEST(Applic, SameApplicComparesPathAndNameExactly)
{
    Applic a("c:\\a\\notepad.exe", "Notepad");
    Applic b = a;
    b.active = My_Time(1, 0, 0);
    b.flag = true;
    EXPECT_TRUE(SameApplic(a, b));
    EXPECT_FALSE(SameApplic(a, Applic("C:\\a\\notepad.exe", "Notepad")));
    EXPECT_FALSE(SameApplic(a, Applic("c:\\a\\notepad.exe", "notepad")));
}

TEST(Applic, SumApplicKeepsTheSumsPathAndName)
{
    Applic record("notepad.exe", "");
    const My_Time times[4] = {My_Time(0, 0, 50), My_Time(0, 59, 30), My_Time(0, 0, 1), My_Time(1, 0, 0)};
    CopyTimes(record, times);
    Applic sum("C:\\Log\\u\\2024\\3\\5", "");
    sum.loaded = My_Time(0, 0, 20);
    sum.active = My_Time(0, 0, 30);
    Applic r = SumApplic(record, sum);
    EXPECT_EQ(r.path, "C:\\Log\\u\\2024\\3\\5");
    EXPECT_EQ(r.name, "");
    EXPECT_EQ(Text(r.loaded), "0:1:10");
    EXPECT_EQ(Text(r.active), "1:0:0");
    EXPECT_EQ(Text(r.mouse), "0:0:1");
    EXPECT_EQ(Text(r.keyboard), "1:0:0");
    EXPECT_EQ(r.icon, nullptr);
    EXPECT_FALSE(r.flag);
}

TEST(Applic, FileNamePartIsTheTextAfterTheLastBackslash)
{
    EXPECT_EQ(FileNamePart("c:\\windows\\notepad.exe"), "notepad.exe");
    EXPECT_EQ(FileNamePart("notepad.exe"), "notepad.exe");
    EXPECT_EQ(FileNamePart(""), "");
    EXPECT_EQ(FileNamePart("c:\\tools\\"), "");
    EXPECT_EQ(FileNamePart("\\notepad.exe"), "\\notepad.exe");
    EXPECT_EQ(FileNamePart("a\\b"), "b");
}
