#include <gtest/gtest.h>

#include <windows.h>

#include "viewer_date.h"

namespace {

std::string Locale(LCTYPE type)
{
    char buffer[128] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof(buffer));
    return buffer;
}

} // namespace

TEST(ViewerDate, EncodesDaysFromTheEndOf1899AndDecodesThemBack)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2004, 1, 14), 38000.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
    for (TDate d : {-693593.0, -1.0, 0.0, 59.0, 60.0, 61.0, 38000.0, 45351.0, 2958465.0}) {
        int y, m, day;
        DecodeDate(d, y, m, day);
        EXPECT_EQ(EncodeDate(y, m, day), d) << d;
    }
    int y, m, d;
    DecodeDate(EncodeDate(2024, 2, 29), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
}

TEST(ViewerDate, RefusesWhatIsNoCalendarDate)
{
    EXPECT_THROW(EncodeDate(2024, 3, 0), DateEncodeError);
    EXPECT_THROW(EncodeDate(2023, 2, 29), DateEncodeError);
    EXPECT_THROW(EncodeDate(2024, 4, 31), DateEncodeError);
    EXPECT_THROW(EncodeDate(2024, 13, 1), DateEncodeError);
    EXPECT_THROW(EncodeDate(0, 1, 1), DateEncodeError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), DateEncodeError);
    EXPECT_NO_THROW(EncodeDate(1900, 2, 28));
    EXPECT_THROW(EncodeDate(1900, 2, 29), DateEncodeError);
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    try {
        EncodeDate(2024, 1, 32);
    } catch (const DateEncodeError& e) {
        EXPECT_STREQ(e.what(), "Invalid argument to date encode.");
    }
}

TEST(ViewerDate, DayOfWeekCountsFromSunday)
{
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);   // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 3)), 1);     // Sunday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 4)), 2);     // Monday
    EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 9)), 7);     // Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 24)), 1);   // before day 0
}

TEST(ViewerDate, FormatsWithTheLocaleNamesAndCopiesOtherCharacters)
{
    TDate sunday = EncodeDate(2024, 3, 3);
    EXPECT_EQ(FormatDate("yyyy", sunday), "2024");
    EXPECT_EQ(FormatDate("mmmm", sunday), Locale(LOCALE_SMONTHNAME3));
    EXPECT_EQ(FormatDate("dddd", sunday), Locale(LOCALE_SDAYNAME7));
    EXPECT_EQ(FormatDate("ddd, dd", sunday), Locale(LOCALE_SABBREVDAYNAME7) + ", 03");
    EXPECT_EQ(FormatDate("d", sunday), "3");
    EXPECT_EQ(FormatDate("dddd", EncodeDate(2024, 3, 4)), Locale(LOCALE_SDAYNAME1));
    EXPECT_EQ(FormatDate("mmmm", EncodeDate(2024, 12, 4)), Locale(LOCALE_SMONTHNAME12));
    EXPECT_EQ(FormatDate("yyyy, mmmm, d", EncodeDate(2024, 5, 20)),
              "2024, " + Locale(LOCALE_SMONTHNAME5) + ", 20");
    EXPECT_EQ(FormatDate("yyyy", EncodeDate(5, 1, 1)), "0005");
    EXPECT_EQ(FormatDate("<x-m: y>", sunday), "<x-m: y>");
    EXPECT_EQ(FormatDate("", sunday), "");
}

TEST(ViewerDate, CurrentDateFollowsTheTestClock)
{
    SetCurrentDateOverride(38000);
    EXPECT_EQ(CurrentDate(), 38000.0);
    SetCurrentDateOverride(-1);
    TDate now = CurrentDate();
    EXPECT_EQ(now, static_cast<double>(static_cast<long long>(now)));
    EXPECT_GT(now, 40000.0);
}
