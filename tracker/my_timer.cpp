#include "my_timer.h"

MyTimer::MyTimer(int seconds, HWND window, TIMERPROC procedure)
    : window_(window), id_(1), procedure_(procedure)
{
    id_ = SetTimer(window_, id_, static_cast<UINT>(seconds) * 1000u, procedure_);
}
