#pragma once
#include <windows.h>

// A timer of whole seconds on a window (id 1); it ends with its window.
class MyTimer {
public:
    MyTimer(int seconds, HWND window, TIMERPROC procedure);

    UINT_PTR Id() const { return id_; }

private:
    HWND window_;
    UINT_PTR id_;
    TIMERPROC procedure_;
};
