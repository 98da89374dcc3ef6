#include <gtest/gtest.h>

#include <thread>

#include "my_mutex.h"

TEST(MyMutex, NameIsTheNumberAndWaitsTimeOutWhileAnotherThreadHoldsIt)
{
    MyMutex mine(424242, false);
    EXPECT_STREQ(mine.Name(), "424242");
    ASSERT_NE(mine.Handle(), nullptr);

    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        MyMutex other(424242, false);
        EXPECT_EQ(other.Wait(), WAIT_OBJECT_0);
        SetEvent(taken);
        WaitForSingleObject(done, INFINITE);
        other.Release();
    });
    WaitForSingleObject(taken, INFINITE);
    EXPECT_EQ(mine.Wait(), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(done);
    holder.join();
    EXPECT_EQ(mine.Wait(), WAIT_OBJECT_0);
    EXPECT_TRUE(mine.Release());
    CloseHandle(taken);
    CloseHandle(done);
}

namespace {

DWORD WINAPI TakeAndQuit(LPVOID)
{
    HANDLE m = CreateMutexA(nullptr, FALSE, "424243");
    WaitForSingleObject(m, INFINITE);
    // Ends without releasing: the mutex is abandoned.
    return 0;
}

} // namespace

TEST(MyMutex, AbandonedMutexEndsThePollingWaitOwned)
{
    MyMutex mine(424243, false);
    HANDLE thread = CreateThread(nullptr, 0, TakeAndQuit, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(WaitForSingleObject(mine.Handle(), 10), static_cast<DWORD>(WAIT_ABANDONED));
    EXPECT_TRUE(ReleaseMutex(mine.Handle()));
    WaitForMutexPolling(mine.Handle(), 10);
    EXPECT_TRUE(ReleaseMutex(mine.Handle()));
}
