#pragma once
#include <windows.h>

// A named mutex whose name is the decimal text of a number ("1" guards the
// statistics files). Waits are short and repeated by the caller.
class MyMutex {
public:
    MyMutex(int number, bool initialOwner);
    ~MyMutex();
    MyMutex(const MyMutex&) = delete;
    MyMutex& operator=(const MyMutex&) = delete;

    DWORD Wait();      // one timed wait of 100 ms
    BOOL Release();
    HANDLE Handle() const { return handle_; }
    const char* Name() const { return name_; }

private:
    HANDLE handle_ = nullptr;
    char name_[12] = {};
};

// Waits in steps of `stepMs` while the wait times out. Taken, abandoned (the
// mutex is then owned all the same) and failed waits all end the loop.
void WaitForMutexPolling(HANDLE mutex, DWORD stepMs);
