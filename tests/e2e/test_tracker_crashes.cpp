#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <map>
#include <random>
#include <regex>

#include "file_read.h"
#include "hard_kill.h"
#include "log_paths.h"
#include "message_box.h"
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

// Checks the user's whole tree; returns the year totals' sums.
Sums CheckTree(const std::string& logPath, int round)
{
    Sums all;
    const std::string user = LogUserFolder(logPath, WindowsUserName());
    for (const std::string& year : NamesIn(user, true)) {
        Sums months;
        for (const std::string& month : NamesIn(user + "\\" + year, true)) {
            const std::string folder = user + "\\" + year + "\\" + month;
            Sums days;
            for (const std::string& file : NamesIn(folder, false)) {
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

// A copy of a round that the killed tracker had committed but not moved: its
// round's ".ok" is there, and its name says which file it is for.
struct PendingMove {
    std::string temp, target, bytes;
};

std::vector<PendingMove> PendingMoves(const std::string& user)
{
    std::map<std::string, PendingMove> newest;  // by file; marks sort as names do
    for (const std::string& name : NamesIn(user, false, "~k*.new")) {
        const std::string mark = name.substr(0, 18);
        std::string date = name.substr(19, name.size() - 19 - 4), bytes;
        const size_t parts = std::count(date.begin(), date.end(), '.') + 1;
        std::replace(date.begin(), date.end(), '.', '\\');
        if (!FileExists(user + "\\" + mark + ".ok") || !ReadWholeFile(user + "\\" + name, bytes))
            continue;
        const std::string target = user + "\\" + date + (parts < 3 ? "\\total" : "");
        newest[target] = {user + "\\" + name, target, bytes};
    }
    std::vector<PendingMove> moves;
    for (const auto& entry : newest)
        moves.push_back(entry.second);
    return moves;
}

// True once the tracker's UI thread no longer answers: it waits in a save.
bool InASave(HWND indicator)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(indicator, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 30, &result) == 0;
}

} // namespace

// Two runs of 20 kills: 40 in all, each run well within a test's time.
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
    const int kKills = 20;
    int inSaves = 0;
    int cutSetsFinished = 0;
    const std::string user = LogUserFolder(world.LogPath(), WindowsUserName());
    std::vector<PendingMove> cut;
    for (int round = 0; round < kKills; ++round) {
        TestProcess tracker;
        ASSERT_TRUE(world.Start(tracker));
        // Every fourth kill falls inside a round that cannot finish: one of the
        // three files is held without sharing, as a backup program may hold it.
        const bool holding = round % 4 == 3;
        HANDLE held = INVALID_HANDLE_VALUE;
        if (holding) {
            HWND indicator = world.WaitForIndicator(tracker.Pid());
            ASSERT_NE(indicator, nullptr);
            ASSERT_TRUE(killer.Arm("kaltrow.exe"));
            const std::string files[] = {DayFileOf(world.LogPath()), MonthTotalOf(world.LogPath()),
                                         YearTotalOf(world.LogPath())};
            const std::string target = files[random() % 3];
            ASSERT_TRUE(PumpUntil([&] {
                held = HoldUnshared(target);
                return held != INVALID_HANDLE_VALUE;
            }, 10000));
            // The round has ended once it tells of the file; its copy waits.
            ASSERT_NE(WaitForTopWindow([&](HWND w) {
                return WindowProcessId(w) == tracker.Pid() && MessageBoxText(w).find(" problem") != std::string::npos;
            }, 10000), nullptr) << "round " << round;
            const std::vector<PendingMove> moves = PendingMoves(user);
            ASSERT_TRUE(std::any_of(moves.begin(), moves.end(), [&](const PendingMove& move) {
                return lstrcmpiA(move.target.c_str(), target.c_str()) == 0;
            })) << "round " << round << ": no copy waits for " << target;
        } else if (cut.empty() && random() % 2 == 0) {
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
            // A copy the killed one could not move is moved, before the first save.
            for (const PendingMove& move : cut)
                EXPECT_EQ(ReadBytes(move.target), move.bytes) << "round " << round << ": " << move.target;
            for (const std::string& name : NamesIn(user, false))
                EXPECT_NE(name.compare(0, 2, "~k"), 0) << "round " << round << ": " << name;
            cutSetsFinished += cut.empty() ? 0 : 1;
            cut.clear();
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
        if (holding) {
            cut = PendingMoves(user);
            CloseHandle(held);
        }
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
    EXPECT_GT(cutSetsFinished, 0);
    std::printf("%d kills, %d of them aimed at a save, %d waiting copies moved at the next start\n", kKills, inSaves,
                cutSetsFinished);
}

INSTANTIATE_TEST_SUITE_P(TwoRuns, TrackerCrashes, ::testing::Values(1, 2));

// Killed while another program held the month total, so its copy waits; the
// next start finds every leftover held for a while. Once they are free, the
// month and year totals take the waiting copy's times and what was counted
// since, and a third start changes nothing.
TEST(TrackerCrashes, AWaitingCopyHeldAtTheNextStartJoinsNewestFirst)
{
    TrackerWorld world;
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr waiting copy", "--pos", "200", "420"}));
    ASSERT_NE(FindTopWindow("klr waiting copy", app.Pid()), nullptr);
    const std::string files[3] = {DayFileOf(world.LogPath()), MonthTotalOf(world.LogPath()), YearTotalOf(world.LogPath())};
    const std::string user = LogUserFolder(world.LogPath(), WindowsUserName());
    const char kApp[] = "klr_testapp.exe";
    auto agree = [&] {
        const long day = ReadCounters(files[0], kApp).loaded;
        return day > 0 && ReadCounters(files[1], kApp).loaded == day && ReadCounters(files[2], kApp).loaded == day;
    };
    {
        TestProcess tracker;
        ASSERT_TRUE(world.Start(tracker));
        ASSERT_NE(world.WaitForIndicator(tracker.Pid()), nullptr);
        ASSERT_TRUE(PumpUntil([&] { return ReadCounters(files[1], kApp).loaded > 1; }, 10000));
        HANDLE held = HoldUnshared(files[1]);
        const long before = ReadCounters(files[0], kApp).loaded;
        ASSERT_TRUE(PumpUntil([&] { return ReadCounters(files[0], kApp).loaded > before + 2; }, 10000));
        ASSERT_FALSE(PendingMoves(user).empty());
        ASSERT_TRUE(HardKillTracker(tracker));
        CloseHandle(held);
    }
    {
        std::vector<HANDLE> held;
        for (const std::string& name : NamesIn(user, false, "~k*"))
            held.push_back(HoldUnshared(user + "\\" + name));
        TestProcess tracker;
        ASSERT_TRUE(world.Start(tracker));
        HWND indicator = world.WaitForIndicator(tracker.Pid());
        ASSERT_NE(indicator, nullptr);
        PumpFor(1500);
        for (HANDLE h : held)
            CloseHandle(h);
        EXPECT_TRUE(PumpUntil(agree, 10000)) << ReadBytes(files[0]) << ReadBytes(files[1]) << ReadBytes(files[2]);
        // Its boxes answered, it closes.
        for (HWND box; (box = WaitForTopWindow([&](HWND w) {
                            return WindowProcessId(w) == tracker.Pid() &&
                                   MessageBoxText(w).find(" problem") != std::string::npos;
                        }, 500)) != nullptr;)
            PressDialogButton(box, IDOK);
        ASSERT_TRUE(CloseTracker(tracker, indicator));
        EXPECT_TRUE(agree()) << ReadBytes(files[0]) << ReadBytes(files[1]) << ReadBytes(files[2]);
    }
    TestProcess tracker;
    ASSERT_TRUE(world.Start(tracker));
    HWND indicator = world.WaitForIndicator(tracker.Pid());
    ASSERT_TRUE(CloseTracker(tracker, indicator));
    EXPECT_TRUE(agree()) << ReadBytes(files[0]) << ReadBytes(files[1]) << ReadBytes(files[2]);
    EXPECT_TRUE(NamesIn(user, false, "~k*").empty());
}
