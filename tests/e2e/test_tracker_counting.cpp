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

// Today's three files under `logPath`: the day file holds `dayLine`, the totals `totalLine`.
void Seed(const std::string& logPath, const std::string& dayLine, const std::string& totalLine)
{
    const std::string day = DayFileOf(logPath);
    MakeFolders(day.substr(0, day.find_last_of('\\')));
    WriteBytes(day, dayLine);
    WriteBytes(MonthTotalOf(logPath), totalLine);
    WriteBytes(YearTotalOf(logPath), totalLine);
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
    Seed(newLog.Path(), stored, stored);
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

// Answers the tracker's box of `text` once it is there.
bool Answer(DWORD pid, const std::string& text)
{
    HWND box = nullptr;
    return PumpUntil([&] { return CountBoxes(pid, text, &box) == 1; }, 10000) && PressDialogButton(box, IDOK);
}

} // namespace

// Another program holds the day file and the month total without sharing when
// the tracker starts (a backup or a virus scanner does that): the saves go on
// while the user leaves the tracker's box open, Settings OK naming the same log
// folder spelled another way changes nothing, and each file, once free, holds
// each stored second once.
TEST(TrackerCounting, FilesHeldAtStartStopNoSaveAndAreJoinedOnce)
{
    TrackerWorld world;
    const std::string files[3] = {DayFileOf(world.LogPath()), MonthTotalOf(world.LogPath()), YearTotalOf(world.LogPath())};
    std::string day, total;
    AppendStatRecord(day, kApp, "1:0:0", "0:0:0", "0:0:0", "0:0:0");
    AppendStatRecord(total, kApp, "10:0:0", "0:0:0", "0:0:0", "0:0:0");
    Seed(world.LogPath(), day, total);
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
    EXPECT_TRUE(PumpUntil([&] { return ReadCounters(files[2], kApp).loaded >= 36003; }, 10000)) << ReadBytes(files[2]);
    EXPECT_EQ(CountBoxes(run.tracker.Pid(), dayBox), 1);
    for (const std::string& text : {dayBox, files[1] + " problem"})
        EXPECT_TRUE(Answer(run.tracker.Pid(), text)) << text;

    std::string respelled = world.LogPath() + "\\";
    CharUpperA(&respelled[0]);
    PostMessageA(run.indicator, WM_COMMAND, 32779, 0);  // Settings
    HWND settings = FindTopWindow("Settings - Kaltrow", run.tracker.Pid(), 10000);
    ASSERT_NE(settings, nullptr);
    SendMessageA(GetDlgItem(settings, 1062), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(respelled.c_str()));
    SendMessageA(GetDlgItem(settings, 1033), BM_CLICK, 0, 0);

    // The day file comes free first, then the month total.
    for (int i = 0; i < 2; ++i) {
        CloseHandle(held[i]);
        const long stored = i == 0 ? 3600 : 36000;
        EXPECT_TRUE(PumpUntil([&] { return ReadCounters(files[i], kApp).loaded > stored; }, 10000)) << ReadBytes(files[i]);
    }
    ASSERT_TRUE(CloseTracker(run.tracker, run.indicator));
    const long counted = ReadCounters(files[0], kApp).loaded - 3600;
    EXPECT_GT(counted, 0);
    for (int i = 1; i < 3; ++i)
        EXPECT_EQ(ReadCounters(files[i], kApp).loaded, 36000 + counted) << ReadBytes(files[i]);
}

namespace {

// A drive letter that Wine maps to a Unix folder through a link in the
// prefix, made and removed while programs run.
class LateDrive {
public:
    LateDrive()
    {
        char prefix[MAX_PATH] = {};
        GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
        letter_ = 'k';
        while (letter_ < 'y' && GetFileAttributesA(Root().c_str()) != INVALID_FILE_ATTRIBUTES)
            ++letter_;
        unixFolder_ = "/tmp/klr-drive-" + std::to_string(GetCurrentProcessId());
        link_ = std::string(prefix) + "/dosdevices/" + letter_ + ":";
        MakeFolders(Folder());
    }
    ~LateDrive()
    {
        RunUnixShell("rm -f '" + link_ + "'");
        RemoveTree(Folder());
    }
    std::string Root() const { return std::string(1, letter_) + ":\\"; }
    // The folder the drive will show, reached through Wine's Z: meanwhile.
    std::string Folder() const { return "Z:\\tmp\\" + unixFolder_.substr(5); }
    bool Arrive() const
    {
        return RunUnixShell("ln -s '" + unixFolder_ + "' '" + link_ + "'") &&
               PumpUntil([&] { return GetFileAttributesA(Root().c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
    }

private:
    char letter_;
    std::string unixFolder_, link_;
};

} // namespace

// The log folder is on a drive that comes only after the tracker started (a
// USB disk, a network drive mapped at logon): what its files hold is not known
// until then, so nothing stored there is written over.
TEST(TrackerCounting, ALogFolderOnADriveThatComesLaterKeepsWhatItHolds)
{
    TrackerWorld world;
    LateDrive drive;
    const std::string there = drive.Folder() + "\\log";
    std::string stored;
    AppendStatRecord(stored, "stored.exe", "2:0:0", "1:0:0", "0:0:0", "0:0:0");
    Seed(there, stored, stored);
    const std::string logPath = drive.Root() + "log";
    world.WriteKaltrowIni(logPath, 1, 0);
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr late drive", "--pos", "200", "420"}));
    ASSERT_NE(FindTopWindow("klr late drive", app.Pid()), nullptr);
    Running run;
    ASSERT_TRUE(StartTracker(world, run));
    ASSERT_TRUE(PumpUntil([&] { return CountBoxes(run.tracker.Pid(), DayFileOf(logPath) + " problem") == 1; }, 10000));

    ASSERT_TRUE(drive.Arrive());
    const std::string files[3] = {DayFileOf(there), MonthTotalOf(there), YearTotalOf(there)};
    for (const std::string& file : files)
        EXPECT_TRUE(PumpUntil([&] { return ReadCounters(file, kApp).loaded > 0; }, 10000)) << ReadBytes(file);
    for (const std::string& text : {DayFileOf(logPath), MonthTotalOf(logPath), YearTotalOf(logPath)})
        Answer(run.tracker.Pid(), text + " problem");
    ASSERT_TRUE(CloseTracker(run.tracker, run.indicator));
    const long counted = ReadCounters(files[0], kApp).loaded;
    for (const std::string& file : files) {
        EXPECT_EQ(ReadCounters(file, "stored.exe").loaded, 7200) << ReadBytes(file);
        EXPECT_EQ(ReadCounters(file, kApp).loaded, counted) << file;
    }
}
