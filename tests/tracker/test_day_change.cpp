#include <gtest/gtest.h>

#include <memory>

#include "log_paths.h"
#include "settings.h"
#include "stat_file.h"
#include "test_support.h"
#include "tracker_test_support.h"
#include "worker.h"

namespace {

const char kNewDayText[] = "The new day started. From this very second\nall the statistics will be saved on the new day.";

std::string T(int seconds)
{
    return std::to_string(seconds / 3600) + ":" + std::to_string(seconds / 60 % 60) + ":" +
           std::to_string(seconds % 60);
}

// "a.exe" is loaded and active all the time: each second ticks both counters.
std::string A(int seconds)
{
    return StatLine("a.exe", T(seconds), T(seconds));
}

class DayChange : public ::testing::Test {
protected:
    DayChange() : clock_(2026, 5, 10, 23, 59, 58) {}
    void SetUp() override
    {
        statisticsMutex = nullptr;
        newDayFlag = 1;
        ProcRecord a("a.exe");
        a.SetState(STATE_LOADED | STATE_ACTIVE);
        days_.push_back(a);
    }
    void TearDown() override { newDayFlag = 1; }

    void Start()
    {
        day_ = std::make_unique<StatFileDay>(&days_);
        month_ = std::make_unique<StatFileMonth>(&months_);
        year_ = std::make_unique<StatFileYear>(&years_);
        day_->Open(dir_.Path());
        month_->Open(dir_.Path());
        year_->Open(dir_.Path());
    }

    // One worker pass, then the timer's three saves.
    void Seconds(int n)
    {
        for (int i = 0; i < n; ++i) {
            Pass();
            day_->Save();
            month_->Save();
            year_->Save();
        }
    }

    void Pass()
    {
        std::string error;
        ASSERT_TRUE(ActivityPass(days_, months_, years_, error));
    }

    std::string Day(int y, int m, int d) const { return ReadBytes(LogDayFile(dir_.Path(), user_, y, m, d)); }
    std::string Month(int y, int m) const { return ReadBytes(LogMonthTotal(dir_.Path(), user_, y, m)); }
    std::string Year(int y) const { return ReadBytes(LogYearTotal(dir_.Path(), user_, y)); }

    void Store(const std::string& path, const std::string& bytes)
    {
        size_t slash = path.find_last_of('\\');
        MakeFolders(path.substr(0, slash));
        WriteBytes(path, bytes);
    }

    size_t NewDayBoxes() const
    {
        size_t n = 0;
        for (const ShownBox& b : boxes_.Boxes()) {
            EXPECT_EQ(b.text, kNewDayText);
            EXPECT_EQ(b.caption, "Kaltrow - Information");
            EXPECT_EQ(b.type, static_cast<UINT>(MB_ICONINFORMATION));
            ++n;
        }
        return n;
    }

    TestClock clock_;
    BoxRecorder boxes_;
    TempDir dir_;
    std::string user_ = WindowsUserName();
    RecordList days_, months_, years_;
    std::unique_ptr<StatFile> day_, month_, year_;
};

} // namespace

TEST(LocalTime, NewDayComparesDatesNotHours)
{
    TestClock clock(2026, 5, 10, 23, 30);
    LocalTime last;
    clock.Set(2026, 5, 10, 23, 59, 59);
    EXPECT_FALSE(last.IsNewDay());
    clock.Set(2026, 5, 11, 0, 0, 0);
    EXPECT_TRUE(last.IsNewDay());
    EXPECT_EQ(last.time.wDay, 11);
    clock.Set(2026, 5, 11, 22, 0);
    EXPECT_FALSE(last.IsNewDay());
    // Asleep from 22:00 to 23:30 the next day: the hour went up, the date too.
    clock.Set(2026, 5, 12, 23, 30);
    EXPECT_TRUE(last.IsNewDay());
    // The clock set back an hour on the same date.
    clock.Set(2026, 5, 12, 22, 30);
    EXPECT_FALSE(last.IsNewDay());
    clock.Set(2026, 6, 12, 22, 30);
    EXPECT_TRUE(last.IsNewDay());
    clock.Set(2027, 6, 12, 22, 30);
    EXPECT_TRUE(last.IsNewDay());
}

TEST_F(DayChange, MidnightWritesTheOldDayLastAndStartsTheNewOne)
{
    Start();
    Seconds(3);
    clock_.Set(2026, 5, 11, 0, 0, 1);
    Seconds(1);
    EXPECT_EQ(day_->Path(), LogDayFile(dir_.Path(), user_, 2026, 5, 11));
    EXPECT_EQ(days_[0].LoadedText(), "0:0:0");
    EXPECT_EQ(days_[0].State(), STATE_LOADED | STATE_ACTIVE);
    Seconds(2);

    EXPECT_EQ(Day(2026, 5, 10), A(4));
    EXPECT_EQ(Day(2026, 5, 11), A(2));
    EXPECT_EQ(Month(2026, 5), A(6));
    EXPECT_EQ(Year(2026), A(6));
    EXPECT_EQ(NewDayBoxes(), 1u);
}

TEST_F(DayChange, SleepAcrossMidnightIntoALaterHourIsANewDay)
{
    clock_.Set(2026, 5, 10, 22, 0);
    Start();
    Seconds(2);
    clock_.Set(2026, 5, 11, 23, 30);
    Seconds(2);
    EXPECT_EQ(Day(2026, 5, 10), A(3));
    EXPECT_EQ(Day(2026, 5, 11), A(1));
    EXPECT_EQ(Month(2026, 5), A(4));
    EXPECT_EQ(NewDayBoxes(), 1u);
}

TEST_F(DayChange, ClockSetBackAnHourIsTheSameDay)
{
    clock_.Set(2026, 5, 10, 12, 0);
    Start();
    Seconds(2);
    clock_.Set(2026, 5, 10, 11, 0);
    Seconds(3);
    EXPECT_EQ(Day(2026, 5, 10), A(5));
    EXPECT_EQ(Month(2026, 5), A(5));
    EXPECT_EQ(NewDayBoxes(), 0u);
}

TEST_F(DayChange, ClockSetBackADayAndForwardAgainLosesNothing)
{
    clock_.Set(2026, 5, 11, 10, 0);
    Store(LogDayFile(dir_.Path(), user_, 2026, 5, 10), A(30));
    Store(LogMonthTotal(dir_.Path(), user_, 2026, 5), A(30));
    Store(LogYearTotal(dir_.Path(), user_, 2026), A(30));
    Start();
    Seconds(2);
    EXPECT_EQ(Month(2026, 5), A(32));

    clock_.Set(2026, 5, 10, 10, 0);
    Seconds(1);
    // Back on the 10th with the times stored there, also for a name already listed.
    EXPECT_EQ(days_[0].LoadedText(), "0:0:30");
    Seconds(4);
    EXPECT_EQ(Day(2026, 5, 11), A(3));
    EXPECT_EQ(Day(2026, 5, 10), A(34));
    EXPECT_EQ(Month(2026, 5), A(37));

    clock_.Set(2026, 5, 11, 10, 5);
    Seconds(1);
    Seconds(2);
    EXPECT_EQ(Day(2026, 5, 10), A(35));
    EXPECT_EQ(Day(2026, 5, 11), A(5));
    EXPECT_EQ(Month(2026, 5), A(40));
    EXPECT_EQ(Year(2026), A(40));
    EXPECT_EQ(NewDayBoxes(), 2u);
}

TEST_F(DayChange, NewMonthMovesTheMonthTotalAndKeepsTheYear)
{
    clock_.Set(2026, 5, 31, 23, 59, 50);
    std::string b = StatLine("b.exe", "1:0:0", "0:0:0");
    Store(LogDayFile(dir_.Path(), user_, 2026, 5, 30), b);
    Store(LogMonthTotal(dir_.Path(), user_, 2026, 5), b);
    Store(LogYearTotal(dir_.Path(), user_, 2026), b);
    Start();
    Seconds(3);
    clock_.Set(2026, 6, 1, 0, 0, 5);
    Seconds(1);
    EXPECT_EQ(month_->Path(), LogMonthTotal(dir_.Path(), user_, 2026, 6));
    Seconds(2);

    EXPECT_EQ(Day(2026, 5, 31), A(4));
    EXPECT_EQ(Month(2026, 5), b + A(4));
    EXPECT_EQ(Day(2026, 6, 1), A(2));
    // The month list's names stay with their counters restarted, as the day list's do.
    EXPECT_EQ(Month(2026, 6), StatLine("b.exe", "0:0:0", "0:0:0") + A(2));
    EXPECT_EQ(Year(2026), b + A(6));
    EXPECT_EQ(NewDayBoxes(), 1u);
}

TEST_F(DayChange, NewYearMovesBothTotals)
{
    clock_.Set(2026, 12, 31, 23, 59, 59);
    Start();
    Seconds(2);
    clock_.Set(2027, 1, 1, 0, 0, 0);
    Seconds(1);
    Seconds(3);
    EXPECT_EQ(Day(2026, 12, 31), A(3));
    EXPECT_EQ(Month(2026, 12), A(3));
    EXPECT_EQ(Year(2026), A(3));
    EXPECT_EQ(Day(2027, 1, 1), A(3));
    EXPECT_EQ(Month(2027, 1), A(3));
    EXPECT_EQ(Year(2027), A(3));
}

TEST_F(DayChange, NewYearTakesWhatItsFilesAlreadyHold)
{
    clock_.Set(2026, 12, 31, 23, 0);
    Store(LogDayFile(dir_.Path(), user_, 2027, 1, 1), A(7));
    Store(LogMonthTotal(dir_.Path(), user_, 2027, 1), A(7));
    Store(LogYearTotal(dir_.Path(), user_, 2027), A(7));
    Start();
    Seconds(1);
    clock_.Set(2027, 1, 1, 9, 0);
    Seconds(3);
    EXPECT_EQ(Year(2026), A(2));
    EXPECT_EQ(Day(2027, 1, 1), A(9));
    EXPECT_EQ(Month(2027, 1), A(9));
    EXPECT_EQ(Year(2027), A(9));
}

TEST_F(DayChange, MessageOffStillMovesAndRestarts)
{
    newDayFlag = 0;
    Start();
    Seconds(1);
    clock_.Set(2026, 5, 11, 0, 0, 0);
    Seconds(2);
    EXPECT_EQ(Day(2026, 5, 10), A(2));
    EXPECT_EQ(Day(2026, 5, 11), A(1));
    EXPECT_EQ(NewDayBoxes(), 0u);
}

TEST_F(DayChange, DateSeenFirstByTheMonthSaveMovesAllAtOnce)
{
    Start();
    Seconds(2);
    Pass();
    day_->Save();
    clock_.Set(2026, 5, 11, 0, 0, 0);
    month_->Save();
    year_->Save();
    EXPECT_EQ(day_->Path(), LogDayFile(dir_.Path(), user_, 2026, 5, 11));
    EXPECT_EQ(NewDayBoxes(), 0u);
    Seconds(1);
    EXPECT_EQ(NewDayBoxes(), 1u);
    EXPECT_EQ(Day(2026, 5, 10), A(3));
    EXPECT_EQ(Day(2026, 5, 11), A(1));
    EXPECT_EQ(Month(2026, 5), A(4));
}

TEST_F(DayChange, SavesGoOnWhileTheNewDayMessageIsOpen)
{
    Start();
    Seconds(1);
    clock_.Set(2026, 5, 11, 0, 0, 0);
    int inside = 0;
    WhileBoxOpen() = [&] {
        // The timer keeps saving from the box's own loop, and finds no new day.
        if (inside++ == 0)
            Seconds(2);
    };
    Seconds(1);
    EXPECT_EQ(inside, 1);
    EXPECT_EQ(Day(2026, 5, 10), A(2));
    EXPECT_EQ(Day(2026, 5, 11), A(2));
    EXPECT_EQ(Month(2026, 5), A(4));
    EXPECT_EQ(NewDayBoxes(), 1u);
}

TEST_F(DayChange, ReopeningKeepsTheDateItIsOn)
{
    Start();
    Seconds(1);
    // A new log folder applied just after midnight: the old day's counts are not
    // carried into the new date's file; the next save makes the change.
    clock_.Set(2026, 5, 11, 0, 0, 0);
    TempDir other;
    day_->Open(other.Path());
    EXPECT_EQ(day_->Path(), LogDayFile(other.Path(), user_, 2026, 5, 10));
    month_->Open(other.Path());
    year_->Open(other.Path());
    Seconds(1);
    EXPECT_EQ(ReadBytes(LogDayFile(other.Path(), user_, 2026, 5, 10)), A(2));
    EXPECT_FALSE(FileExists(LogDayFile(other.Path(), user_, 2026, 5, 11)));
    EXPECT_EQ(days_[0].LoadedText(), "0:0:0");
}
