// Prints what one save and one load of a statistics file and one worker pass cost
// for lists of 50 and 500 applications.
#include <windows.h>

#include <cstdio>
#include <string>

#include "my_mutex.h"
#include "records.h"
#include "stat_file.h"
#include "test_support.h"
#include "tracker_globals.h"
#include "worker.h"

namespace {

double Now()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Applications with a working day's worth of counters, all loaded and one active.
void Fill(RecordList& list, int count)
{
    list.clear();
    for (int i = 0; i < count; ++i) {
        ProcRecord r("application_number_" + std::to_string(i) + ".exe");
        r.SetTimes(My_Time(3, 25, 47), My_Time(1, 12, 9), My_Time(0, 20, 33), My_Time(0, 41, 5));
        r.SetState(i == 0 ? STATE_LOADED | STATE_ACTIVE : STATE_LOADED);
        list.push_back(r);
    }
}

long long FileSize(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

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

    const int saves = 200;
    day.Save();
    double t = Now();
    for (int i = 0; i < saves; ++i)
        day.Save();
    double oneSave = (Now() - t) / saves;

    t = Now();
    for (int i = 0; i < saves; ++i) {
        day.Save();
        month.Save();
        year.Save();
    }
    double threeSaves = (Now() - t) / saves;

    const int loads = 200;
    double loadTotal = 0;
    for (int i = 0; i < loads; ++i) {
        RecordList list;
        StatFileDay reader(&list);
        t = Now();
        reader.Load(day.Path());
        loadTotal += Now() - t;
    }

    const int passes = 2000;
    std::string error;
    t = Now();
    for (int i = 0; i < passes; ++i) {
        // As the worker does it: the statistics mutex, then the lists' lock.
        WaitForMutexPolling(statisticsMutex, 10);
        {
            ListsGuard guard;
            ActivityPass(dayList, monthList, yearList, error);
        }
        ReleaseMutex(statisticsMutex);
    }
    double onePass = (Now() - t) / passes;

    std::printf("%4d applications: save %.3f ms, three saves %.3f ms, load %.3f ms, %lld bytes, worker pass %.4f ms\n",
                count, oneSave, threeSaves, loadTotal / loads, FileSize(day.Path()), onePass);
}

} // namespace

int main()
{
    statisticsMutex = CreateMutexA(nullptr, FALSE, nullptr);
    Measure(50);
    Measure(500);
    return 0;
}
