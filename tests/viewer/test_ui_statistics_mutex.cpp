// Runs on the real statistics mutex "1", which the tracker shares.
#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "my_mutex.h"
#include "statistics.h"
#include "viewer_fakes.h"

namespace {

const char kHoldVariable[] = "KLR_TEST_HOLD_STATISTICS_MUTEX";

// Started again by the test below as the other process: holds the mutex for
// a while and ends before any test runs.
const bool kHelperProcess = [] {
    const char* event = std::getenv(kHoldVariable);
    if (!event)
        return false;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "1");
    WaitForMutexPolling(mutex, 10);
    SetEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, event));
    Sleep(700);
    ReleaseMutex(mutex);
    ExitProcess(0);
    return true;
}();

// Reads one tagged day file through the Day level on mutex "1".
class RealMutex : public ::testing::Test {
protected:
    RealMutex() : lists(1), day(&lists.results, &lists.totals, nullptr)
    {
        day.SetLogFolder(tree.LogPath());
        tree.Tagged("2024\\3\\5");
    }

    // The time the run took, in milliseconds.
    DWORD TimedRun()
    {
        DWORD start = GetTickCount();
        EXPECT_TRUE(day.Run(EncodeDate(2024, 3, 5), EncodeDate(2024, 3, 5)));
        return GetTickCount() - start;
    }

    LogTree tree;
    RunLists lists;
    StatisticsDay day;
};

} // namespace

TEST_F(RealMutex, ARunWaitsWhileAnotherProcessHoldsIt)
{
    std::string eventName = "klr_test_taken_" + std::to_string(GetCurrentProcessId());
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, eventName.c_str());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string command = std::string("\"") + self + "\"";
    SetEnvironmentVariableA(kHoldVariable, eventName.c_str());
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    SetEnvironmentVariableA(kHoldVariable, nullptr);
    ASSERT_EQ(WaitForSingleObject(taken, 20000), WAIT_OBJECT_0);

    DWORD took = TimedRun();
    EXPECT_GE(took, 400u);
    EXPECT_EQ(Paths(lists.results), (std::vector<std::string>{"2024\\3\\5"}));
    WaitForSingleObject(pi.hProcess, 20000);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(taken);
}

TEST_F(RealMutex, ARunWaitsForAnotherThreadAndLeavesTheMutexFree)
{
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        MyMutex other(1, false);
        other.Wait();
        SetEvent(taken);
        Sleep(500);
        other.Release();
    });
    WaitForSingleObject(taken, INFINITE);
    DWORD took = TimedRun();
    holder.join();
    EXPECT_GE(took, 300u);
    EXPECT_EQ(lists.results.size(), 1u);
    // Free again: the worker released what it took.
    std::thread after([] {
        MyMutex m(1, false);
        EXPECT_EQ(m.Wait(), WAIT_OBJECT_0);
        m.Release();
    });
    after.join();
    CloseHandle(taken);
}
