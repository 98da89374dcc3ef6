#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hard_kill.h"
#include "pump.h"
#include "top_windows.h"
#include "tracker_run.h"

// Loaded seconds of the real tracker against the seconds a window of a real
// application really was open: shown, hidden, titled late, two at a time,
// across a restart of the tracker after it was killed.

namespace {

const char kApp[] = "klr_testapp.exe";
// Open throughout, counted by the tracker's look around at start: its loaded
// seconds show how far the tracker's saves have come.
const char kWitness[] = "klr_witness.exe";

const double kHandlingSeconds = 0.25;

double Now()
{
    return static_cast<double>(GetTickCount()) / 1000.0;
}

// When something happened: after `from` and before `to`.
struct Moment {
    double from = 0, to = 0;
};

// A window of the test application, hidden or not.
HWND FindAppWindow(const std::string& title, DWORD pid, DWORD timeoutMs = 5000)
{
    HWND found = nullptr;
    PumpUntil([&] {
        HWND w = nullptr;
        while ((w = FindWindowExA(nullptr, w, "KlrTestApp", title.c_str())) != nullptr) {
            if (WindowProcessId(w) == pid) {
                found = w;
                return true;
            }
        }
        return false;
    }, timeoutMs);
    return found;
}

class TrackerLoaded : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string exe = witnessFolder_ / kWitness;
        ASSERT_TRUE(CopyFileA(TestAppPath().c_str(), exe.c_str(), FALSE));
        ASSERT_TRUE(witness_.Start(exe, {"--title", "klr witness", "--pos", "900", "700", "--size", "200", "100"}));
        ASSERT_NE(FindTopWindow("klr witness", witness_.Pid()), nullptr);
    }

    void TearDown() override
    {
        if (tracker_.IsRunning()) {
            EXPECT_TRUE(CloseTracker(tracker_, indicator_));
        }
    }

    bool StartTracker(Moment* started = nullptr)
    {
        double from = Now();
        if (!world_.Start(tracker_))
            return false;
        indicator_ = world_.WaitForIndicator(tracker_.Pid());
        if (started)
            *started = {from, Now()};
        return indicator_ != nullptr;
    }

    long LoadedOf(const std::string& name) { return ReadCounters(DayFile(), name).loaded; }
    std::string DayFile() const { return DayFileOf(world_.LogPath()); }

    // Waits until the witness's loaded time has grown by `seconds`: the day
    // file then holds what the tracker counted at least that long after now.
    bool Saves(int seconds)
    {
        long start = -1;
        return PumpUntil([&] { return (start = LoadedOf(kWitness)) >= 0; }, 15000) &&
               PumpUntil([&] { return LoadedOf(kWitness) >= start + seconds; }, 15000);
    }

    static Moment Show(HWND window, int command)
    {
        bool visible = command != SW_HIDE;
        Moment m;
        m.from = Now();
        ShowWindowAsync(window, command);
        PumpUntil([&] { return (IsWindowVisible(window) != FALSE) == visible; }, 5000);
        m.to = Now();
        return m;
    }

    // Closes the window and waits until it is gone.
    static Moment Close(HWND window)
    {
        Moment m;
        m.from = Now();
        PostMessageA(window, WM_CLOSE, 0, 0);
        PumpUntil([&] { return !IsWindow(window); }, 5000);
        m.to = Now();
        return m;
    }

    // What an application's loaded seconds should show: the time from `opened`
    // to `gone`, on top of `before` from an earlier run.
    struct Life {
        std::string name;
        Moment opened, gone;
        long before = 0;
    };

    // Once the windows went, each application's loaded seconds match its life
    // within a second, and no longer grow.
    void ExpectLives(const std::vector<Life>& lives)
    {
        ASSERT_TRUE(Saves(2)) << ReadBytes(DayFile());
        std::vector<long> loaded;
        for (const Life& life : lives) {
            SCOPED_TRACE(life.name);
            loaded.push_back(LoadedOf(life.name) - life.before);
            // A posted announcement may take the tracker a moment to handle.
            EXPECT_GE(loaded.back(), life.gone.from - life.opened.to - 1.0 - kHandlingSeconds) << ReadBytes(DayFile());
            EXPECT_LE(loaded.back(), life.gone.to - life.opened.from + 1.0) << ReadBytes(DayFile());
        }
        ASSERT_TRUE(Saves(2));
        for (size_t i = 0; i < lives.size(); ++i)
            EXPECT_EQ(LoadedOf(lives[i].name) - lives[i].before, loaded[i]) << lives[i].name << " still grows";
    }

    TempDir witnessFolder_;
    TestProcess witness_;
    TrackerWorld world_;
    TestProcess tracker_;
    HWND indicator_ = nullptr;
};

} // namespace

TEST_F(TrackerLoaded, WindowOpenBeforeTheTrackerHiddenThenClosed)
{
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr loaded early"}));
    HWND w = FindTopWindow("klr loaded early", app.Pid());
    ASSERT_NE(w, nullptr);
    Moment opened;
    ASSERT_TRUE(StartTracker(&opened));
    PumpFor(1000);
    Show(w, SW_HIDE);
    PumpFor(1500);
    Moment gone = Close(w);
    ASSERT_TRUE(app.WaitForExit(5000));
    ExpectLives({{kApp, opened, gone}});
}

TEST_F(TrackerLoaded, WindowCreatedHiddenBeforeTheTrackerCountsFromWhenItShows)
{
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr loaded shown", "--hidden"}));
    HWND w = FindAppWindow("klr loaded shown", app.Pid());
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(StartTracker());
    ASSERT_TRUE(Saves(1));
    EXPECT_LE(LoadedOf(kApp), 0) << "counted while hidden";
    Moment opened = Show(w, SW_SHOW);
    PumpFor(2000);
    Moment gone = Close(w);
    ExpectLives({{kApp, opened, gone}});
}

TEST_F(TrackerLoaded, TwoWindowsOfOneApplicationOneClosedThenTheOther)
{
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr loaded one", "--size", "300", "200", "--second",
                                          "klr loaded two"}));
    HWND one = FindTopWindow("klr loaded one", app.Pid());
    HWND two = FindTopWindow("klr loaded two", app.Pid());
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    Moment opened;
    ASSERT_TRUE(StartTracker(&opened));
    PumpFor(500);
    // Minimised when it goes: one window fewer, the other still open.
    Show(one, SW_MINIMIZE);
    Close(one);
    PumpFor(2000);
    Moment gone = Close(two);
    ASSERT_TRUE(app.WaitForExit(5000));
    ExpectLives({{kApp, opened, gone}});
}

TEST_F(TrackerLoaded, WindowTitledLateThenHiddenAndShownAgainCountsOnce)
{
    ASSERT_TRUE(StartTracker());
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr loaded late", "--title-after", "1000"}));
    HWND w = FindTopWindow("", app.Pid());
    ASSERT_NE(w, nullptr);
    Moment opened;
    opened.from = Now();
    ASSERT_TRUE(PumpUntil([&] { return WindowText(w) == "klr loaded late"; }, 5000));
    opened.to = Now();
    ASSERT_TRUE(Saves(2));
    EXPECT_GT(LoadedOf(kApp), 0) << "not counted once titled";
    // Into the tray and back: still one window.
    Show(w, SW_HIDE);
    PumpFor(500);
    Show(w, SW_SHOW);
    PumpFor(1000);
    Moment gone = Close(w);
    ExpectLives({{kApp, opened, gone}});
}

TEST_F(TrackerLoaded, TrackerRestartedAfterAHardKillCountsWhatIsOpenThen)
{
    // Two applications: the first stays open throughout, the second is hidden
    // while the tracker is down and shown again afterwards.
    TempDir folder;
    std::string secondExe = folder / "klr_second.exe";
    ASSERT_TRUE(CopyFileA(TestAppPath().c_str(), secondExe.c_str(), FALSE));
    TestProcess first, second;
    ASSERT_TRUE(first.Start(TestAppPath(), {"--title", "klr loaded stays"}));
    ASSERT_TRUE(second.Start(secondExe, {"--title", "klr loaded again", "--pos", "600", "100"}));
    HWND stays = FindTopWindow("klr loaded stays", first.Pid());
    HWND again = FindTopWindow("klr loaded again", second.Pid());
    ASSERT_NE(stays, nullptr);
    ASSERT_NE(again, nullptr);

    ASSERT_TRUE(StartTracker());
    ASSERT_TRUE(Saves(1));
    // Told of again while the first run counts it already.
    Show(again, SW_HIDE);
    Show(again, SW_SHOW);
    Show(again, SW_HIDE);
    ASSERT_TRUE(HardKillTracker(tracker_));
    long stayedBefore = LoadedOf(kApp);
    long againBefore = LoadedOf("klr_second.exe");
    ASSERT_GT(stayedBefore, 0) << ReadBytes(DayFile());
    ASSERT_GT(againBefore, 0) << ReadBytes(DayFile());

    Moment restarted;
    ASSERT_TRUE(StartTracker(&restarted));
    ASSERT_TRUE(Saves(1));
    EXPECT_EQ(LoadedOf("klr_second.exe"), againBefore) << "counted while hidden";
    Moment shown = Show(again, SW_SHOW);
    PumpFor(1500);
    Moment stayedGone = Close(stays);
    Moment againGone = Close(again);
    ExpectLives({{kApp, restarted, stayedGone, stayedBefore}, {"klr_second.exe", shown, againGone, againBefore}});
}

TEST_F(TrackerLoaded, ApplicationKilledHardStopsCountingWithItsWindows)
{
    // No notice of its windows' end comes from a program that dies.
    TempDir folder;
    std::string exe = folder / "klr_doomed.exe";
    ASSERT_TRUE(CopyFileA(TestAppPath().c_str(), exe.c_str(), FALSE));
    TestProcess app;
    ASSERT_TRUE(app.Start(exe, {"--title", "klr loaded doomed", "--second", "klr loaded doomed too"}));
    ASSERT_NE(FindTopWindow("klr loaded doomed", app.Pid()), nullptr);
    ASSERT_NE(FindTopWindow("klr loaded doomed too", app.Pid()), nullptr);
    Moment opened;
    ASSERT_TRUE(StartTracker(&opened));
    ASSERT_TRUE(Saves(2));
    HardKiller killer;
    ASSERT_TRUE(killer.Arm("klr_doomed.exe"));
    Moment gone;
    gone.from = Now();
    killer.Fire();
    ASSERT_TRUE(app.WaitForExit(15000));
    gone.to = Now();
    ExpectLives({{"klr_doomed.exe", opened, gone}});
}
