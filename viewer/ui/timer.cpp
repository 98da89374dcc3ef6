#include "timer.h"

namespace ui {

namespace {

const char kTimerClass[] = "KlrTimer";
const UINT_PTR kTimerId = 1;

} // namespace

Timer::~Timer()
{
    if (Handle())
        KillTimer(Handle(), kTimerId);
}

void Timer::SetInterval(UINT milliseconds)
{
    interval_ = milliseconds;
    Restart();
}

void Timer::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    Restart();
}

void Timer::Restart()
{
    if (!Handle()) {
        // A message-only window of its own carries the ticks to this object.
        RegisterOwnClass(kTimerClass, 0, nullptr, nullptr);
        CreateOwn(kTimerClass, 0, 0, "", HWND_MESSAGE, RECT{0, 0, 0, 0}, nullptr);
    }
    KillTimer(Handle(), kTimerId);
    if (enabled_ && interval_ > 0)
        SetTimer(Handle(), kTimerId, interval_, nullptr);
}

LRESULT Timer::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER && wParam == kTimerId) {
        if (onTimer)
            onTimer();
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

} // namespace ui
