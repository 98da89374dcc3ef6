#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log_paths.h"
#include "messages.h"
#include "my_mutex.h"
#include "progress_thread.h"
#include "pump.h"
#include "stat_record.h"
#include "statistics.h"
#include "top_windows.h"
#include "tracker_run.h"

// The viewer's reading of the log folder while the real tracker runs: nothing
// the tracker leaves in a month folder, even for a moment, breaks a level.

namespace {

std::vector<std::string>& Errors()
{
    static std::vector<std::string> errors;
    return errors;
}

int RecordError(const std::string& text, const std::string&, unsigned)
{
    Errors().push_back(text);
    return 1;
}

// The viewer's model over the tracker's log folder, reading under the real
// statistics mutex as the viewer does.
class ViewerModel {
public:
    explicit ViewerModel(const std::string& logPath)
        : mutex_(1, false), day_(&results_, &totals_, nullptr), month_(&results_, &totals_, &day_)
    {
        Errors().clear();
        SetMessageBoxFunction(RecordError);
        SetReadingObjects(&mutex_, nullptr);
        month_.SetLogFolder(logPath);
    }
    ~ViewerModel()
    {
        SetReadingObjects(nullptr, nullptr);
        SetMessageBoxFunction(nullptr);
    }

    bool Month(int year, int month)
    {
        TDate date = EncodeDate(year, month, 1);
        return month_.Run(date, date);
    }
    const TotalDates& Totals() const { return totals_; }

private:
    MyMutex mutex_;
    ApplicList results_;
    TotalDates totals_;
    StatisticsDay day_;
    StatisticsMonth month_;
};

SYSTEMTIME Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

} // namespace

TEST(TrackerWithViewer, MonthViewWhileTheTrackerSavesNeverFails)
{
    TrackerWorld world;
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr viewed", "--pos", "200", "420"}));
    ASSERT_NE(FindTopWindow("klr viewed", app.Pid()), nullptr);
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    ASSERT_NE(indicator, nullptr);
    const std::string day = DayFileOf(world.LogPath());
    long first = -1;
    ASSERT_TRUE(PumpUntil([&] { return (first = ReadCounters(day, "klr_testapp.exe").loaded) > 0; }, 10000));

    // Views one after the other for ten of the tracker's saves.
    ViewerModel viewer(world.LogPath());
    const SYSTEMTIME today = Today();
    int views = 0, failed = 0;
    long last = first;
    while (last < first + 10 && views < 20000) {
        if (!viewer.Month(today.wYear, today.wMonth))
            ++failed;
        ++views;
        long now = ReadCounters(day, "klr_testapp.exe").loaded;
        if (now > last)
            last = now;
    }
    EXPECT_EQ(failed, 0) << views << " views";
    EXPECT_TRUE(Errors().empty()) << Errors().front();
    EXPECT_GE(last, first + 10) << views << " views";
    EXPECT_EQ(viewer.Totals().periodDates.size(), 1u);
    std::printf("%d views over %ld saves\n", views, last - first);
    EXPECT_TRUE(CloseTracker(tracker, indicator));
}

TEST(TrackerWithViewer, TemporaryLeftInAnEarlierMonthIsGoneOnceTheTrackerStarted)
{
    TrackerWorld world;
    const SYSTEMTIME today = Today();
    const int year = today.wMonth == 1 ? today.wYear - 1 : today.wYear;
    const int month = today.wMonth == 1 ? 12 : today.wMonth - 1;
    const std::string user = WindowsUserName();
    const std::string folder = LogMonthFolder(world.LogPath(), user, year, month);
    MakeFolders(folder);
    std::string stored;
    AppendStatRecord(stored, "stored.exe", "1:0:0", "0:30:0", "0:0:0", "0:0:0");
    for (const char* name : {"3", "9", "total"})
        WriteBytes(folder + "\\" + name, stored);
    // What a tracker killed in the middle of saving day 9 left behind.
    WriteBytes(folder + "\\~klr9.tmp", stored.substr(0, 10));
    WriteBytes(LogYearFolder(world.LogPath(), user, year) + "\\~klrtotal.tmp", "");
    {
        ViewerModel before(world.LogPath());
        ASSERT_FALSE(before.Month(year, month));
        ASSERT_EQ(Errors().size(), 1u);
    }

    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    ASSERT_NE(indicator, nullptr);
    ViewerModel viewer(world.LogPath());
    EXPECT_TRUE(viewer.Month(year, month));
    EXPECT_TRUE(Errors().empty());
    ASSERT_EQ(viewer.Totals().periodDates.size(), 2u);
    EXPECT_EQ(viewer.Totals().periodDates[0], EncodeDate(year, month, 3));
    EXPECT_EQ(viewer.Totals().periodDates[1], EncodeDate(year, month, 9));
    EXPECT_FALSE(FileExists(LogYearFolder(world.LogPath(), user, year) + "\\~klrtotal.tmp"));
    for (const char* name : {"3", "9", "total"})
        EXPECT_EQ(ReadBytes(folder + "\\" + name), stored) << name;
    EXPECT_TRUE(CloseTracker(tracker, indicator));
}
