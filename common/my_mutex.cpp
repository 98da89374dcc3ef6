#include "my_mutex.h"

#include <cstdio>

MyMutex::MyMutex(int number, bool initialOwner)
{
    std::snprintf(name_, sizeof(name_), "%d", number);
    handle_ = CreateMutexA(nullptr, initialOwner ? TRUE : FALSE, name_);
}

MyMutex::~MyMutex()
{
    Release();
}

DWORD MyMutex::Wait()
{
    return WaitForSingleObject(handle_, 100);
}

BOOL MyMutex::Release()
{
    return ReleaseMutex(handle_);
}

void WaitForMutexPolling(HANDLE mutex, DWORD stepMs)
{
    while (WaitForSingleObject(mutex, stepMs) == WAIT_TIMEOUT) {
    }
}
