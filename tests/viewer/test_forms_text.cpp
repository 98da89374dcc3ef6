// The texts the viewer's windows work out: the command tail, captions,
// the strict integer of the settings form, shortcut and hint texts.
#include <gtest/gtest.h>

#include "action.h"
#include "application.h"
#include "main_form.h"
#include "cust_form.h"
#include "settings_form.h"
#include "viewer_fakes.h"

TEST(CommandTail, IsWhatFollowsTheProgramNameAndItsBlanks)
{
    EXPECT_EQ(CommandTail("klr_stat.exe \"C:\\p\\a b.klr\""), "\"C:\\p\\a b.klr\"");
    EXPECT_EQ(CommandTail("\"C:\\Program Files\\klr_stat.exe\"   \"x.klr\""), "\"x.klr\"");
    EXPECT_EQ(CommandTail("klr_stat.exe"), "");
    EXPECT_EQ(CommandTail("\"klr stat.exe\""), "");
    EXPECT_EQ(CommandTail("klr_stat.exe\tabc "), "abc ");
    EXPECT_EQ(CommandTail("\"unclosed quote"), "");
}

TEST(ProjectCaption, IsTheFileNamePartAndTheProductName)
{
    EXPECT_EQ(ProjectCaption("C:\\work\\my.klr"), "my.klr - Kaltrow");
    EXPECT_EQ(ProjectCaption("my.klr"), "my.klr - Kaltrow");
    EXPECT_EQ(ProjectCaption("C:\\work\\"), " - Kaltrow");
}

TEST(StrictToInt, TakesOnlyAWholeDecimalInteger)
{
    int n = -1;
    EXPECT_TRUE(StrictToInt("59", n));
    EXPECT_EQ(n, 59);
    EXPECT_TRUE(StrictToInt("  -5", n));
    EXPECT_EQ(n, -5);
    EXPECT_TRUE(StrictToInt("+7", n));
    EXPECT_EQ(n, 7);
    EXPECT_TRUE(StrictToInt("-2147483648", n));
    EXPECT_EQ(n, -2147483647 - 1);
    n = 3;
    for (const char* bad : {"", " ", "abc", "5x", "5 ", "1.5", "-", "2147483648", "99999999999999999999"}) {
        EXPECT_FALSE(StrictToInt(bad, n)) << bad;
        EXPECT_EQ(n, 3) << bad;
    }
}

TEST(StandardError, EndsTheTextWithAFullStopUnderTheApplicationTitle)
{
    MessageLog log;
    SetApplicationTitle("p.klr - Kaltrow");
    ShowStandardError("'x' is not a valid integer value");
    ShowStandardError("Invalid argument to date encode.");
    SetApplicationTitle("Untitled.klr - Kaltrow");
    ASSERT_EQ(MessageLog::Boxes().size(), 2u);
    EXPECT_EQ(MessageLog::Boxes()[0].text, "'x' is not a valid integer value.");
    EXPECT_EQ(MessageLog::Boxes()[0].caption, "p.klr - Kaltrow");
    EXPECT_EQ(MessageLog::Boxes()[0].flags, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(MessageLog::Boxes()[1].text, "Invalid argument to date encode.");
}

TEST(Actions, HintsShortcutsAndDisabledActions)
{
    ui::ActionList actions;
    int runs = 0;
    ui::Action& a = actions.Add(1, "&New", "New|Create a new file", ui::kCtrl + 'N', [&] { ++runs; });
    actions.Add(2, "Total", "Show/Hide Total statistics", ui::kCtrl + 'T', [&] { runs += 10; });
    EXPECT_EQ(a.ShortHint(), "New");
    EXPECT_EQ(a.LongHint(), "Create a new file");
    EXPECT_EQ(a.ShortcutText(), "Ctrl+N");
    EXPECT_EQ(actions.Find(2)->ShortHint(), "Show/Hide Total statistics");
    EXPECT_EQ(actions.Find(2)->LongHint(), "Show/Hide Total statistics");
    EXPECT_EQ(16462, ui::kCtrl + 'N');   // the key code plus 16384 for Ctrl

    EXPECT_TRUE(actions.HandleShortcut('N', ui::kCtrl));
    EXPECT_FALSE(actions.HandleShortcut('N', 0));
    EXPECT_FALSE(actions.HandleShortcut('N', ui::kCtrl | ui::kShift));
    EXPECT_TRUE(actions.Execute(2));
    EXPECT_EQ(runs, 11);
    actions.Find(1)->enabled = false;
    EXPECT_FALSE(actions.HandleShortcut('N', ui::kCtrl));
    EXPECT_FALSE(actions.Execute(1));
    EXPECT_FALSE(actions.Execute(99));
    EXPECT_EQ(runs, 11);
}

TEST(CustomDates, PickerTimesAndViewerDatesConvertBothWays)
{
    TDate date = EncodeDate(2024, 2, 29);
    SYSTEMTIME st = ToSystemTime(date);
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wMonth, 2);
    EXPECT_EQ(st.wDay, 29);
    EXPECT_EQ(st.wDayOfWeek, 4);   // a Thursday
    EXPECT_EQ(FromSystemTime(st), date);
    EXPECT_EQ(ToSystemTime(38000).wYear, 2004);
}
