#include <gtest/gtest.h>

#include "period.h"
#include "viewer_fakes.h"

namespace {

class FakeCustomDialog : public CustomPeriodView {
public:
    bool ShowModal(TDate& start, TDate& final) override
    {
        ++shown;
        if (!ok)
            return false;
        start = chosenStart;
        final = chosenFinal;
        return true;
    }
    void SetDates(TDate, TDate) override {}
    int shown = 0;
    bool ok = true;
    TDate chosenStart = 100, chosenFinal = 110;
};

} // namespace

TEST(Period, WeekRunsFromMondayToSunday)
{
    Period p(0, 0);
    TDate monday = EncodeDate(2024, 3, 4);
    struct {
        int offset, from, to;
    } cases[] = {{0, 0, 6}, {2, -2, 4}, {5, -5, 1}, {6, -6, 0}};
    for (auto c : cases) {
        TDate date = monday + c.offset;
        p.SetWeek(date);
        EXPECT_EQ(p.from, date + c.from) << c.offset;
        EXPECT_EQ(p.to, date + c.to) << c.offset;
        EXPECT_EQ(DayOfWeek(p.from), 2);
    }
}

TEST(Period, TodayAndItsCaptionsComeFromTheClock)
{
    SetCurrentDateOverride(EncodeDate(2024, 3, 5));
    EXPECT_EQ(Period::Today(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(Period::YearText(), "2024");
    EXPECT_EQ(Period::MonthText(), FormatDate("mmmm", EncodeDate(2024, 3, 1)));
    EXPECT_EQ(Period::DayText(), FormatDate("dddd", EncodeDate(2024, 3, 5)));
    SetCurrentDateOverride(-1);
}

TEST(Period, CustomRangeShowsTheDialogOnEverySecondCall)
{
    FakeCustomDialog dialog;
    Period p(5, 5);
    p.form = &dialog;
    EXPECT_TRUE(p.AskCustomRange());
    EXPECT_EQ(p.from, 100);
    EXPECT_EQ(p.to, 110);
    EXPECT_FALSE(p.AskCustomRange());
    EXPECT_EQ(dialog.shown, 1);
    dialog.ok = false;
    dialog.chosenStart = 1;
    EXPECT_FALSE(p.AskCustomRange());
    EXPECT_EQ(dialog.shown, 2);
    EXPECT_EQ(p.from, 100);   // cancel changes nothing
    EXPECT_EQ(p.to, 110);
}

TEST(Period, OkRefusesAStartAfterTheFinalDate)
{
    MessageLog log;
    TDate d = EncodeDate(2024, 3, 5);
    EXPECT_TRUE(AcceptCustomRange(d, d));
    EXPECT_TRUE(AcceptCustomRange(d, d + 1));
    EXPECT_TRUE(MessageLog::Boxes().empty());
    EXPECT_FALSE(AcceptCustomRange(d + 1, d));
    ASSERT_EQ(MessageLog::Boxes().size(), 1u);
    EXPECT_EQ(MessageLog::Boxes()[0].text, "Start date greater than final.");
    EXPECT_EQ(MessageLog::Boxes()[0].caption, "Kaltrow");
    EXPECT_EQ(MessageLog::Boxes()[0].flags & MB_ICONMASK, static_cast<unsigned>(MB_ICONEXCLAMATION));
}
