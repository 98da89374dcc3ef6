#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "tracker_ui.h"
#include "worker.h"

namespace {

ProcRecord Record(const std::string& name, int state, My_Time loaded = My_Time(), My_Time active = My_Time(),
                  My_Time mouse = My_Time(), My_Time keyboard = My_Time())
{
    ProcRecord r(name);
    r.SetState(state);
    r.SetTimes(loaded, active, mouse, keyboard);
    return r;
}

std::string Times(ProcRecord r)
{
    return r.LoadedText() + " " + r.ActiveText() + " " + r.MouseText() + " " + r.KeyboardText();
}

class Pass : public ::testing::Test {
protected:
    void TearDown() override { WorkerFindOrAdd = FindOrAddRecord; }

    bool Run()
    {
        error_.clear();
        return ActivityPass(day_, month_, year_, error_);
    }

    RecordList day_, month_, year_;
    std::string error_;
};

template <typename E>
ProcRecord& Throwing(RecordList&, const ProcRecord&)
{
    throw E("test");
}

ProcRecord& ThrowsBadAlloc(RecordList&, const ProcRecord&)
{
    throw std::bad_alloc();
}

ProcRecord& ThrowsInt(RecordList&, const ProcRecord&)
{
    throw 7;
}

std::wstring shownText;
std::wstring shownCaption;
UINT shownType;
int WINAPI RecordWideBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type)
{
    shownText = text;
    shownCaption = caption;
    shownType = type;
    return IDOK;
}

} // namespace

TEST_F(Pass, EmptyDayGivesZeroPercent)
{
    activityPercent = 77;
    activityText = "77";
    ASSERT_TRUE(Run());
    EXPECT_EQ(activityPercent.load(), 0u);
    EXPECT_EQ(activityText, "0");
    EXPECT_TRUE(month_.empty());
}

TEST_F(Pass, LoadedAndActiveTickInAllThreeListsAndStay)
{
    day_.push_back(Record("a.exe", STATE_LOADED | STATE_ACTIVE));
    day_.push_back(Record("b.exe", STATE_LOADED));
    day_.push_back(Record("c.exe", 0));
    month_.push_back(Record("a.exe", 0, My_Time(2, 0, 0), My_Time(1, 59, 59)));
    year_.push_back(Record("z.exe", 0, My_Time(9, 0, 0)));
    ASSERT_TRUE(Run());

    EXPECT_EQ(Times(day_[0]), "0:0:1 0:0:1 0:0:0 0:0:0");
    EXPECT_EQ(day_[0].State(), STATE_LOADED | STATE_ACTIVE);
    EXPECT_EQ(Times(day_[1]), "0:0:1 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(Times(day_[2]), "0:0:0 0:0:0 0:0:0 0:0:0");
    ASSERT_EQ(month_.size(), 3u);
    EXPECT_EQ(Times(month_[0]), "2:0:1 2:0:0 0:0:0 0:0:0");
    EXPECT_EQ(month_[1].Name(), "b.exe");
    EXPECT_EQ(Times(month_[1]), "0:0:1 0:0:0 0:0:0 0:0:0");
    ASSERT_EQ(year_.size(), 4u);
    EXPECT_EQ(Times(year_[0]), "9:0:0 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(year_[1].Name(), "a.exe");
    EXPECT_EQ(Times(year_[1]), "0:0:1 0:0:1 0:0:0 0:0:0");
    EXPECT_EQ(year_[3].Name(), "c.exe");
}

TEST_F(Pass, MouseAndKeyboardCountOnceAndAreCleared)
{
    day_.push_back(Record("a.exe", STATE_LOADED | STATE_MOUSE | STATE_KEYBOARD));
    day_.push_back(Record("b.exe", STATE_ACTIVE | STATE_KEYBOARD));
    ASSERT_TRUE(Run());
    EXPECT_EQ(Times(day_[0]), "0:0:1 0:0:0 0:0:1 0:0:1");
    EXPECT_EQ(day_[0].State(), STATE_LOADED);
    EXPECT_EQ(Times(day_[1]), "0:0:0 0:0:1 0:0:0 0:0:1");
    EXPECT_EQ(day_[1].State(), STATE_ACTIVE);
    EXPECT_EQ(Times(month_[0]), "0:0:1 0:0:0 0:0:1 0:0:1");
    EXPECT_EQ(Times(year_[1]), "0:0:0 0:0:1 0:0:0 0:0:1");

    // Nothing new happened: the next pass counts no input.
    ASSERT_TRUE(Run());
    EXPECT_EQ(Times(day_[0]), "0:0:2 0:0:0 0:0:1 0:0:1");
    EXPECT_EQ(Times(year_[0]), "0:0:2 0:0:0 0:0:1 0:0:1");
}

TEST_F(Pass, NewTwinsStartFromTheDayRecordThenTick)
{
    day_.push_back(Record("a.exe", STATE_LOADED, My_Time(0, 10, 0), My_Time(0, 59, 59)));
    month_.push_back(Record("a.exe", 0, My_Time(5, 0, 0)));
    ASSERT_TRUE(Run());
    EXPECT_EQ(day_[0].LoadedText(), "0:10:1");
    EXPECT_EQ(month_[0].LoadedText(), "5:0:1");
    ASSERT_EQ(year_.size(), 1u);
    EXPECT_EQ(Times(year_[0]), "0:10:1 0:59:59 0:0:0 0:0:0");
}

TEST_F(Pass, TwinsFollowListsThatAreClearedOrReplaced)
{
    day_.push_back(Record("a.exe", STATE_LOADED));
    day_.push_back(Record("b.exe", STATE_ACTIVE));
    month_.push_back(Record("x.exe", 0));
    year_.push_back(Record("y.exe", 0));
    ASSERT_TRUE(Run());
    ASSERT_EQ(month_.size(), 3u);
    ASSERT_EQ(year_.size(), 3u);

    // A list starts again in another order: each tick goes to the record of its
    // own name, the first of them where a name stands twice.
    RecordList other;
    other.push_back(Record("a.exe", 0, My_Time(1, 0, 0)));
    other.push_back(Record("a.exe", 0));
    other.push_back(Record("b.exe", 0, My_Time(), My_Time(0, 5, 0)));
    month_ = other;
    ASSERT_TRUE(Run());
    ASSERT_EQ(month_.size(), 3u);
    EXPECT_EQ(Times(month_[0]), "1:0:1 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(Times(month_[1]), "0:0:0 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(Times(month_[2]), "0:0:0 0:5:1 0:0:0 0:0:0");
    EXPECT_EQ(Times(year_[1]), "0:0:2 0:0:0 0:0:0 0:0:0");

    year_ = other;
    ASSERT_TRUE(Run());
    ASSERT_EQ(year_.size(), 3u);
    EXPECT_EQ(Times(year_[0]), "1:0:1 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(Times(year_[1]), "0:0:0 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(Times(year_[2]), "0:0:0 0:5:1 0:0:0 0:0:0");
    EXPECT_EQ(Times(month_[2]), "0:0:0 0:5:2 0:0:0 0:0:0");

    // The day list in another order.
    day_.clear();
    day_.push_back(Record("b.exe", STATE_LOADED));
    day_.push_back(Record("a.exe", 0));
    ASSERT_TRUE(Run());
    EXPECT_EQ(Times(month_[0]), "1:0:2 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(Times(month_[2]), "0:0:1 0:5:2 0:0:0 0:0:0");
    EXPECT_EQ(Times(year_[0]), "1:0:1 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(Times(year_[2]), "0:0:1 0:5:1 0:0:0 0:0:0");

    // Records appended meanwhile, as a load does, leave the twins where they are.
    month_.push_back(Record("c.exe", 0));
    year_.push_back(Record("c.exe", 0));
    ASSERT_TRUE(Run());
    ASSERT_EQ(month_.size(), 4u);
    EXPECT_EQ(Times(month_[2]), "0:0:2 0:5:2 0:0:0 0:0:0");
    EXPECT_EQ(Times(year_[2]), "0:0:2 0:5:1 0:0:0 0:0:0");
    EXPECT_EQ(Times(month_[3]), "0:0:0 0:0:0 0:0:0 0:0:0");
}

TEST_F(Pass, PercentIsInputAgainstActiveClampedAt100)
{
    day_.push_back(Record("a.exe", 0, My_Time(), My_Time(0, 30, 0), My_Time(0, 10, 0)));
    day_.push_back(Record("b.exe", 0, My_Time(), My_Time(0, 30, 0), My_Time(), My_Time(0, 20, 0)));
    ASSERT_TRUE(Run());
    EXPECT_EQ(activityPercent.load(), 50u);
    EXPECT_EQ(activityText, "50");

    day_.clear();
    day_.push_back(Record("a.exe", 0, My_Time(), My_Time(), My_Time(0, 0, 5)));
    ASSERT_TRUE(Run());
    EXPECT_EQ(activityPercent.load(), 100u);
    EXPECT_EQ(activityText, "100");

    // Uncarried sums weigh the same: 0:90:0 of input against 1:30:0 active.
    day_.clear();
    day_.push_back(Record("a.exe", 0, My_Time(), My_Time(1, 30, 0), My_Time(0, 45, 0), My_Time(0, 45, 0)));
    ASSERT_TRUE(Run());
    EXPECT_EQ(activityPercent.load(), 100u);
    day_.clear();
    day_.push_back(Record("a.exe", 0, My_Time(), My_Time(1, 30, 0), My_Time(0, 45, 0)));
    ASSERT_TRUE(Run());
    EXPECT_EQ(activityText, "50");
}

TEST_F(Pass, ErrorsOfFindingTwinsAreNamedAndLeaveThePercent)
{
    day_.push_back(Record("a.exe", STATE_LOADED));
    struct Case {
        FindOrAddFn fn;
        const char* name;
    };
    const Case cases[] = {
        {Throwing<std::length_error>, "length_error"},
        {Throwing<std::range_error>, "range_error"},
        {ThrowsBadAlloc, "bad_alloc"},
        {Throwing<std::out_of_range>, "out_of_range"},
        {Throwing<std::invalid_argument>, u8"Исключение перехвачено"},
        {ThrowsInt, u8"Исключение перехвачено"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        activityPercent = 42;
        WorkerFindOrAdd = c.fn;
        EXPECT_FALSE(Run());
        EXPECT_EQ(error_, c.name);
        EXPECT_EQ(activityPercent.load(), 42u);
        EXPECT_EQ(day_[0].LoadedText(), "0:0:0");
    }
}

TEST(WorkerError, ShownWideWithTheProductCaption)
{
    MessageBoxWFn old = TrackerMessageBoxW;
    TrackerMessageBoxW = RecordWideBox;
    ShowWorkerError(u8"Исключение перехвачено");
    EXPECT_EQ(shownText, L"Исключение перехвачено");
    EXPECT_EQ(shownCaption, L"Kaltrow");
    EXPECT_EQ(shownType, static_cast<UINT>(MB_OK));
    ShowWorkerError("bad_alloc");
    EXPECT_EQ(shownText, L"bad_alloc");
    TrackerMessageBoxW = old;
}
