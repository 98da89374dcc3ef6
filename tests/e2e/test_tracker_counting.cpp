#include <gtest/gtest.h>

#include "message_box.h"
#include "pump.h"
#include "stat_record.h"
#include "top_windows.h"
#include "tracker_run.h"
#include "x_input.h"

// The real tracker counting a real application from the hook library's reports.

namespace {

const char kApp[] = "klr_testapp.exe";

struct Running {
    TestProcess tracker;
    HWND indicator = nullptr;
};

bool StartTracker(const TrackerWorld& world, Running& run)
{
    if (!world.Start(run.tracker))
        return false;
    run.indicator = world.WaitForIndicator(run.tracker.Pid());
    return run.indicator != nullptr;
}

// Mouse and keyboard into the application for a few seconds.
void UseApplication(HWND window, int seconds)
{
    POINT centre = ClientCentre(window);
    for (int i = 0; i < seconds * 2; ++i) {
        MouseMoveTo(centre.x + (i % 2 ? 20 : -20), centre.y + (i % 3) * 5);
        TypeText("ab");
        PumpFor(300);
    }
}

bool AllPositive(const Counters& c)
{
    return c.loaded > 0 && c.active > 0 && c.mouse > 0 && c.keyboard > 0;
}

} // namespace

TEST(TrackerCounting, ForegroundMouseAndKeyboardSecondsGrowInAllThreeFiles)
{
    ASSERT_TRUE(XInputAvailable());
    TrackerWorld world;
    // Already open before the tracker starts: counted by its first look around.
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr counted", "--pos", "200", "420"}));
    HWND window = FindTopWindow("klr counted", app.Pid());
    ASSERT_NE(window, nullptr);

    Running run;
    ASSERT_TRUE(StartTracker(world, run));
    const std::string day = DayFileOf(world.LogPath());
    EXPECT_TRUE(PumpUntil([&] { return ReadCounters(day, kApp).loaded > 0; }, 10000)) << ReadBytes(day);

    ASSERT_TRUE(ActivateWindow(window));
    UseApplication(window, 4);
    Counters first;
    ASSERT_TRUE(PumpUntil([&] { return AllPositive(first = ReadCounters(day, kApp)); }, 10000)) << ReadBytes(day);
    UseApplication(window, 3);
    Counters later;
    EXPECT_TRUE(PumpUntil([&] {
        later = ReadCounters(day, kApp);
        return later.loaded > first.loaded && later.active > first.active && later.mouse > first.mouse &&
               later.keyboard > first.keyboard;
    }, 10000)) << ReadBytes(day);

    ASSERT_TRUE(CloseTracker(run.tracker, run.indicator));
    Counters inDay = ReadCounters(day, kApp);
    Counters inMonth = ReadCounters(MonthTotalOf(world.LogPath()), kApp);
    Counters inYear = ReadCounters(YearTotalOf(world.LogPath()), kApp);
    // A fresh log folder: the totals hold what the day holds, the three being
    // saved from one look at the lists.
    EXPECT_TRUE(AllPositive(inDay));
    for (const Counters& total : {inMonth, inYear}) {
        EXPECT_EQ(total.loaded, inDay.loaded);
        EXPECT_EQ(total.active, inDay.active);
        EXPECT_EQ(total.mouse, inDay.mouse);
        EXPECT_EQ(total.keyboard, inDay.keyboard);
    }
    // Loaded runs every second, the rest only while used.
    EXPECT_GE(inDay.loaded, inDay.active);
}

TEST(TrackerCounting, ReloadedSettingsMoveTheNextSavesToTheNewFolder)
{
    TrackerWorld world;
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr moved", "--pos", "200", "420"}));
    ASSERT_NE(FindTopWindow("klr moved", app.Pid()), nullptr);
    Running run;
    ASSERT_TRUE(StartTracker(world, run));
    const std::string oldDay = DayFileOf(world.LogPath());
    ASSERT_TRUE(PumpUntil([&] { return ReadCounters(oldDay, kApp).loaded > 1; }, 10000)) << ReadBytes(oldDay);

    // Another log folder where today's files already hold other applications' times.
    TempDir newLog;
    std::string stored;
    AppendStatRecord(stored, "stored.exe", "2:0:0", "1:0:0", "0:10:0", "0:5:0");
    for (const std::string& file : {DayFileOf(newLog.Path()), MonthTotalOf(newLog.Path()), YearTotalOf(newLog.Path())}) {
        MakeFolders(file.substr(0, file.find_last_of('\\')));
        WriteBytes(file, stored);
    }
    world.WriteKaltrowIni(newLog.Path(), 1, 0);
    PostMessageA(run.indicator, 2114, 0, 0);

    const std::string newDay = DayFileOf(newLog.Path());
    const std::string newFiles[] = {newDay, MonthTotalOf(newLog.Path()), YearTotalOf(newLog.Path())};
    // The three are saved one after the other.
    EXPECT_TRUE(PumpUntil([&] {
        for (const std::string& file : newFiles) {
            if (ReadCounters(file, kApp).loaded <= 0)
                return false;
        }
        return true;
    }, 10000)) << ReadBytes(newDay);
    for (const std::string& file : newFiles) {
        Counters kept = ReadCounters(file, "stored.exe");
        EXPECT_EQ(kept.loaded, 7200) << file;
        EXPECT_EQ(kept.active, 3600) << file;
        EXPECT_EQ(kept.mouse, 600) << file;
        EXPECT_EQ(kept.keyboard, 300) << file;
        EXPECT_GT(ReadCounters(file, kApp).loaded, 0) << file;
    }
    // The old folder gets no more saves.
    long frozen = ReadCounters(oldDay, kApp).loaded;
    PumpFor(2500);
    EXPECT_EQ(ReadCounters(oldDay, kApp).loaded, frozen);
    EXPECT_TRUE(CloseTracker(run.tracker, run.indicator));
}

namespace {

// The tracker's message boxes showing `text`: how many, and the first.
int CountBoxes(DWORD pid, const std::string& text, HWND* first = nullptr)
{
    int count = 0;
    WaitForTopWindow([&](HWND w) {
        if (WindowProcessId(w) == pid && MessageBoxText(w) == text && count++ == 0 && first)
            *first = w;
        return false;
    }, 0);
    return count;
}

} // namespace

// Another program holds the day file and the month total without sharing when
// the tracker starts (a backup or a virus scanner does that): the saves go on
// while the user leaves the tracker's box open, and each file, once free, holds
// each stored second once.
TEST(TrackerCounting, FilesHeldAtStartStopNoSaveAndAreJoinedOnce)
{
    TrackerWorld world;
    const std::string files[3] = {DayFileOf(world.LogPath()), MonthTotalOf(world.LogPath()), YearTotalOf(world.LogPath())};
    std::string stored;
    AppendStatRecord(stored, kApp, "1:0:0", "0:0:0", "0:0:0", "0:0:0");
    MakeFolders(files[0].substr(0, files[0].find_last_of('\\')));
    for (const std::string& file : files)
        WriteBytes(file, stored);
    HANDLE held[2];
    for (int i = 0; i < 2; ++i)
        held[i] = HoldUnshared(files[i]);
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr held", "--pos", "200", "420"}));
    ASSERT_NE(FindTopWindow("klr held", app.Pid()), nullptr);
    Running run;
    ASSERT_TRUE(StartTracker(world, run));

    const std::string dayBox = files[0] + " problem";
    ASSERT_TRUE(PumpUntil([&] { return CountBoxes(run.tracker.Pid(), dayBox) == 1; }, 10000));
    // The box stays open: the year total is still saved, and no second box comes.
    EXPECT_TRUE(PumpUntil([&] { return ReadCounters(files[2], kApp).loaded >= 3603; }, 10000)) << ReadBytes(files[2]);
    EXPECT_EQ(CountBoxes(run.tracker.Pid(), dayBox), 1);

    // The day file comes free first, then the month total.
    for (int i = 0; i < 2; ++i) {
        CloseHandle(held[i]);
        EXPECT_TRUE(PumpUntil([&] { return ReadCounters(files[i], kApp).loaded > 3600; }, 10000)) << ReadBytes(files[i]);
    }
    for (const std::string& text : {dayBox, files[1] + " problem"}) {
        HWND box = nullptr;
        PumpUntil([&] { return CountBoxes(run.tracker.Pid(), text, &box) == 1; }, 5000);
        EXPECT_TRUE(PressDialogButton(box, IDOK)) << text;
    }
    ASSERT_TRUE(CloseTracker(run.tracker, run.indicator));
    Counters day = ReadCounters(files[0], kApp);
    EXPECT_GT(day.loaded, 3600);
    for (int i = 1; i < 3; ++i)
        EXPECT_EQ(ReadCounters(files[i], kApp).loaded, day.loaded) << files[i];
}
