#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "my_mutex.h"
#include "progress_thread.h"
#include "viewer_fakes.h"

namespace {

// Notes the thread and the file of every read of bytes and every parse
// step, and whether the statistics mutex was held by the worker meanwhile.
class ObservedThread : public ProgressThread {
public:
    ObservedThread(MyMutex* mutex, WaitView* wait) : ProgressThread(mutex, wait), mutex_(mutex) {}
    std::vector<DWORD> readThreads, parseThreads;
    std::vector<std::string> files, parsed;
    std::vector<bool> heldWhileRead, heldWhileParsed;
    std::atomic<bool>* readStarted = nullptr;

protected:
    bool ReadFileBytes(const std::string& path, std::string& bytes) override
    {
        if (readStarted)
            *readStarted = true;
        readThreads.push_back(GetCurrentThreadId());
        files.push_back(path);
        heldWhileRead.push_back(HeldByWorker());
        return ProgressThread::ReadFileBytes(path, bytes);
    }
    void ReadUsageFile() override
    {
        NoteParse();
        ProgressThread::ReadUsageFile();
    }
    void SumUsageFile() override
    {
        NoteParse();
        ProgressThread::SumUsageFile();
    }

private:
    void NoteParse()
    {
        parseThreads.push_back(GetCurrentThreadId());
        parsed.push_back(*currentFile_);
        heldWhileParsed.push_back(HeldByWorker());
    }
    // Held by the worker exactly when a third thread cannot take it.
    bool HeldByWorker()
    {
        if (!mutex_)
            return false;
        bool held = false;
        std::thread probe([&] {
            DWORD r = WaitForSingleObject(mutex_->Handle(), 0);
            held = r == WAIT_TIMEOUT;
            if (!held)
                ReleaseMutex(mutex_->Handle());
        });
        probe.join();
        return held;
    }
    MyMutex* mutex_;
};

std::string Line(const std::string& name, int activeSeconds)
{
    return Record(name, My_Time(), My_Time(0, 0, activeSeconds), My_Time(), My_Time());
}

// Takes the mutex and ends without releasing it: the mutex is abandoned.
DWORD WINAPI TakeAndQuit(LPVOID)
{
    HANDLE m = CreateMutexA(nullptr, FALSE, "777005");
    WaitForSingleObject(m, INFINITE);
    return 0;
}

} // namespace

TEST(ProgressThread, ReadsOwnFilesIntoTheResultsAndSumsEachPeriodFile)
{
    TempDir dir;
    WriteBytes(dir / "own", Line("a.exe", 1) + Line("b.exe", 2) + Line("a.exe", 3));
    WriteBytes(dir / "p1", Line("a.exe", 50) + Line("z.exe", 20));
    WriteBytes(dir / "p3", "");
    std::vector<std::string> own = {dir / "own", dir / "missing"};
    std::vector<std::string> periods = {dir / "p1", dir / "p2", dir / "p3"};
    ApplicList results, sums;
    MyMutex mutex(777001, false);
    FakeWait wait;
    ObservedThread worker(&mutex, &wait);
    worker.SetLists(own, results, sums, periods);
    worker.Start();
    EXPECT_EQ(worker.WaitFor(), 1);

    ASSERT_EQ(results.size(), 3u);
    EXPECT_EQ(results[2].path, "a.exe");
    EXPECT_EQ(results[2].active.seconds, 3);
    ASSERT_EQ(sums.size(), 3u);
    EXPECT_EQ(sums[0].path, dir / "p1");
    EXPECT_EQ(sums[0].name, "");
    EXPECT_EQ(TimeToText(sums[0].active), "0:1:10");
    for (int i : {1, 2}) {
        EXPECT_EQ(sums[i].path, periods[i]);
        EXPECT_EQ(TimeToText(sums[i].active) + TimeToText(sums[i].loaded) + TimeToText(sums[i].mouse) +
                      TimeToText(sums[i].keyboard),
                  "0:0:00:0:00:0:00:0:0");
    }
    // Five files: steps of 20, the bar set after each read; then hidden.
    EXPECT_EQ(wait.positions, (std::vector<int>{0, 20, 40, 60, 80}));
    EXPECT_EQ(wait.hides, 1);
    // The mutex was released by the worker.
    EXPECT_EQ(mutex.Wait(), WAIT_OBJECT_0);
    mutex.Release();
}

TEST(ProgressThread, RecordsAreParsedAndTheBarMovedOnTheWaitingThread)
{
    TempDir dir;
    std::vector<std::string> own = {dir / "a", dir / "b"};
    std::vector<std::string> periods = {dir / "c"};
    ApplicList results, sums;
    MyMutex mutex(777002, false);
    FakeWait wait;
    ObservedThread worker(&mutex, &wait);
    worker.SetLists(own, results, sums, periods);
    worker.Start();
    worker.WaitFor();
    ASSERT_EQ(worker.readThreads.size(), 3u);
    ASSERT_EQ(worker.parseThreads.size(), 3u);
    // The bytes are taken by the worker, which holds the mutex.
    for (DWORD id : worker.readThreads)
        EXPECT_NE(id, GetCurrentThreadId());
    for (DWORD id : worker.parseThreads)
        EXPECT_EQ(id, GetCurrentThreadId());
    for (DWORD id : wait.threads)
        EXPECT_EQ(id, GetCurrentThreadId());
    EXPECT_EQ(worker.files, (std::vector<std::string>{dir / "a", dir / "b", dir / "c"}));
    EXPECT_EQ(worker.parsed, worker.files);
    EXPECT_EQ(wait.positions, (std::vector<int>{0, 33, 66}));
}

TEST(ProgressThread, TheMutexIsHeldWhileBytesAreTakenAndFreeWhileTheyAreParsed)
{
    TempDir dir;
    WriteBytes(dir / "a", Line("a.exe", 1));
    WriteBytes(dir / "b", Line("b.exe", 2));
    std::vector<std::string> own = {dir / "a", dir / "missing"};
    std::vector<std::string> periods = {dir / "b"};
    ApplicList results, sums;
    MyMutex mutex(777006, false);
    ObservedThread worker(&mutex, nullptr);
    worker.SetLists(own, results, sums, periods);
    worker.Start();
    EXPECT_EQ(worker.WaitFor(), 1);
    EXPECT_EQ(worker.heldWhileRead, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(worker.heldWhileParsed, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(Paths(results), (std::vector<std::string>{"a.exe"}));
    ASSERT_EQ(sums.size(), 1u);
    EXPECT_EQ(sums[0].active.seconds, 2);
}

TEST(ProgressThread, AFileNamedTwiceInARunIsReadOnceAndCountedEachTime)
{
    TempDir dir;
    WriteBytes(dir / "a", Line("a.exe", 1) + Line("x.exe", 4));
    WriteBytes(dir / "b", Line("b.exe", 2));
    WriteBytes(dir / "c", Line("c.exe", 3));
    std::vector<std::string> own = {dir / "a", dir / "b", dir / "a", dir / "gone"};
    std::vector<std::string> periods = {dir / "a", dir / "c", dir / "gone"};
    ApplicList results, sums;
    MyMutex mutex(777007, false);
    FakeWait wait;
    ObservedThread worker(&mutex, &wait);
    worker.SetLists(own, results, sums, periods);
    worker.Start();
    EXPECT_EQ(worker.WaitFor(), 1);
    EXPECT_EQ(worker.files, (std::vector<std::string>{dir / "a", dir / "b", dir / "gone", dir / "c"}));
    EXPECT_EQ(Paths(results), (std::vector<std::string>{"a.exe", "x.exe", "b.exe", "a.exe", "x.exe"}));
    ASSERT_EQ(sums.size(), 3u);
    EXPECT_EQ(sums[0].path, dir / "a");
    EXPECT_EQ(sums[0].active.seconds, 5);
    EXPECT_EQ(sums[1].active.seconds, 3);
    EXPECT_EQ(TimeToText(sums[2].active), "0:0:0");
    // The bar moves once for every file of the lists, as before.
    EXPECT_EQ(wait.positions, (std::vector<int>{0, 14, 28, 42, 56, 70, 84}));

    // A second run reads the files afresh.
    WriteBytes(dir / "a", Line("a.exe", 9));
    ApplicList again, sumsAgain;
    ObservedThread second(&mutex, nullptr);
    second.SetLists(own, again, sumsAgain, periods);
    second.Start();
    second.WaitFor();
    EXPECT_EQ(again[0].active.seconds, 9);
    EXPECT_EQ(sumsAgain[0].active.seconds, 9);
}

TEST(ProgressThread, StepArithmetic)
{
    // No file at all: the mutex is taken and released, nothing is read.
    std::vector<std::string> none;
    ApplicList results, sums;
    MyMutex mutex(777003, false);
    FakeWait wait;
    ProgressThread empty(&mutex, &wait);
    empty.SetLists(none, results, sums, none);
    empty.Start();
    EXPECT_EQ(empty.WaitFor(), 1);
    EXPECT_TRUE(wait.positions.empty());
    EXPECT_EQ(wait.hides, 1);

    // More than 100 files: a step of 0.
    TempDir dir;
    std::vector<std::string> many(101, dir / "missing");
    FakeWait wait2;
    ProgressThread big(&mutex, &wait2);
    big.SetLists(many, results, sums, none);
    big.Start();
    big.WaitFor();
    ASSERT_EQ(wait2.positions.size(), 101u);
    EXPECT_EQ(wait2.positions.back(), 0);
}

TEST(ProgressThread, WaitsWhileAnotherThreadHoldsTheMutex)
{
    TempDir dir;
    WriteBytes(dir / "a", Line("a.exe", 1));
    std::vector<std::string> own = {dir / "a"}, none;
    ApplicList results, sums;

    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        MyMutex other(777004, false);
        other.Wait();
        SetEvent(taken);
        WaitForSingleObject(release, INFINITE);
        other.Release();
    });
    WaitForSingleObject(taken, INFINITE);

    MyMutex mutex(777004, false);
    std::atomic<bool> readStarted{false};
    ObservedThread worker(&mutex, nullptr);
    worker.readStarted = &readStarted;
    worker.SetLists(own, results, sums, none);
    worker.Start();
    // Release the holder from a third thread after a while; the waiting
    // thread must not have read anything by then.
    std::atomic<bool> readBeforeRelease{true};
    std::thread releaser([&] {
        Sleep(400);
        readBeforeRelease = readStarted.load();
        SetEvent(release);
    });
    EXPECT_EQ(worker.WaitFor(), 1);
    releaser.join();
    holder.join();
    EXPECT_FALSE(readBeforeRelease.load());
    EXPECT_EQ(results.size(), 1u);
    CloseHandle(taken);
    CloseHandle(release);
}

TEST(ProgressThread, AnAbandonedMutexCountsAsTakenAndIsReleased)
{
    TempDir dir;
    WriteBytes(dir / "a", Line("a.exe", 1));
    std::vector<std::string> own = {dir / "a"}, none;
    ApplicList results, sums;
    HANDLE quitter = CreateThread(nullptr, 0, TakeAndQuit, nullptr, 0, nullptr);
    WaitForSingleObject(quitter, INFINITE);
    CloseHandle(quitter);
    MyMutex mutex(777005, false);
    ProgressThread worker(&mutex, nullptr);
    worker.SetLists(own, results, sums, none);
    worker.Start();
    EXPECT_EQ(worker.WaitFor(), 1);
    EXPECT_EQ(results.size(), 1u);
    // Released by the worker: another thread can take it at once.
    std::thread other([] {
        MyMutex m(777005, false);
        EXPECT_EQ(m.Wait(), WAIT_OBJECT_0);
        m.Release();
    });
    other.join();
}

TEST(ProgressThread, AFailedWaitDoesNotLeaveTheWorkerRunning)
{
    struct FailingWait : ProgressThread {
        using ProgressThread::ProgressThread;
        DWORD WaitForWorker(DWORD n, const HANDLE* h) override
        {
            return waits++ ? ProgressThread::WaitForWorker(n, h) : WAIT_FAILED;
        }
        int waits = 0;
    } worker(nullptr, nullptr);
    std::vector<std::string> none;
    ApplicList results, sums;
    worker.SetLists(none, results, sums, none);
    ASSERT_TRUE(worker.Start());
    EXPECT_EQ(worker.WaitFor(), 1);   // set by the worker at its very end
}
