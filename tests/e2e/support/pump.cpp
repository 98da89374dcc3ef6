#include "pump.h"

namespace {

void DispatchAll()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

DWORD Remaining(DWORD start, DWORD timeoutMs)
{
    DWORD spent = GetTickCount() - start;
    return spent >= timeoutMs ? 0 : timeoutMs - spent;
}

} // namespace

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        DispatchAll();
        if (done())
            return true;
        DWORD left = Remaining(start, timeoutMs);
        if (left == 0)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left < 10 ? left : 10, QS_ALLINPUT);
    }
}

bool WaitPumping(HANDLE object, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        DispatchAll();
        DWORD left = Remaining(start, timeoutMs);
        DWORD r = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1 || Remaining(start, timeoutMs) == 0)
            return false;
    }
}
