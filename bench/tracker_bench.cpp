// Prints what the tracker's list work costs for the numbers of applications given
// on the command line (30, 300 and 3000 by default): one worker pass, the first
// pass (every twin new), the saves, the loads, and the longest wait of another
// thread for the statistics mutex meanwhile. Each figure is the median of several
// rounds, with the smallest and largest round beside it.
//
//   tracker_bench [applications...]
//   tracker_bench --running applications [seconds [folder-of-kaltrow.exe]]
//
// The second form seeds a log tree with that many applications in today's day
// file, month total and year total, runs the real tracker over it and prints the
// CPU time it used (30 seconds by default, from the dist folder by default).
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "data_folder.h"
#include "log_paths.h"
#include "my_mutex.h"
#include "records.h"
#include "stat_file.h"
#include "stat_record.h"
#include "test_support.h"
#include "tracker_globals.h"
#include "worker.h"

namespace {

const int kRounds = 9;

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string AppName(int i)
{
    return "application_number_" + std::to_string(i) + ".exe";
}

// Applications with a working day's worth of counters, all loaded and one active.
void Fill(RecordList& list, int count)
{
    list.clear();
    for (int i = 0; i < count; ++i) {
        ProcRecord r(AppName(i));
        r.SetTimes(My_Time(3, 25, 47), My_Time(1, 12, 9), My_Time(0, 20, 33), My_Time(0, 41, 5));
        r.SetState(i == 0 ? STATE_LOADED | STATE_ACTIVE : STATE_LOADED);
        list.push_back(r);
    }
}

struct Figure {
    const char* what;
    std::vector<double> rounds;
};

void PrintFigure(const Figure& f)
{
    std::vector<double> v = f.rounds;
    std::sort(v.begin(), v.end());
    double median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    std::printf("  %-34s %10.4f ms   (%.4f .. %.4f)\n", f.what, median, v.front(), v.back());
}

void Pass()
{
    std::string error;
    ListsGuard guard;
    ActivityPass(dayList, monthList, yearList, error);
}

// One pass as the worker makes it: the statistics mutex, then the lists' lock.
void WorkerPass()
{
    std::string error;
    WaitForMutexPolling(statisticsMutex, 10);
    {
        ListsGuard guard;
        ActivityPass(dayList, monthList, yearList, error);
    }
    ReleaseMutex(statisticsMutex);
}

// Another thread that waits for the statistics mutex as the viewer's reading or a
// second tracker would, and keeps the longest wait it saw.
class MutexWatcher {
public:
    MutexWatcher() : thread_([this] { Run(); }) {}
    ~MutexWatcher()
    {
        stop_ = true;
        thread_.join();
    }
    double Longest() const { return longest_; }

private:
    void Run()
    {
        while (!stop_) {
            double t = Now();
            WaitForMutexPolling(statisticsMutex, 10);
            double waited = Now() - t;
            ReleaseMutex(statisticsMutex);
            if (waited > longest_)
                longest_ = waited;
            Sleep(1);
        }
    }
    std::atomic<bool> stop_{false};
    std::atomic<double> longest_{0};
    std::thread thread_;
};

void Measure(int count)
{
    TempDir folder;
    Fill(dayList, count);
    Fill(monthList, count);
    Fill(yearList, count);
    StatFileDay day(&dayList);
    StatFileMonth month(&monthList);
    StatFileYear year(&yearList);
    day.Open(folder.Path());
    month.Open(folder.Path());
    year.Open(folder.Path());
    day.Save();
    month.Save();
    year.Save();

    // Enough repetitions per round for a round of a few tens of milliseconds.
    const int passes = std::max(3, 200000 / count);
    const int saves = std::max(3, 600 / count);
    const int loads = std::max(3, 6000 / count);

    Figure pass{"worker pass", {}};
    Figure lockedPass{"pass with the statistics mutex", {}};
    Figure firstPass{"first pass (every twin new)", {}};
    Figure text{"text of one save", {}};
    Figure save{"one save (day file)", {}};
    Figure threeSaves{"three saves (a timer tick)", {}};
    Figure load{"load into an empty list", {}};
    Figure loadKnown{"load into a list of those names", {}};
    Figure hold{"longest wait for the mutex", {}};

    for (int round = 0; round < kRounds; ++round) {
        double t = Now();
        for (int i = 0; i < passes; ++i)
            Pass();
        pass.rounds.push_back((Now() - t) / passes);

        t = Now();
        for (int i = 0; i < passes; ++i)
            WorkerPass();
        lockedPass.rounds.push_back((Now() - t) / passes);

        double firstTotal = 0;
        for (int i = 0; i < 3; ++i) {
            RecordList months, years;
            std::string error;
            t = Now();
            ActivityPass(dayList, months, years, error);
            firstTotal += Now() - t;
        }
        firstPass.rounds.push_back(firstTotal / 3);

        t = Now();
        for (int i = 0; i < saves; ++i) {
            // As a save builds it, under the lists' lock.
            ListsGuard guard;
            std::string bytes;
            bytes.reserve(dayList.size() * 48);
            for (ProcRecord& r : dayList)
                AppendStatRecord(bytes, r.Name(), r.LoadedText(), r.ActiveText(), r.MouseText(), r.KeyboardText());
        }
        text.rounds.push_back((Now() - t) / saves);

        t = Now();
        for (int i = 0; i < saves; ++i)
            day.Save();
        save.rounds.push_back((Now() - t) / saves);

        t = Now();
        for (int i = 0; i < saves; ++i) {
            day.Save();
            month.Save();
            year.Save();
        }
        threeSaves.rounds.push_back((Now() - t) / saves);

        double loadTotal = 0, knownTotal = 0;
        for (int i = 0; i < loads; ++i) {
            RecordList list;
            StatFileDay reader(&list);
            t = Now();
            reader.Load(day.Path());
            loadTotal += Now() - t;
            t = Now();
            reader.Load(day.Path());
            knownTotal += Now() - t;
        }
        load.rounds.push_back(loadTotal / loads);
        loadKnown.rounds.push_back(knownTotal / loads);

        // A tracker's second: three saves and a pass, with room for the watcher between.
        {
            MutexWatcher watcher;
            for (int i = 0; i < 10; ++i) {
                day.Save();
                month.Save();
                year.Save();
                WorkerPass();
                Sleep(5);
            }
            hold.rounds.push_back(watcher.Longest());
        }
    }

    std::printf("%d applications (%d rounds; a day file of %u bytes)\n", count, kRounds,
                static_cast<unsigned>(ReadBytes(day.Path()).size()));
    for (const Figure* f : {&pass, &lockedPass, &firstPass, &text, &save, &threeSaves, &load, &loadKnown, &hold})
        PrintFigure(*f);
    std::fflush(stdout);
    dayList.clear();
    monthList.clear();
    yearList.clear();
}

// GetProcessTimes of another process reads next to nothing under Wine: the CPU
// time comes from the Unix side instead, the user and system ticks (1/100 s) of
// /proc/<pid>/stat, through Wine's drive Z: (see UnixProcessFolders).
// User plus system time (or user time alone) in milliseconds; -1 when it cannot be read.
double UnixCpuMs(const std::string& procFolder, bool userOnly = false)
{
    std::string stat = ReadUnixFile(procFolder + "\\stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return -1;
    // After the command in parentheses: state is field 3, utime 14, stime 15.
    std::vector<std::string> fields;
    size_t at = close + 1;
    while (at < stat.size()) {
        size_t start = stat.find_first_not_of(' ', at);
        if (start == std::string::npos)
            break;
        size_t stop = stat.find(' ', start);
        fields.push_back(stat.substr(start, stop == std::string::npos ? std::string::npos : stop - start));
        at = stop == std::string::npos ? stat.size() : stop;
    }
    if (fields.size() < 13)
        return -1;
    double user = std::atof(fields[11].c_str());
    return (userOnly ? user : user + std::atof(fields[12].c_str())) * 10.0;
}

std::string StatText(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        AppendStatRecord(text, AppName(i), "3:25:47", "1:12:9", "0:20:33", "0:41:5");
    return text;
}

size_t CountLines(const std::string& bytes)
{
    return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
}

// The real tracker over a log tree seeded with `count` applications.
int Running(int count, int seconds, const std::string& folder)
{
    std::string ini = DataFolder() + "\\kaltrow.ini";
    std::string banner = DataFolder() + "\\banner.ini";
    bool hadIni = FileExists(ini), hadBanner = FileExists(banner);
    std::string savedIni = ReadBytes(ini);
    std::string savedBanner = ReadBytes(banner);
    auto restoreSettings = [&] {
        if (hadIni)
            WriteBytes(ini, savedIni);
        else
            DeleteFileA(ini.c_str());
        if (hadBanner)
            WriteBytes(banner, savedBanner);
        else
            DeleteFileA(banner.c_str());
    };

    TempDir log;
    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string user = WindowsUserName();
    MakeFolders(LogMonthFolder(log.Path(), user, now.wYear, now.wMonth));
    std::string text = StatText(count);
    std::string dayPath = LogDayFile(log.Path(), user, now.wYear, now.wMonth, now.wDay);
    std::string monthPath = LogMonthTotal(log.Path(), user, now.wYear, now.wMonth);
    std::string yearPath = LogYearTotal(log.Path(), user, now.wYear);
    WriteBytes(dayPath, text);
    WriteBytes(monthPath, text);
    WriteBytes(yearPath, text);
    WriteBytes(ini, "log_path = " + log.Path() + "\r\nstartup = 1\r\nnew_day = 0");

    std::string command = "\"" + folder + "\\kaltrow.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        std::printf("cannot start %s\n", command.c_str());
        restoreSettings();
        return 1;
    }
    // Its indicator window is made after loading; then a few seconds to settle.
    double started = Now();
    while (!FindWindowA(nullptr, "Kaltrow") && Now() - started < 60000)
        Sleep(20);
    double startWall = Now() - started;
    std::vector<std::string> tracker = UnixProcessFolders(folder + "\\kaltrow.exe");
    std::vector<std::string> server = UnixProcessFolders("wineserver");
    if (tracker.size() != 1 || server.size() != 1) {
        std::printf("found %u tracker and %u wineserver processes of this prefix; CPU figures need one each\n",
                    static_cast<unsigned>(tracker.size()), static_cast<unsigned>(server.size()));
        tracker.resize(1);
        server.resize(1);
    }
    double startCpu = UnixCpuMs(tracker[0]);
    Sleep(3000);
    double before = UnixCpuMs(tracker[0]);
    double userBefore = UnixCpuMs(tracker[0], true);
    double serverBefore = UnixCpuMs(server[0]);
    double t = Now();
    bool ended = WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds) * 1000u) == WAIT_OBJECT_0;
    double after = UnixCpuMs(tracker[0]);
    double userAfter = UnixCpuMs(tracker[0], true);
    double serverAfter = UnixCpuMs(server[0]);
    double wall = Now() - t;

    if (ended || before < 0 || after < 0) {
        std::printf("the tracker ended early or its times could not be read\n");
    } else {
        std::printf("%d applications: start-up to the indicator %.0f ms, %.0f ms of CPU\n", count, startWall,
                    startCpu);
        std::printf("  tracker CPU %.0f ms in %.1f s of running: %.0f ms per 30 s (user %.0f, system %.0f)\n",
                    after - before, wall / 1000.0, (after - before) * 30000.0 / wall,
                    (userAfter - userBefore) * 30000.0 / wall,
                    (after - before - (userAfter - userBefore)) * 30000.0 / wall);
        if (serverBefore >= 0 && serverAfter >= 0)
            std::printf("  wineserver CPU meanwhile (the whole prefix): %.0f ms per 30 s\n",
                        (serverAfter - serverBefore) * 30000.0 / wall);
    }

    if (HWND indicator = FindWindowA(nullptr, "Kaltrow"))
        PostMessageA(indicator, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("  lines after the run: day %u, month %u, year %u\n",
                static_cast<unsigned>(CountLines(ReadBytes(dayPath))),
                static_cast<unsigned>(CountLines(ReadBytes(monthPath))),
                static_cast<unsigned>(CountLines(ReadBytes(yearPath))));
    restoreSettings();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2 && std::strcmp(argv[1], "--running") == 0) {
        int seconds = argc > 3 ? std::atoi(argv[3]) : 30;
        std::string folder = argc > 4 ? argv[4] : KLR_DIST_DIR;
        return Running(std::atoi(argv[2]), seconds, folder);
    }
    statisticsMutex = CreateMutexA(nullptr, FALSE, nullptr);
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.push_back(std::atoi(argv[i]));
    if (counts.empty())
        counts = {30, 300, 3000};
    for (int count : counts) {
        if (count > 0)
            Measure(count);
    }
    return 0;
}
