#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include "log_paths.h"
#include "message_box.h"
#include "pump.h"
#include "top_windows.h"
#include "tracker_run.h"

// How the real tracker starts and ends, one row of its start-up table at a time.

TEST(TrackerStartup, StartupArgumentEndsAtOnceWhenStartupIsOff)
{
    TrackerWorld world;
    world.WriteKaltrowIni(world.LogPath(), 0, 0);
    DeleteFileA(world.BannerIni().c_str());
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker, "startup"));
    DWORD code = 99;
    ASSERT_TRUE(tracker.WaitForExit(15000, &code));
    EXPECT_EQ(code, 0u);
    // It ended before reading "banner.ini" or opening any statistics file.
    EXPECT_FALSE(FileExists(world.BannerIni()));
    EXPECT_FALSE(FileExists(DayFileOf(world.LogPath())));
}

TEST(TrackerStartup, OtherArgumentsStartItWhateverTheSetting)
{
    TrackerWorld world;
    world.WriteKaltrowIni(world.LogPath(), 0, 0);
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker, "Startup"));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    ASSERT_NE(indicator, nullptr);
    DWORD code = 99;
    EXPECT_TRUE(CloseTracker(tracker, indicator, &code));
    EXPECT_EQ(code, 0u);
}

TEST(TrackerStartup, FirstStartWritesBothSettingsFilesWithTheirDefaults)
{
    TrackerWorld world;
    DeleteFileA(world.KaltrowIni().c_str());
    DeleteFileA(world.BannerIni().c_str());
    const std::string stale = ".~klr2147483644.tmp";  // left by a crash
    for (const std::string& ini : {world.KaltrowIni(), world.BannerIni()})
        WriteBytes(ini + stale, "x");
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker, "startup"));  // startup defaults to 1, so it runs
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    ASSERT_NE(indicator, nullptr);
    EXPECT_FALSE(FileExists(world.KaltrowIni() + stale) || FileExists(world.BannerIni() + stale));
    EXPECT_EQ(ReadBytes(world.KaltrowIni()),
              "log_path = " + world.DataFolder() + "\\Log\r\nstartup = 1\r\nnew_day = 1");
    int cx = GetSystemMetrics(SM_CXFULLSCREEN), cy = GetSystemMetrics(SM_CYFULLSCREEN);
    EXPECT_EQ(ReadBytes(world.BannerIni()), "top = " + std::to_string(cy / 2 - 9) + "\r\nleft = " +
                                                std::to_string(cx / 2 - 80) + "\r\nshow = 5\r\ntransparency = 170\r\n");
    // Placed and shown right after its caption is set.
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(indicator) != FALSE; }, 5000));
    RECT r;
    GetWindowRect(indicator, &r);
    EXPECT_EQ(r.left, cx / 2 - 80);
    EXPECT_EQ(r.top, cy / 2 - 9);
    EXPECT_TRUE(CloseTracker(tracker, indicator));
}

TEST(TrackerStartup, SecondInstanceEndsWithOneAndBringsTheFirstForward)
{
    TrackerWorld world;
    world.WriteBannerIni(320, 240, 0, 255);  // the first one starts hidden
    TestProcess first;
    ASSERT_TRUE(world.Start(first));
    HWND indicator = world.WaitForIndicator(first.Pid());
    ASSERT_NE(indicator, nullptr);
    PumpFor(500);
    EXPECT_FALSE(IsWindowVisible(indicator));

    // The second one finds a log folder the first does not use and no "banner.ini".
    TempDir unused;
    world.WriteKaltrowIni(unused.Path(), 1, 0);
    DeleteFileA(world.BannerIni().c_str());
    TestProcess second;
    ASSERT_TRUE(world.Start(second));
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(15000, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(indicator) != FALSE; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == indicator; }, 5000));
    // It wrote nothing, and the running tracker's own state was not saved either.
    EXPECT_FALSE(FolderExists(LogUserFolder(unused.Path(), WindowsUserName())));
    EXPECT_FALSE(FileExists(world.BannerIni()));
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(CloseTracker(first, indicator));
}

TEST(TrackerStartup, MissingHookLibraryIsReportedAndEndsTheProgram)
{
    TrackerWorld world;
    TempDir lonely;
    std::string exe = lonely / "kaltrow.exe";
    ASSERT_TRUE(CopyFileA((DistFolder() + "\\kaltrow.exe").c_str(), exe.c_str(), FALSE));
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker, "", exe));
    HWND box = FindDialog(tracker.Pid(), 15000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Error");
    EXPECT_EQ(MessageBoxText(box), "Unable to find library \"klr.dll\"");
    EXPECT_EQ(world.WaitForIndicator(tracker.Pid(), 200), nullptr);
    EXPECT_TRUE(PressDialogButton(box, IDOK));
    DWORD code = 99;
    ASSERT_TRUE(tracker.WaitForExit(15000, &code));
    EXPECT_EQ(code, 0u);
}

namespace {

const UINT kReloadSettings = WM_USER + 1090;
const WPARAM kQuitCommand = 32773;

std::string FolderOf(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

// True once the window's thread no longer answers: stuck in a wait.
bool Unanswering(HWND window)
{
    DWORD_PTR result = 0;
    return !SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 300, &result);
}

} // namespace

TEST(TrackerShutdown, CloseRequestSavesAndQuitDoesNot)
{
    TrackerWorld world;
    for (bool quit : {false, true}) {
        SCOPED_TRACE(quit ? "Quit" : "close request");
        TestProcess tracker;
        ASSERT_TRUE(world.Start(tracker));
        HWND indicator = world.WaitForIndicator(tracker.Pid());
        ASSERT_NE(indicator, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return FileExists(DayFileOf(world.LogPath())); }, 5000));
        // "banner.ini" is saved only on a move, a show or hide, or a close request.
        DeleteFileA(world.BannerIni().c_str());

        // Only the ending can write into a log folder the tracker switches to
        // just before it. Holding the statistics mutex stops the tracker in its
        // next timer save; the switch and the ending are then queued together,
        // and the timer fires only when no posted message waits.
        TempDir moved;
        world.WriteKaltrowIni(moved.Path(), 1, 0);
        HANDLE statistics = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "1");
        ASSERT_NE(statistics, nullptr);
        DWORD taken = WaitForSingleObject(statistics, 10000);
        ASSERT_TRUE(taken == WAIT_OBJECT_0 || taken == WAIT_ABANDONED);
        bool stuck = PumpUntil([&] { return Unanswering(indicator); }, 10000);
        PostMessageA(indicator, kReloadSettings, 0, 0);
        if (quit)
            PostMessageA(indicator, WM_COMMAND, kQuitCommand, 0);
        else
            PostMessageA(indicator, WM_CLOSE, 0, 0);
        ReleaseMutex(statistics);
        CloseHandle(statistics);
        ASSERT_TRUE(stuck);

        DWORD code = 99;
        ASSERT_TRUE(tracker.WaitForExit(15000, &code));
        EXPECT_EQ(code, 0u);
        // It did switch: today's folders are there in the new log folder.
        EXPECT_TRUE(FolderExists(FolderOf(DayFileOf(moved.Path()))));
        EXPECT_EQ(FileExists(world.BannerIni()), !quit);
        EXPECT_EQ(FileExists(DayFileOf(moved.Path())), !quit);
        EXPECT_EQ(FileExists(MonthTotalOf(moved.Path())), !quit);
        EXPECT_EQ(FileExists(YearTotalOf(moved.Path())), !quit);
        world.WriteBannerIni(300, 300, 5, 255);
        world.WriteKaltrowIni(world.LogPath(), 1, 0);
    }
}

TEST(TrackerShutdown, QuitAndCloseEndItWhenTheInstanceMutexNameIsTaken)
{
    TrackerWorld world;
    // Another program's event holds the name, so no mutex of that name can be made.
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, "mutex");
    ASSERT_NE(squatter, nullptr);
    for (bool quit : {true, false}) {
        SCOPED_TRACE(quit ? "Quit" : "close request");
        TestProcess tracker;
        ASSERT_TRUE(world.Start(tracker));
        HWND indicator = world.WaitForIndicator(tracker.Pid());
        ASSERT_NE(indicator, nullptr);
        // Running: the timer has saved.
        ASSERT_TRUE(PumpUntil([&] { return FileExists(DayFileOf(world.LogPath())); }, 5000));
        PostMessageA(indicator, quit ? WM_COMMAND : WM_CLOSE, quit ? kQuitCommand : 0, 0);
        DWORD code = 99;
        EXPECT_TRUE(tracker.WaitForExit(15000, &code));
        EXPECT_EQ(code, 0u);
    }
    CloseHandle(squatter);
}

TEST(TrackerStartup, WithTheInstanceMutexNameTakenASecondStartStillHandsOver)
{
    TrackerWorld world;
    world.WriteBannerIni(320, 240, 0, 255);  // the first one starts hidden
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, "mutex");
    ASSERT_NE(squatter, nullptr);
    TestProcess first;
    ASSERT_TRUE(world.Start(first));
    HWND indicator = world.WaitForIndicator(first.Pid());
    ASSERT_NE(indicator, nullptr);

    TestProcess second;
    ASSERT_TRUE(world.Start(second));
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(15000, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(indicator) != FALSE; }, 5000));
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(CloseTracker(first, indicator));
    CloseHandle(squatter);
}

namespace {

const WPARAM kSettingsCommand = 32779;

bool HasModule(DWORD pid, const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Module32First(snapshot, &entry); more && !found; more = Module32Next(snapshot, &entry))
        found = lstrcmpiA(entry.szModule, name) == 0;
    CloseHandle(snapshot);
    return found;
}

HWND TipWindowOf(DWORD pid)
{
    for (HWND w = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); w;
         w = FindWindowExA(nullptr, w, TOOLTIPS_CLASSA, nullptr))
        if (WindowProcessId(w) == pid)
            return w;
    return nullptr;
}

} // namespace

// comctl32 is a large part of a running tracker's memory: it waits for the
// first of its controls, the Settings dialog's trackbar or the strip's tips,
// and each of those still comes.
TEST(TrackerStartup, CommonControlsWaitForTheSettingsOrThePointerOverTheStrip)
{
    TrackerWorld world;
    world.WriteBannerIni(320, 240, 1, 255);
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    ASSERT_NE(indicator, nullptr);
    ASSERT_TRUE(
        PumpUntil([&] { return ReadCounters(DayFileOf(world.LogPath()), "kaltrow.exe").loaded >= 1; }, 15000));
    EXPECT_FALSE(HasModule(tracker.Pid(), "comctl32.dll"));

    PostMessageA(indicator, WM_COMMAND, kSettingsCommand, 0);
    HWND settings = FindTopWindow("Settings - Kaltrow", tracker.Pid(), 10000);
    ASSERT_NE(settings, nullptr);
    EXPECT_NE(FindWindowExA(settings, nullptr, "msctls_trackbar32", nullptr), nullptr);
    EXPECT_TRUE(HasModule(tracker.Pid(), "comctl32.dll"));
    PostMessageA(settings, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(settings); }, 5000));

    EXPECT_EQ(TipWindowOf(tracker.Pid()), nullptr);
    PostMessageA(indicator, WM_MOUSEMOVE, 0, MAKELPARAM(60, 5));
    ASSERT_TRUE(PumpUntil([&] { return TipWindowOf(tracker.Pid()) != nullptr; }, 5000));
    EXPECT_EQ(SendMessageA(TipWindowOf(tracker.Pid()), TTM_GETTOOLCOUNT, 0, 0), 3);
    EXPECT_TRUE(CloseTracker(tracker, indicator));
}

// An emptied "Save log files to" is the default folder, as the next start reads it;
// it is taken only once "kaltrow.ini" says so, not while another program holds the file.
TEST(TrackerStartup, SettingsOkSwitchesToTheDefaultLogFolderOnlyOnceTheFileIsSaved)
{
    TrackerWorld world;
    const std::string rootYear = FolderOf(YearTotalOf(DistFolder().substr(0, 2)));  // at the current drive's root
    ASSERT_FALSE(FolderExists(rootYear));
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    PostMessageA(indicator, WM_COMMAND, kSettingsCommand, 0);
    HWND settings = FindTopWindow("Settings - Kaltrow", tracker.Pid(), 10000);
    SendMessageA(GetDlgItem(settings, 1062), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    const std::string oldDay = DayFileOf(world.LogPath()), newDay = DayFileOf(world.DataFolder() + "\\Log");
    DeleteFileA(newDay.c_str());
    HANDLE held = HoldUnshared(world.KaltrowIni());
    PostMessageA(GetDlgItem(settings, 1033), BM_CLICK, 0, 0);  // a sent click would wait for the box
    const std::string told = world.KaltrowIni() + " could not be saved";
    HWND box = WaitForTopWindow([&](HWND w) { return MessageBoxText(w).compare(0, told.size(), told) == 0; }, 10000);
    CloseHandle(held);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(PressDialogButton(box, IDOK));
    DeleteFileA(oldDay.c_str());
    EXPECT_TRUE(PumpUntil([&] { return FileExists(oldDay); }, 5000));
    EXPECT_FALSE(FileExists(newDay));
    SendMessageA(GetDlgItem(settings, 1033), BM_CLICK, 0, 0);  // the dialog is still open, as typed
    EXPECT_TRUE(PumpUntil([&] { return FileExists(newDay); }, 10000));
    EXPECT_FALSE(FolderExists(rootYear));
    EXPECT_TRUE(CloseTracker(tracker, indicator));
    RemoveTree(rootYear);  // absent before the tracker ran
}

// A strip last left on a monitor that is gone since opens in the centre.
TEST(TrackerStartup, StripPlacedOffEveryScreenStartsInTheCentre)
{
    TrackerWorld world;
    world.WriteBannerIni(5000, -3000, 5, 255);
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    RECT r;
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(indicator) && GetWindowRect(indicator, &r); }, 5000));
    EXPECT_EQ(r.left, GetSystemMetrics(SM_CXFULLSCREEN) / 2 - 80);
    EXPECT_EQ(r.top, GetSystemMetrics(SM_CYFULLSCREEN) / 2 - 9);
    EXPECT_TRUE(CloseTracker(tracker, indicator));
}
