// The shared world of the in-process window tests (no tests here).
#include "ui_support.h"

#include <gtest/gtest.h>

#include "commands.h"
#include "data_folder.h"
#include "indicator.h"
#include "log_paths.h"
#include "process_identity.h"
#include "records.h"
#include "settings.h"
#include "startup.h"
#include "test_support.h"
#include "tracker_globals.h"
#include "tracker_test_support.h"
#include "tracker_ui.h"
#include "worker.h"

namespace {

// Other tests of this program enumerate the windows of this process: the
// indicator and the dialogs are put out of sight after each test.
class PutAwayWindows : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        if (!indicatorDialog.Handle())
            return;
        for (HWND dialog : {SettingsDialog().Handle(), AboutDialog().Handle()}) {
            if (dialog)
                DestroyWindow(dialog);
        }
        ShowWindow(indicatorDialog.Handle(), SW_HIDE);
    }
};

struct ListenerInstaller {
    ListenerInstaller() { ::testing::UnitTest::GetInstance()->listeners().Append(new PutAwayWindows); }
} listenerInstaller;

// The settings objects are built before main and fix their paths then, so the
// test data folder must be in place before any other constructor runs.
struct EarlyDataFolder {
    TempDir folder;
    EarlyDataFolder() { SetDataFolderOverride(folder.Path()); }
};
__attribute__((init_priority(101))) EarlyDataFolder earlyDataFolder;

void CopyIfThere(const std::string& from, const std::string& to)
{
    CopyFileA(from.c_str(), to.c_str(), FALSE);
}

// The current directory while the tests run; left before it is removed.
struct ProgramFolder {
    TempDir folder;
    ~ProgramFolder()
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof(temp), temp);
        SetCurrentDirectoryA(temp);
    }
};

UiWorld BuildWorld()
{
    static ProgramFolder programFolder;
    const TempDir& program = programFolder.folder;
    UiWorld world;
    world.dataFolder = earlyDataFolder.folder.Path();
    world.programFolder = program.Path();

    // The skins and the logo where the program finds them; no viewer to start.
    std::string dist = KLR_DIST_DIR;
    CreateDirectoryA((program / "Skins").c_str(), nullptr);
    for (const char* name : {"ind_set.bmp", "ind_clr.bmp", "start.bmp", "start_act.bmp", "stop.bmp",
                             "stop_act.bmp", "hide.bmp", "hide_act.bmp", "stoped.bmp"})
        CopyIfThere(dist + "\\Skins\\" + name, program / (std::string("Skins\\") + name));
    CopyIfThere(dist + "\\logo.bmp", program / "logo.bmp");
    SetCurrentDirectoryA(program.Path().c_str());

    TrackerMessageBox = RecordBox;
    programInstance = GetModuleHandleA(nullptr);
    if (!logSettings.Load())
        logSettings.Save();
    if (!bannerSettings.Load())
        bannerSettings.Save();
    world.statisticsMutex = statisticsMutex = CreateMutexA(nullptr, FALSE, "1");
    RegisterHookMessages();
    OpenStatFiles();
    world.indicator = CreateIndicator(programInstance);
    LoadPopupMenu();
    Pump(100);
    return world;
}

} // namespace

const UiWorld& World()
{
    static UiWorld world = BuildWorld();
    // What start-up binds: names of windows and the indicator's transparency.
    static MyLibrary psapi;
    if (!psapi.Handle())
        psapi.Load("psapi.dll");
    BindPsapi(psapi.Handle());
    BindLayered(GetModuleHandleA("user32.dll"));
    SetDataFolderOverride(world.dataFolder);
    statisticsMutex = world.statisticsMutex;
    indicatorWindow = world.indicator;
    TrackerMessageBox = RecordBox;
    return world;
}

void Pump(int milliseconds)
{
    DWORD end = GetTickCount() + milliseconds;
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(5);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

void SetActivity(unsigned percent, const std::string& text)
{
    ListsGuard lock;
    activityPercent = percent;
    activityText = text;
}

void CursorToClient(int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(World().indicator, &p);
    SetCursorPos(p.x, p.y);
}

void ResetIndicator()
{
    const UiWorld& world = World();
    SendMessageA(world.indicator, WM_MOUSELEAVE, 0, 0);
    if (!IsWindowVisible(world.indicator))
        ShowIndicator();
    if (trackingStopped)
        StartTracking();
    SetWindowPos(world.indicator, HWND_TOPMOST, 200, 200, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Pump();
}

bool MenuItemDisabled(unsigned command)
{
    UINT state = GetMenuState(popupMenu.FirstSubmenu(), command, MF_BYCOMMAND);
    return (state & (MF_GRAYED | MF_DISABLED)) != 0;
}

std::string FileText(const std::string& path)
{
    return ReadBytes(path);
}

std::string SettingValue(const std::string& path, const std::string& key)
{
    std::string text = ReadBytes(path);
    std::string prefix = key + " = ";
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, prefix.size(), prefix) == 0)
            return line.substr(prefix.size());
        at = end + 1;
    }
    return "";
}

namespace {
SYSTEMTIME Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}
} // namespace

std::string TodayDayFile(const std::string& logPath)
{
    SYSTEMTIME t = Today();
    return LogDayFile(logPath, WindowsUserName(), t.wYear, t.wMonth, t.wDay);
}

std::string TodayMonthTotal(const std::string& logPath)
{
    SYSTEMTIME t = Today();
    return LogMonthTotal(logPath, WindowsUserName(), t.wYear, t.wMonth);
}

std::string TodayYearTotal(const std::string& logPath)
{
    SYSTEMTIME t = Today();
    return LogYearTotal(logPath, WindowsUserName(), t.wYear);
}
