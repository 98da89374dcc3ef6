// Times each level's run over a generated log tree and the longest time a
// second process, taking the statistics mutex in short timed waits as the
// tracker's tick does, is kept out of it meanwhile.
//
//   viewer_bench [applications per file] [years] [runs per level]
//
// The tree is made once per size under the prefix's temporary folder and
// reused by later calls. The runs take the statistics mutex "1" itself: run
// the bench in a prefix where no tracker runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "log_paths.h"
#include "my_mutex.h"
#include "progress_thread.h"
#include "statistics.h"
#include "test_support.h"

namespace {

constexpr int kLastYear = 2024;
constexpr int kTexts = 16;   // distinct file contents, spread over the tree
const char kTickArgument[] = "--tick";

// What the tick process shares with the bench.
struct TickShared {
    volatile LONG stop;
    volatile LONG64 longestMicroseconds;
    volatile LONG ticks;
};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The tick process: waits for the mutex in steps of 10 ms as the tracker
// does, holds it a moment, and keeps the longest wait until the bench
// resets it.
int TickMain(const char* mutexName, const char* sharedName)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, sharedName);
    if (!mapping)
        return 1;
    auto* shared = static_cast<TickShared*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TickShared)));
    HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName);
    while (!shared->stop) {
        double start = Now();
        WaitForMutexPolling(mutex, 10);
        LONG64 waited = static_cast<LONG64>((Now() - start) * 1000.0);
        ReleaseMutex(mutex);
        LONG64 longest = shared->longestMicroseconds;
        while (waited > longest) {
            LONG64 seen = InterlockedCompareExchange64(&shared->longestMicroseconds, waited, longest);
            if (seen == longest)
                break;
            longest = seen;
        }
        InterlockedIncrement(&shared->ticks);
        Sleep(1);
    }
    CloseHandle(mutex);
    UnmapViewOfFile(shared);
    CloseHandle(mapping);
    return 0;
}

class TickProcess {
public:
    explicit TickProcess(const char* mutexName)
    {
        std::string sharedName = "klr_viewer_bench_" + std::to_string(GetCurrentProcessId());
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TickShared),
                                      sharedName.c_str());
        shared_ = static_cast<TickShared*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TickShared)));
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, sizeof(self));
        std::string command = std::string("\"") + self + "\" " + kTickArgument + " " + mutexName + " " + sharedName;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        si.dwFlags = STARTF_USESTDHANDLES;   // no handles of ours for it to hold
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_)) {
            std::printf("the tick process did not start\n");
            std::exit(1);
        }
        // Running once it has ticked.
        while (shared_->ticks == 0)
            Sleep(1);
    }
    ~TickProcess()
    {
        shared_->stop = 1;
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        UnmapViewOfFile(shared_);
        CloseHandle(mapping_);
    }
    // The longest wait, in milliseconds, since the last call. A few ticks
    // first, so the wait that the last run caused has been counted.
    double TakeLongest()
    {
        LONG seen = shared_->ticks;
        while (shared_->ticks - seen < 3)
            Sleep(1);
        return static_cast<double>(InterlockedExchange64(&shared_->longestMicroseconds, 0)) / 1000.0;
    }

private:
    HANDLE mapping_ = nullptr;
    TickShared* shared_ = nullptr;
    PROCESS_INFORMATION process_ = {};
};

std::string StatText(int applications, int variant)
{
    std::string text;
    text.reserve(static_cast<size_t>(applications) * 56);
    char line[128];
    for (int a = 0; a < applications; ++a) {
        int s = (variant * 977 + a * 17) % 3600;
        std::snprintf(line, sizeof(line), "\"application%04d.exe\"\t%d:%d:%d\t%d:%d:%d\t0:%d:%d\t0:0:%d\n", a,
                      s / 600, s / 60 % 60, s % 60, s / 1200, s / 90 % 60, s % 59, s / 120 % 60, s % 57, s % 53);
        text += line;
    }
    return text;
}

// The tree for this size, made unless an earlier call left it complete.
std::string Tree(int applications, int years, int& files)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof(temp), temp);
    std::string root = std::string(temp) + "klr_viewer_bench";
    std::string logPath = root + "\\" + std::to_string(applications) + "x" + std::to_string(years);
    std::string done = logPath + "\\complete";
    const std::string user = WindowsUserName();
    files = 0;
    for (int y = kLastYear - years + 1; y <= kLastYear; ++y)
        files += 13 + (y % 4 == 0 ? 366 : 365);
    if (FileExists(done))
        return logPath;

    double t0 = Now();
    RemoveTree(logPath);
    MakeFolders(LogUserFolder(logPath, user));
    std::vector<std::string> texts;
    for (int v = 0; v < kTexts; ++v)
        texts.push_back(StatText(applications, v));
    int n = 0;
    for (int y = kLastYear - years + 1; y <= kLastYear; ++y) {
        CreateDirectoryA(LogYearFolder(logPath, user, y).c_str(), nullptr);
        WriteBytes(LogYearTotal(logPath, user, y), texts[n++ % kTexts]);
        for (int m = 1; m <= 12; ++m) {
            CreateDirectoryA(LogMonthFolder(logPath, user, y, m).c_str(), nullptr);
            WriteBytes(LogMonthTotal(logPath, user, y, m), texts[n++ % kTexts]);
            for (int d = 1; d <= DaysInMonth(y, m); ++d)
                WriteBytes(LogDayFile(logPath, user, y, m, d), texts[n++ % kTexts]);
        }
    }
    WriteBytes(done, "");
    std::printf("made the tree of %d files in %.0f ms\n", files, Now() - t0);
    return logPath;
}

struct Figures {
    double median, low, high;
};

Figures Summary(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return {median, values.front(), values.back()};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == kTickArgument)
        return TickMain(argv[2], argv[3]);

    const int applications = argc > 1 ? std::atoi(argv[1]) : 300;
    const int years = argc > 2 ? std::atoi(argv[2]) : 10;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 7;
    if (applications < 1 || years < 1 || years > 100 || runs < 1) {
        std::printf("usage: viewer_bench [applications per file] [years] [runs per level]\n");
        return 2;
    }
    int files = 0;
    const std::string logPath = Tree(applications, years, files);
    std::printf("log tree: %d years, %d files of %d applications; %d runs per level\n", years, files,
                applications, runs);

    // The statistics mutex itself, as the tracker's tick sees it.
    MyMutex mutex(1, false);
    SetReadingObjects(&mutex, nullptr);
    TickProcess tick(mutex.Name());

    ApplicList results;
    TotalDates totals;
    StatisticsDay day(&results, &totals, nullptr);
    StatisticsWeek week(&results, &totals, &day);
    StatisticsMonth month(&results, &totals, &day);
    StatisticsYear year(&results, &totals, &month);
    StatisticsAllYears all(&results, &totals, &year);
    StatisticsCustom custom(&results, &totals);

    const int firstYear = kLastYear - years + 1;
    const TDate middle = EncodeDate(firstYear + years / 2, 6, 17);
    struct Case {
        const char* name;
        Statistics* level;
        TDate from, to;
    } cases[] = {
        {"Day", &day, middle, middle},
        {"Week", &week, middle - 2, middle + 4},
        {"Month", &month, middle, middle},
        {"Year", &year, middle, middle},
        {"All years", &all, middle, middle},
        {"Custom, all", &custom, EncodeDate(firstYear, 1, 1), EncodeDate(kLastYear, 12, 31)},
    };

    std::printf("%-12s %6s %8s   %-24s %-24s\n", "level", "files", "rows", "run ms: median (range)",
                "hold ms: median (range)");
    double longestHold = 0;
    for (const Case& c : cases) {
        c.level->SetLogFolder(logPath);
        std::vector<double> took, held;
        tick.TakeLongest();
        for (int i = 0; i < runs; ++i) {
            double start = Now();
            if (!c.level->Run(c.from, c.to))
                std::printf("run failed\n");
            took.push_back(Now() - start);
            held.push_back(tick.TakeLongest());
        }
        Figures t = Summary(took), h = Summary(held);
        longestHold = std::max(longestHold, h.high);
        char runText[64], holdText[64];
        std::snprintf(runText, sizeof(runText), "%.1f (%.1f-%.1f)", t.median, t.low, t.high);
        std::snprintf(holdText, sizeof(holdText), "%.1f (%.1f-%.1f)", h.median, h.low, h.high);
        std::printf("%-12s %6zu %8zu   %-24s %-24s\n", c.name, totals.periodFiles.size(), results.size(), runText,
                    holdText);
    }
    std::printf("longest wait of the tick for the statistics mutex: %.1f ms\n", longestHold);
    std::printf("(files: period files of the run; rows: records read from its own files)\n");

    SetReadingObjects(nullptr, nullptr);
    return 0;
}
