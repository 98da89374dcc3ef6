#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <iterator>
#include <map>
#include <random>
#include <regex>

#include "hard_kill.h"
#include "log_paths.h"
#include "pump.h"
#include "top_windows.h"
#include "tracker_run.h"

// The real tracker killed hard again and again: what it leaves is whole, and
// the day files, month totals and year totals agree to the second.

namespace {

using Sums = std::map<std::string, std::array<long, 4>>;

long Seconds(const std::string& text)
{
    long h = 0, m = 0, s = 0;
    std::sscanf(text.c_str(), "%ld:%ld:%ld", &h, &m, &s);
    return h * 3600 + m * 60 + s;
}

// The records of a file that must be whole: every line a complete record.
// A missing file is empty; anything else adds a failure.
Sums ReadWhole(const std::string& path)
{
    Sums sums;
    if (!FileExists(path))
        return sums;
    static const std::regex record("\"([^\"\n]+)\"\t(\\d+:\\d+:\\d+)\t(\\d+:\\d+:\\d+)\t(\\d+:\\d+:\\d+)\t(\\d+:\\d+:\\d+)");
    std::string text = ReadBytes(path);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::smatch m;
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (end == std::string::npos || !std::regex_match(line, m, record)) {
            ADD_FAILURE() << path << " is not whole:\n" << text;
            return sums;
        }
        sums[m[1]] = {Seconds(m[2]), Seconds(m[3]), Seconds(m[4]), Seconds(m[5])};
        at = end + 1;
    }
    return sums;
}

// A record of zeros counts as no record: the day file lists an application
// from its first look, the totals from its first counted second.
Sums Counted(Sums sums)
{
    for (auto it = sums.begin(); it != sums.end();)
        it = it->second == std::array<long, 4>{0, 0, 0, 0} ? sums.erase(it) : std::next(it);
    return sums;
}

void Add(Sums& into, const Sums& from)
{
    for (const auto& entry : from) {
        std::array<long, 4>& sum = into[entry.first];
        for (size_t k = 0; k < 4; ++k)
            sum[k] += entry.second[k];
    }
}

std::vector<std::string> Entries(const std::string& folder, bool folders)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = data.cFileName;
        bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder == folders && name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// Checks the user's whole tree; returns the year totals' sums.
Sums CheckTree(const std::string& logPath, int round)
{
    Sums all;
    const std::string user = LogUserFolder(logPath, WindowsUserName());
    for (const std::string& year : Entries(user, true)) {
        Sums months;
        for (const std::string& month : Entries(user + "\\" + year, true)) {
            const std::string folder = user + "\\" + year + "\\" + month;
            Sums days;
            for (const std::string& file : Entries(folder, false)) {
                EXPECT_TRUE(file == "total" || file.find_first_not_of("0123456789") == std::string::npos)
                    << "round " << round << ": " << folder << "\\" << file;
                if (file != "total")
                    Add(days, ReadWhole(folder + "\\" + file));
            }
            Sums total = ReadWhole(folder + "\\total");
            EXPECT_EQ(Counted(days), Counted(total)) << "round " << round << ": month total of " << folder;
            Add(months, total);
        }
        Sums total = ReadWhole(user + "\\" + year + "\\total");
        EXPECT_EQ(Counted(months), Counted(total)) << "round " << round << ": year total of " << year;
        Add(all, total);
    }
    return all;
}

// A tracker killed while it held the mutex leaves it abandoned: taken all the same.
bool Take(HANDLE mutex)
{
    DWORD wait = WaitForSingleObject(mutex, 10000);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

// True once the tracker's UI thread no longer answers: it waits in a save.
bool InASave(HWND indicator)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(indicator, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30, &result) == 0;
}

} // namespace

// Two runs of 26 kills: 52 in all, each run well within a test's time.
class TrackerCrashes : public ::testing::TestWithParam<int> {};

TEST_P(TrackerCrashes, FilesStayWholeAndAgreeAfterManyHardKills)
{
    TrackerWorld world;
    // Something with a window, so every second changes the counters.
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr killed", "--pos", "200", "420"}));
    ASSERT_NE(FindTopWindow("klr killed", app.Pid()), nullptr);

    // The statistics mutex, as the viewer takes it: held, it stops the tracker's
    // next save at its start; released, the save runs, and the kill falls into it.
    HANDLE statistics = CreateMutexA(nullptr, FALSE, "1");
    ASSERT_NE(statistics, nullptr);
    std::random_device seedSource;
    const unsigned seed = seedSource();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    HardKiller killer;
    const int kKills = 26;
    int inSaves = 0;
    for (int round = 0; round < kKills; ++round) {
        TestProcess tracker;
        ASSERT_TRUE(world.Start(tracker));
        if (random() % 2 == 0) {
            // Any moment of the start-up, also in the middle of putting a set right.
            ASSERT_TRUE(PumpUntil([&] { return killer.Arm("kaltrow.exe"); }, 10000));
            PumpFor(random() % 400);
        } else {
            HWND indicator = world.WaitForIndicator(tracker.Pid());
            ASSERT_NE(indicator, nullptr);
            ASSERT_TRUE(killer.Arm("kaltrow.exe"));
            // Started: what the killed one left has been put right.
            ASSERT_TRUE(Take(statistics));
            CheckTree(world.LogPath(), round);
            // The timer's first save waits; the close request's save follows it,
            // after the worker's first second, so it has new counts to write.
            ASSERT_TRUE(PumpUntil([&] { return InASave(indicator); }, 10000));
            PostMessageA(indicator, WM_CLOSE, 0, 0);
            Sleep(50);
            ReleaseMutex(statistics);
            Sleep(random() % 30);
            ++inSaves;
        }
        killer.Fire();
        ASSERT_TRUE(tracker.WaitForExit(10000));
        if (HasFailure())
            break;
    }

    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    ASSERT_NE(indicator, nullptr);
    ASSERT_TRUE(Take(statistics));
    CheckTree(world.LogPath(), kKills);
    ReleaseMutex(statistics);
    CloseHandle(statistics);
    // Still counting and saving after all that, and in agreement after a close.
    const std::string day = DayFileOf(world.LogPath());
    EXPECT_TRUE(PumpUntil([&] { return ReadCounters(day, "klr_testapp.exe").loaded > 0; }, 10000)) << ReadBytes(day);
    EXPECT_TRUE(CloseTracker(tracker, indicator));
    Sums years = CheckTree(world.LogPath(), kKills + 1);
    EXPECT_GT(years["klr_testapp.exe"][0], 0);
    std::printf("%d kills, %d of them aimed at a save\n", kKills, inSaves);
}

INSTANTIATE_TEST_SUITE_P(TwoRuns, TrackerCrashes, ::testing::Values(1, 2));
