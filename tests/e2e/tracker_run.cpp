#include "tracker_run.h"

#include <shlobj.h>

#include <cstdio>
#include <vector>

#include "data_folder.h"
#include "hard_kill.h"
#include "log_paths.h"
#include "pump.h"
#include "x_input.h"

namespace {

std::string Saved(const std::string& path)
{
    return FileExists(path) ? ReadBytes(path) : std::string();
}

void PutBack(const std::string& path, const std::string& saved)
{
    if (saved.empty())
        DeleteFileA(path.c_str());
    else
        WriteBytes(path, saved);
}

SYSTEMTIME Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

long Seconds(const std::string& text)
{
    long h = 0, m = 0, s = 0;
    if (std::sscanf(text.c_str(), "%ld:%ld:%ld", &h, &m, &s) != 3)
        return -1;
    return h * 3600 + m * 60 + s;
}

} // namespace

std::string DistFolder()
{
    return KLR_DIST_DIR;
}

TrackerWorld::TrackerWorld()
{
    // The folder the program itself uses: no override in this test program.
    SetDataFolderOverride("");
    // The application-data folder + "\Kaltrow", found here without the code under test.
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    dataFolder_ = std::string(appData) + "\\Kaltrow";
    savedKaltrow_ = Saved(KaltrowIni());
    savedBanner_ = Saved(BannerIni());
    savedInterface_ = Saved(dataFolder_ + "\\interface.ini");  // the viewer's, should a test start it
    hadLogFolder_ = FolderExists(dataFolder_ + "\\Log");
    WriteKaltrowIni(log_.Path(), 1, 0);
    WriteBannerIni(300, 300, 5, 255);
}

TrackerWorld::~TrackerWorld()
{
    PutBack(KaltrowIni(), savedKaltrow_);
    PutBack(BannerIni(), savedBanner_);
    PutBack(dataFolder_ + "\\interface.ini", savedInterface_);
    if (!hadLogFolder_)
        RemoveTree(dataFolder_ + "\\Log");
}

void TrackerWorld::WriteKaltrowIni(const std::string& logPath, int startup, int newDay)
{
    WriteBytes(KaltrowIni(), "log_path = " + logPath + "\r\nstartup = " + std::to_string(startup) +
                                 "\r\nnew_day = " + std::to_string(newDay));
}

void TrackerWorld::WriteBannerIni(int left, int top, int show, int transparency)
{
    WriteBytes(BannerIni(), "top = " + std::to_string(top) + "\r\nleft = " + std::to_string(left) +
                                "\r\nshow = " + std::to_string(show) + "\r\ntransparency = " +
                                std::to_string(transparency) + "\r\n");
}

bool TrackerWorld::Start(TestProcess& process, const std::string& args, const std::string& exe) const
{
    std::vector<std::string> list;
    if (!args.empty())
        list.push_back(args);
    std::string program = exe.empty() ? DistFolder() + "\\kaltrow.exe" : exe;
    std::string folder = program.substr(0, program.find_last_of('\\'));
    return process.Start(program, list, folder);
}

HWND TrackerWorld::WaitForIndicator(DWORD pid, DWORD timeoutMs) const
{
    HWND found = nullptr;
    PumpUntil([&] {
        HWND w = nullptr;
        while ((w = FindWindowExA(nullptr, w, nullptr, "Kaltrow")) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner == pid) {
                found = w;
                return true;
            }
        }
        return false;
    }, timeoutMs);
    return found;
}

Counters ReadCounters(const std::string& file, const std::string& name)
{
    Counters c;
    std::string text = ReadBytes(file);
    std::string key = "\"" + name + "\"\t";
    size_t at = text.find(key);
    if (at == std::string::npos || (at > 0 && text[at - 1] != '\n'))
        return c;
    size_t end = text.find('\n', at);
    std::string line = text.substr(at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
    long values[4] = {-1, -1, -1, -1};
    size_t from = 0;
    for (long& v : values) {
        size_t tab = line.find('\t', from);
        v = Seconds(line.substr(from, tab == std::string::npos ? std::string::npos : tab - from));
        if (tab == std::string::npos)
            break;
        from = tab + 1;
    }
    c.loaded = values[0];
    c.active = values[1];
    c.mouse = values[2];
    c.keyboard = values[3];
    return c;
}

std::string DayFileOf(const std::string& logPath)
{
    SYSTEMTIME t = Today();
    return LogDayFile(logPath, WindowsUserName(), t.wYear, t.wMonth, t.wDay);
}

std::string MonthTotalOf(const std::string& logPath)
{
    SYSTEMTIME t = Today();
    return LogMonthTotal(logPath, WindowsUserName(), t.wYear, t.wMonth);
}

std::string YearTotalOf(const std::string& logPath)
{
    SYSTEMTIME t = Today();
    return LogYearTotal(logPath, WindowsUserName(), t.wYear);
}

bool CloseTracker(TestProcess& process, HWND indicator, DWORD* exitCode)
{
    PostMessageA(indicator, WM_CLOSE, 0, 0);
    return process.WaitForExit(15000, exitCode);
}

bool HardKillTracker(TestProcess& process)
{
    HardKiller killer;
    if (!killer.Arm("kaltrow.exe"))
        return false;
    killer.Fire();
    return process.WaitForExit(15000);
}
