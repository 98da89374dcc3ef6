#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "startup.h"
#include "tracker_globals.h"
#include "tracker_ui.h"
#include "worker.h"

namespace {

DWORD boxThread = 0;
DWORD mutexSeenByOthers = WAIT_FAILED;
std::wstring boxText;

int WINAPI RecordWorkerBox(HWND, LPCWSTR text, LPCWSTR, UINT)
{
    boxThread = GetCurrentThreadId();
    boxText = text;
    std::thread probe([] {
        mutexSeenByOthers = WaitForSingleObject(statisticsMutex, 0);
        if (mutexSeenByOthers == WAIT_OBJECT_0)
            ReleaseMutex(statisticsMutex);
    });
    probe.join();
    return IDOK;
}

ProcRecord& ThrowsLength(RecordList&, const ProcRecord&)
{
    throw std::length_error("test");
}

// A box the user leaves open until the test closes it.
HANDLE boxShown = nullptr;
HANDLE boxClosed = nullptr;

int WINAPI BoxLeftOpen(HWND, LPCWSTR, LPCWSTR, UINT)
{
    SetEvent(boxShown);
    WaitForSingleObject(boxClosed, 30000);
    return IDOK;
}

DWORD WINAPI RunEndWorker(LPVOID worker)
{
    EndWorker(static_cast<HANDLE>(worker));
    return 0;
}

// EndWorker on a thread of its own, so a wait that never ends fails the test
// instead of hanging it. True when it returned within `ms`.
bool EndWorkerWithin(HANDLE worker, DWORD ms)
{
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), worker, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    HANDLE ender = CreateThread(nullptr, 0, RunEndWorker, copy, 0, nullptr);
    bool ended = WaitForSingleObject(ender, ms) == WAIT_OBJECT_0;
    CloseHandle(ender);
    return ended;
}

// The worker against mutexes and a window of the test's own: this thread owns the
// instance mutex, as the UI thread does, and the window stands for the indicator.
class Worker : public ::testing::Test {
protected:
    void SetUp() override
    {
        instanceMutex = CreateMutexA(nullptr, TRUE, nullptr);
        statisticsMutex = CreateMutexA(nullptr, FALSE, nullptr);
        indicatorWindow = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(indicatorWindow, nullptr);
        trackingStopped = false;
        workerEnding = false;
        activityPercent = 0;
        dayList.clear();
        monthList.clear();
        yearList.clear();
        ProcRecord a("a.exe");
        a.SetState(STATE_LOADED | STATE_MOUSE);
        dayList.push_back(a);
    }
    void TearDown() override
    {
        if (thread_) {
            ReleaseMutex(instanceMutex);
            WaitForSingleObject(thread_, 5000);
            CloseHandle(thread_);
        }
        DestroyWindow(indicatorWindow);
        CloseHandle(instanceMutex);
        CloseHandle(statisticsMutex);
        indicatorWindow = nullptr;
        instanceMutex = nullptr;
        statisticsMutex = nullptr;
        trackingStopped = false;
        workerEnding = false;
        WorkerFindOrAdd = FindOrAddRecord;
        dayList.clear();
        monthList.clear();
        yearList.clear();
    }

    void StartWorker() { thread_ = CreateThread(nullptr, 0, ActivityWorker, nullptr, 0, nullptr); }

    // Lets go of the instance mutex: the worker's next wait obtains it and it ends.
    DWORD StopWorker()
    {
        ReleaseMutex(instanceMutex);
        EXPECT_EQ(WaitForSingleObject(thread_, 5000), WAIT_OBJECT_0);
        DWORD code = 99;
        GetExitCodeThread(thread_, &code);
        CloseHandle(thread_);
        thread_ = nullptr;
        return code;
    }

    static std::string Loaded(RecordList& list, size_t i = 0)
    {
        ListsGuard guard;
        return i < list.size() ? list[i].LoadedText() : "none";
    }

    bool PaintWasPosted()
    {
        MSG msg;
        return PeekMessageA(&msg, indicatorWindow, WM_PAINT, WM_PAINT, PM_REMOVE) && msg.message == WM_PAINT;
    }

    HANDLE thread_ = nullptr;
};

} // namespace

TEST_F(Worker, OnePassPerSecondHoweverLongTheMutexWasHeld)
{
    WaitForSingleObject(statisticsMutex, INFINITE);
    StartWorker();
    Sleep(3000);
    EXPECT_EQ(Loaded(dayList), "0:0:0");
    ReleaseMutex(statisticsMutex);
    for (int i = 0; i < 200 && Loaded(dayList) == "0:0:0"; ++i)
        Sleep(5);
    EXPECT_EQ(StopWorker(), 0u);

    EXPECT_EQ(Loaded(dayList), "0:0:1");
    EXPECT_EQ(dayList[0].MouseText(), "0:0:1");
    EXPECT_EQ(dayList[0].State(), STATE_LOADED);
    EXPECT_EQ(Loaded(monthList), "0:0:1");
    EXPECT_EQ(Loaded(yearList), "0:0:1");
    EXPECT_TRUE(PaintWasPosted());
    // The worker left the statistics mutex free.
    EXPECT_EQ(WaitForSingleObject(statisticsMutex, 0), WAIT_OBJECT_0);
    ReleaseMutex(statisticsMutex);
}

TEST_F(Worker, StoppedTrackingCountsAndPostsNothing)
{
    trackingStopped = true;
    activityPercent = 33;
    StartWorker();
    Sleep(2500);
    EXPECT_EQ(StopWorker(), 0u);
    EXPECT_EQ(Loaded(dayList), "0:0:0");
    EXPECT_EQ(dayList[0].State(), STATE_LOADED | STATE_MOUSE);
    EXPECT_TRUE(monthList.empty());
    EXPECT_EQ(activityPercent.load(), 33u);
    EXPECT_FALSE(PaintWasPosted());
}

TEST_F(Worker, AnErrorIsShownOnItsThreadAfterTheMutexIsFreeAndEndsIt)
{
    MessageBoxWFn old = TrackerMessageBoxW;
    TrackerMessageBoxW = RecordWorkerBox;
    WorkerFindOrAdd = ThrowsLength;
    DWORD id = 0;
    thread_ = CreateThread(nullptr, 0, ActivityWorker, nullptr, 0, &id);
    EXPECT_EQ(WaitForSingleObject(thread_, 5000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeThread(thread_, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(boxThread, id);
    EXPECT_EQ(boxText, L"length_error");
    EXPECT_EQ(mutexSeenByOthers, static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_FALSE(PaintWasPosted());
    CloseHandle(thread_);
    thread_ = nullptr;
    TrackerMessageBoxW = old;
}

TEST_F(Worker, FailedClockWaitStillCountsOneSecondPerSecond)
{
    HANDLE owned = instanceMutex;
    instanceMutex = nullptr;  // every wait fails at once
    StartWorker();
    Sleep(2500);
    // An unowned mutex: the next wait obtains it and the worker ends.
    instanceMutex = CreateMutexA(nullptr, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread_, 3000), WAIT_OBJECT_0);
    CloseHandle(thread_);
    thread_ = nullptr;
    std::string loaded = Loaded(dayList);
    EXPECT_TRUE(loaded == "0:0:2" || loaded == "0:0:3") << loaded;
    CloseHandle(owned);
}

TEST_F(Worker, EndsOnCloseEvenWithoutAnyClock)
{
    // Neither the named mutex nor a clock of its own could be had.
    HANDLE owned = instanceMutex;
    instanceMutex = nullptr;
    StartWorker();
    for (int i = 0; i < 400 && Loaded(dayList) == "0:0:0"; ++i)
        Sleep(5);
    ASSERT_NE(Loaded(dayList), "0:0:0");
    EXPECT_TRUE(EndWorkerWithin(thread_, kWorkerEndMs + 2000));
    EXPECT_EQ(WaitForSingleObject(thread_, 0), WAIT_OBJECT_0);
    std::string last = Loaded(dayList);
    Sleep(1500);
    EXPECT_EQ(Loaded(dayList), last);
    CloseHandle(thread_);
    thread_ = nullptr;
    CloseHandle(owned);
}

TEST_F(Worker, EndWaitsBoundedlyForAWorkerWhoseErrorBoxIsOpen)
{
    MessageBoxWFn old = TrackerMessageBoxW;
    TrackerMessageBoxW = BoxLeftOpen;
    WorkerFindOrAdd = ThrowsLength;
    boxShown = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    boxClosed = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    StartWorker();
    ASSERT_EQ(WaitForSingleObject(boxShown, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(EndWorkerWithin(thread_, kWorkerEndMs + 2000));
    // Still in its box; closing it ends the thread.
    EXPECT_EQ(WaitForSingleObject(thread_, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(boxClosed);
    EXPECT_EQ(WaitForSingleObject(thread_, 5000), WAIT_OBJECT_0);
    CloseHandle(thread_);
    thread_ = nullptr;
    CloseHandle(boxShown);
    CloseHandle(boxClosed);
    TrackerMessageBoxW = old;
}
