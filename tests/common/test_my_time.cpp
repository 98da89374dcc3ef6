#include <gtest/gtest.h>

#include "my_time.h"

namespace {

std::string Text(My_Time t)
{
    return t.TimeToText();
}

My_Time Ticked(int h, int m, int s)
{
    My_Time t(h, m, s);
    t.Tick();
    return t;
}

} // namespace

TEST(MyTime, DisplayTextHasNoLeadingZeros)
{
    My_Time fresh;
    EXPECT_EQ(fresh.text, "");
    EXPECT_EQ(fresh.TimeToText(), "0:0:0");
    EXPECT_EQ(fresh.text, "0:0:0");
    EXPECT_EQ(Text(My_Time(1, 5, 7)), "1:5:7");
    EXPECT_EQ(Text(My_Time(125, 3, 9)), "125:3:9");
    EXPECT_EQ(Text(My_Time(25, 0, 0)), "25:0:0");
    EXPECT_EQ(Text(My_Time(-3, 0, 0)), "-3:0:0");
    // Hours wider than eight digits are written whole.
    EXPECT_EQ(Text(My_Time(1234567890, 0, 1)), "1234567890:0:1");
}

TEST(MyTime, TickCarriesOrdinaryValues)
{
    EXPECT_EQ(Text(Ticked(0, 0, 0)), "0:0:1");
    EXPECT_EQ(Text(Ticked(0, 59, 59)), "1:0:0");
    EXPECT_EQ(Text(Ticked(5, 12, 59)), "5:13:0");
    EXPECT_EQ(Text(Ticked(99, 59, 59)), "100:0:0");
    EXPECT_EQ(Text(Ticked(0, 58, 59)), "0:59:0");
}

TEST(MyTime, TickOnOutOfRangeFieldsReducesModulo60AsUnsigned)
{
    EXPECT_EQ(Text(Ticked(0, 60, 59)), "0:1:0");
    EXPECT_EQ(Text(Ticked(0, 75, 80)), "0:15:21");
    EXPECT_EQ(Text(Ticked(2, -5, 0)), "2:11:1");
    EXPECT_EQ(Text(Ticked(0, 0, -1)), "0:0:0");  // 4294967295 + 1 wraps to 0
    EXPECT_EQ(Text(Ticked(0, 0, -2)), "0:0:15");  // 4294967295 % 60
}

TEST(MyTime, TickKeepsText)
{
    My_Time t(0, 0, 0);
    t.TimeToText();
    t.Tick();
    EXPECT_EQ(t.text, "0:0:0");  // only TimeToText refreshes the text
}

TEST(MyTime, PlusAddsFieldsWithoutCarry)
{
    My_Time sum = My_Time(0, 50, 40) + My_Time(0, 30, 30);
    EXPECT_EQ(sum.hours, 0);
    EXPECT_EQ(sum.minutes, 80);
    EXPECT_EQ(sum.seconds, 70);
    EXPECT_EQ(sum.text, "");
}

TEST(MyTime, CopyAndAssignKeepText)
{
    My_Time a(1, 2, 3);
    a.TimeToText();
    My_Time b;
    b.Assign(a);
    EXPECT_EQ(b.text, "1:2:3");
    My_Time c(a);
    EXPECT_EQ(c.minutes, 2);
    EXPECT_EQ(c.text, "1:2:3");
}

TEST(TimePercent, PartAgainstWhole)
{
    EXPECT_EQ(TimePercent(My_Time(0, 30, 0), My_Time(1, 0, 0)), 50u);
    EXPECT_EQ(TimePercent(My_Time(0, 1, 0), My_Time(0, 2, 0)), 50u);
    EXPECT_EQ(TimePercent(My_Time(0, 0, 1), My_Time(0, 0, 3)), 33u);
}

TEST(TimePercent, ZeroWholeCountsAsOneSecond)
{
    EXPECT_EQ(TimePercent(My_Time(0, 0, 5), My_Time()), 500u);
    EXPECT_EQ(TimePercent(My_Time(0, 0, 30), My_Time()), 3000u);
    EXPECT_EQ(TimePercent(My_Time(), My_Time()), 0u);
}

TEST(TimePercent, UncarriedFieldsWeighTheSame)
{
    EXPECT_EQ(TimePercent(My_Time(0, 90, 0), My_Time(1, 30, 0)), 100u);
    EXPECT_EQ(TimePercent(My_Time(0, 45, 0), My_Time(0, 89, 60)), 50u);
}

TEST(TimePercent, LongPartsDoNotOverflow)
{
    // 50 000 000 seconds times 100 no longer fits 32 bits.
    My_Time part(13888, 53, 20);
    EXPECT_EQ(TimePercent(part, part), 100u);
}
