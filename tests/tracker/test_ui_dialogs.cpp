#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <string>
#include <thread>

#include "commands.h"
#include "dialogs.h"
#include "indicator.h"
#include "records.h"
#include "settings.h"
#include "stat_file.h"
#include "stat_record.h"
#include "test_support.h"
#include "resource.h"
#include "tracker_messages.h"
#include "ui_support.h"

namespace {

std::string KaltrowIni()
{
    return World().dataFolder + "\\kaltrow.ini";
}

std::string BannerIni()
{
    return World().dataFolder + "\\banner.ini";
}

struct TitleSearch {
    const char* title;
    int count;
};

BOOL CALLBACK CountIfTitled(HWND w, LPARAM p)
{
    auto* s = reinterpret_cast<TitleSearch*>(p);
    char text[256] = {};
    GetWindowTextA(w, text, sizeof(text));
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == GetCurrentProcessId() && std::string(text) == s->title)
        ++s->count;
    return TRUE;
}

int CountWindowsTitled(const char* title)
{
    TitleSearch search = {title, 0};
    EnumWindows(CountIfTitled, reinterpret_cast<LPARAM>(&search));
    return search.count;
}

HWND OpenSettings()
{
    SendMessageA(World().indicator, WM_COMMAND, ID_MENU_SETTINGS, 0);
    Pump();
    return SettingsDialog().Handle();
}

std::string EditText(HWND dialog)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, IDC_LOG_PATH, text, sizeof(text));
    return text;
}

// Today's day file under `logPath` holding one record per name.
void WriteDayFile(const std::string& logPath, const std::string& records)
{
    std::string path = TodayDayFile(logPath);
    MakeFolders(path.substr(0, path.find_last_of('\\')));
    WriteBytes(path, records);
}

std::string Record(const std::string& name, const char* loaded, const char* active)
{
    std::string line;
    AppendStatRecord(line, name, loaded, active, "0:0:1", "0:0:2");
    return line;
}

const ProcRecord* DayRecord(const std::string& name)
{
    int i = FindRecordIndex(dayList, name);
    return i < 0 ? nullptr : &dayList[i];
}

// Puts the shared settings and the lists back for the next test.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        World();
        originalLog_ = logSettings.LogPath();
        ListsGuard lock;
        dayList.clear();
    }
    void TearDown() override
    {
        if (HWND open = SettingsDialog().Handle())
            DestroyWindow(open);
        ApplySettings(originalLog_, 1, 1);
        logSettings.Save();
        ListsGuard lock;
        dayList.clear();
    }
    std::string originalLog_;
};

} // namespace

TEST_F(SettingsTest, OpensWithTheRunningValuesAndASecondCommandBringsItForward)
{
    logSettings.SetStartup(0);
    logSettings.SetNewDay(1);
    bannerSettings.SetTransparency(120);
    HWND dialog = OpenSettings();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(EditText(dialog), logSettings.LogPath());
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_STARTUP), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_NEW_DAY), BST_CHECKED);
    HWND bar = GetDlgItem(dialog, IDC_TRANSPARENCY);
    EXPECT_EQ(SendMessageA(bar, TBM_GETPOS, 0, 0), 120);
    EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageA(bar, TBM_GETRANGEMAX, 0, 0), 255);
    EXPECT_FALSE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);

    EXPECT_EQ(OpenSettings(), dialog);
    EXPECT_EQ(CountWindowsTitled("Settings - Kaltrow"), 1);

    // Cancel closes it and changes nothing.
    std::string before = FileText(KaltrowIni());
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(SettingsDialog().Handle(), nullptr);
    EXPECT_EQ(FileText(KaltrowIni()), before);
    EXPECT_EQ(logSettings.Startup(), 0);

    // A later opening gets a new, working dialog.
    HWND again = OpenSettings();
    ASSERT_TRUE(again);
    EXPECT_EQ(EditText(again), logSettings.LogPath());
    EXPECT_EQ(IsDlgButtonChecked(again, IDC_STARTUP), BST_UNCHECKED);
    // The close box acts as Cancel.
    SendMessageA(again, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(again));
}

TEST_F(SettingsTest, TransparencyActsWhileTheThumbMovesAndCancelKeepsIt)
{
    bannerSettings.SetTransparency(200);
    HWND dialog = OpenSettings();
    HWND bar = GetDlgItem(dialog, IDC_TRANSPARENCY);
    SendMessageA(bar, TBM_SETPOS, TRUE, 90);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 90), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(SettingValue(BannerIni(), "transparency"), "90");
    BYTE alpha = 0;
    GetLayeredWindowAttributes(World().indicator, nullptr, &alpha, nullptr);
    EXPECT_EQ(alpha, 90);

    // Only a thumb drag or the end of a move acts.
    SendMessageA(bar, TBM_SETPOS, TRUE, 60);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_LINEDOWN, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(SettingValue(BannerIni(), "transparency"), "90");
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(SettingValue(BannerIni(), "transparency"), "60");

    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(bannerSettings.Transparency(), 60);
    EXPECT_EQ(SettingValue(BannerIni(), "transparency"), "60");
    indicatorDialog.SetTransparency(255);
}

TEST_F(SettingsTest, OkAppliesANewLogFolderAndRewritesTheSharedFile)
{
    TempDir newLog;
    WriteDayFile(newLog.Path(), Record("kept.exe", "5:0:0", "5:0:0") + Record("found.exe", "1:2:3", "0:1:0"));
    {
        ListsGuard lock;
        ProcRecord kept("kept.exe");
        kept.TickLoaded();
        dayList.push_back(kept);
    }
    HWND dialog = OpenSettings();
    SetDlgItemTextA(dialog, IDC_LOG_PATH, newLog.Path().c_str());
    CheckDlgButton(dialog, IDC_STARTUP, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_NEW_DAY, BST_CHECKED);
    SendMessageA(dialog, WM_COMMAND, IDC_SETTINGS_OK, 0);
    EXPECT_FALSE(IsWindow(dialog));

    EXPECT_EQ(logSettings.LogPath(), newLog.Path());
    EXPECT_EQ(logSettings.Startup(), 0);
    EXPECT_EQ(logSettings.NewDay(), 1);
    EXPECT_EQ(FileText(KaltrowIni()), "log_path = " + newLog.Path() + "\r\nstartup = 0\r\nnew_day = 1");
    EXPECT_EQ(dayFile->Path(), TodayDayFile(newLog.Path()));
    ASSERT_TRUE(DayRecord("found.exe"));
    EXPECT_EQ(DayRecord("found.exe")->Loaded().hours, 1);
    // Counts already running keep theirs.
    EXPECT_EQ(DayRecord("kept.exe")->Loaded().hours, 0);
    EXPECT_EQ(DayRecord("kept.exe")->Loaded().seconds, 1);
}

TEST_F(SettingsTest, OkWithTheSamePathReopensNothingButStillSaves)
{
    DeleteFileA(KaltrowIni().c_str());
    HWND dialog = OpenSettings();
    CheckDlgButton(dialog, IDC_STARTUP, BST_CHECKED);
    CheckDlgButton(dialog, IDC_NEW_DAY, BST_UNCHECKED);
    WriteDayFile(logSettings.LogPath(), Record("late.exe", "1:0:0", "1:0:0"));
    SendMessageA(dialog, WM_COMMAND, IDC_SETTINGS_OK, 0);
    EXPECT_EQ(DayRecord("late.exe"), nullptr);
    EXPECT_EQ(SettingValue(KaltrowIni(), "new_day"), "0");
    EXPECT_EQ(newDayFlag, 0);
    DeleteFileA(TodayDayFile(logSettings.LogPath()).c_str());
}

TEST_F(SettingsTest, ApplySettingsWithTheSamePathOnlyStoresTheFlags)
{
    std::string dayPath = dayFile->Path();
    WriteDayFile(logSettings.LogPath(), Record("late.exe", "1:0:0", "1:0:0"));
    ApplySettings(logSettings.LogPath(), 0, 0);
    EXPECT_EQ(logSettings.Startup(), 0);
    EXPECT_EQ(logSettings.NewDay(), 0);
    EXPECT_EQ(DayRecord("late.exe"), nullptr);
    EXPECT_EQ(dayFile->Path(), dayPath);
    DeleteFileA(TodayDayFile(logSettings.LogPath()).c_str());
}

TEST_F(SettingsTest, ReloadAppliesAChangedLogFolderAndTheNextSavesGoThere)
{
    TempDir newLog;
    WriteDayFile(newLog.Path(), Record("stored.exe", "2:0:0", "1:0:0"));
    {
        ListsGuard lock;
        ProcRecord counted("counted.exe");
        counted.TickActive();
        dayList.push_back(counted);
    }
    WriteBytes(KaltrowIni(), "log_path = " + newLog.Path() + "\r\nstartup = 1\r\nnew_day = 0\r\n");
    EXPECT_EQ(IndicatorDialogProc(World().indicator, WM_RELOAD_SETTINGS, 0, 0), TRUE);
    EXPECT_EQ(logSettings.LogPath(), newLog.Path());
    EXPECT_EQ(logSettings.NewDay(), 0);
    SaveStatFiles();
    std::string day = FileText(TodayDayFile(newLog.Path()));
    EXPECT_NE(day.find("\"stored.exe\"\t2:0:0\t1:0:0\t0:0:1\t0:0:2\n"), std::string::npos) << day;
    EXPECT_NE(day.find("\"counted.exe\"\t0:0:0\t0:0:1\t0:0:0\t0:0:0\n"), std::string::npos) << day;
    EXPECT_NE(FileText(TodayMonthTotal(newLog.Path())), "<missing>");
    EXPECT_NE(FileText(TodayYearTotal(newLog.Path())), "<missing>");
}

TEST(AboutDialog, OpensOnceAndOkClosesIt)
{
    HWND indicator = World().indicator;
    SendMessageA(indicator, WM_COMMAND, ID_MENU_ABOUT, 0);
    HWND about = AboutDialog().Handle();
    ASSERT_TRUE(about);
    char caption[64] = {};
    GetWindowTextA(about, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Kaltrow - Activity Indicator");
    EXPECT_FALSE(GetWindowLongPtrA(about, GWL_STYLE) & WS_SYSMENU);
    SendMessageA(indicator, WM_COMMAND, ID_MENU_ABOUT, 0);
    EXPECT_EQ(AboutDialog().Handle(), about);
    EXPECT_EQ(CountWindowsTitled("Kaltrow - Activity Indicator"), 1);
    EXPECT_EQ(AboutDialogProc(about, WM_PAINT, 0, 0), FALSE);
    SendMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(about));
    SendMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_EQ(AboutDialog().Handle(), nullptr);
}

// Whoever takes the statistics mutex while a new log folder is opened (the
// worker's tick, the viewer) finds the new folder's three files read, never
// some of them: a tick between two would count a running application into a
// list whose file was not read yet, and that file's counters would be lost.
// Each time the other thread has the mutex it keeps it a while, so a read
// without the mutex shows; and it waits on the mutex all the time in between,
// so a release between two of the files hands the mutex to it at once.
TEST_F(SettingsTest, ANewLogFolderIsReadWholeWhileTheStatisticsMutexIsHeld)
{
    TempDir newLog;
    WriteDayFile(newLog.Path(), Record("inday.exe", "1:0:0", "1:0:0"));
    std::string slow;  // long totals: a read without the mutex lasts well past the other thread's waking
    for (int i = 0; i < 2000; ++i)
        slow += Record("slow" + std::to_string(i) + ".exe", "0:0:1", "0:0:1");
    for (const std::string& total : {TodayMonthTotal(newLog.Path()), TodayYearTotal(newLog.Path())}) {
        MakeFolders(total.substr(0, total.find_last_of('\\')));
        WriteBytes(total, slow + Record("intotal.exe", "2:0:0", "1:0:0"));
    }
    RecordList keptMonth, keptYear;
    {
        ListsGuard lock;
        keptMonth = monthList;
        keptYear = yearList;
    }
    auto filesRead = [] {
        ListsGuard lock;
        return int(FindRecordIndex(dayList, "inday.exe") >= 0) + int(FindRecordIndex(monthList, "intotal.exe") >= 0) +
               int(FindRecordIndex(yearList, "intotal.exe") >= 0);
    };
    std::atomic<bool> stop{false}, holding{false};
    std::atomic<int> partial{0};
    HANDLE mutex = statisticsMutex;
    std::thread other([&] {
        while (!stop) {
            if (WaitForSingleObject(mutex, 50) != WAIT_OBJECT_0)
                continue;
            holding = true;
            int read = filesRead();
            for (DWORD end = GetTickCount() + 100; filesRead() == read && int(end - GetTickCount()) > 0;)
                Sleep(1);
            partial += filesRead() != read || (read > 0 && read < 3);
            ReleaseMutex(mutex);
        }
    });
    while (!holding)
        Sleep(1);
    ApplySettings(newLog.Path(), 1, 1);
    stop = true;
    other.join();
    EXPECT_EQ(partial, 0);
    EXPECT_NE(DayRecord("inday.exe"), nullptr);

    ApplySettings(originalLog_, 1, 1);
    ListsGuard lock;
    monthList = keptMonth;
    yearList = keptYear;
}
