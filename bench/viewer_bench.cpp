// Times each level's run over a generated log tree of ten years with 300
// applications per file, and the longest time a tracker-like waiter is kept
// out of the statistics mutex meanwhile.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "log_paths.h"
#include "my_mutex.h"
#include "progress_thread.h"
#include "statistics.h"
#include "test_support.h"

namespace {

constexpr int kFirstYear = 2015;
constexpr int kYears = 10;
constexpr int kApplications = 300;
constexpr int kRepeats = 5;

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

void WriteStatFile(const std::string& path, int seed)
{
    std::string text;
    text.reserve(kApplications * 48);
    char line[128];
    for (int a = 0; a < kApplications; ++a) {
        int s = (seed * 31 + a * 17) % 3600;
        std::snprintf(line, sizeof(line), "\"application%03d.exe\"\t%d:%d:%d\t%d:%d:%d\t0:%d:%d\t0:0:%d\n", a,
                      s / 600, s / 60 % 60, s % 60, s / 1200, s / 90 % 60, s % 59, s / 120 % 60, s % 57, s % 53);
        text += line;
    }
    WriteBytes(path, text);
}

int Generate(const std::string& logPath)
{
    int files = 0;
    const std::string user = WindowsUserName();
    CreateDirectoryA(logPath.c_str(), nullptr);
    CreateDirectoryA(LogUserFolder(logPath, user).c_str(), nullptr);
    for (int y = kFirstYear; y < kFirstYear + kYears; ++y) {
        CreateDirectoryA(LogYearFolder(logPath, user, y).c_str(), nullptr);
        WriteStatFile(LogYearTotal(logPath, user, y), y);
        ++files;
        for (int m = 1; m <= 12; ++m) {
            CreateDirectoryA(LogMonthFolder(logPath, user, y, m).c_str(), nullptr);
            WriteStatFile(LogMonthTotal(logPath, user, y, m), y * 12 + m);
            ++files;
            for (int d = 1; d <= DaysInMonth(y, m); ++d) {
                WriteStatFile(LogDayFile(logPath, user, y, m, d), y * 400 + m * 31 + d);
                ++files;
            }
        }
    }
    return files;
}

// Takes and releases the mutex again and again, as the tracker's ticks and
// saves do, and keeps the longest wait.
class Waiter {
public:
    explicit Waiter(const char* name) : mutex_(CreateMutexA(nullptr, FALSE, name))
    {
        thread_ = std::thread([this] {
            while (!stop_) {
                double start = Now();
                WaitForMutexPolling(mutex_, 10);
                double waited = Now() - start;
                ReleaseMutex(mutex_);
                double longest = longest_.load();
                while (waited > longest && !longest_.compare_exchange_weak(longest, waited)) {
                }
                Sleep(1);
            }
        });
    }
    ~Waiter()
    {
        stop_ = true;
        thread_.join();
        CloseHandle(mutex_);
    }
    double TakeLongest() { return longest_.exchange(0.0); }

private:
    HANDLE mutex_;
    std::atomic<bool> stop_{false};
    std::atomic<double> longest_{0.0};
    std::thread thread_;
};

} // namespace

int main()
{
    TempDir logFolder;
    const std::string logPath = logFolder.Path();

    double t0 = Now();
    int files = Generate(logPath);
    std::printf("log tree: %d years, %d files of %d applications, made in %.0f ms\n", kYears, files,
                kApplications, Now() - t0);

    // A mutex of the bench's own, so a running tracker is not disturbed.
    const int number = 900000 + static_cast<int>(GetCurrentProcessId() % 10000);
    MyMutex mutex(number, false);
    SetReadingObjects(&mutex, nullptr);

    ApplicList results;
    TotalDates totals;
    StatisticsDay day(&results, &totals, nullptr);
    StatisticsWeek week(&results, &totals, &day);
    StatisticsMonth month(&results, &totals, &day);
    StatisticsYear year(&results, &totals, &month);
    StatisticsAllYears all(&results, &totals, &year);
    StatisticsCustom custom(&results, &totals);

    const TDate middle = EncodeDate(2020, 6, 17);
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
        {"Custom, ten years", &custom, EncodeDate(kFirstYear, 3, 15), EncodeDate(kFirstYear + kYears - 1, 10, 20)},
    };

    Waiter waiter(mutex.Name());
    double longestHold = 0;
    std::printf("%-18s %8s %8s %8s %10s %12s\n", "level", "files", "rows", "best ms", "worst ms",
                "longest wait");
    for (const Case& c : cases) {
        c.level->SetLogFolder(logPath);
        double best = 1e30, worst = 0;
        waiter.TakeLongest();
        for (int i = 0; i < kRepeats; ++i) {
            double start = Now();
            if (!c.level->Run(c.from, c.to))
                std::printf("run failed\n");
            double took = Now() - start;
            best = std::min(best, took);
            worst = std::max(worst, took);
        }
        double wait = waiter.TakeLongest();
        longestHold = std::max(longestHold, wait);
        std::printf("%-18s %8zu %8zu %8.1f %10.1f %9.1f ms\n", c.name, totals.periodFiles.size(), results.size(),
                    best, worst, wait);
    }
    std::printf("longest wait for the statistics mutex: %.1f ms\n", longestHold);
    std::printf("(files: period files of the run; rows: records read from the own files)\n");

    SetReadingObjects(nullptr, nullptr);
    return 0;
}
