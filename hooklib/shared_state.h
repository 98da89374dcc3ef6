#pragma once
#include <windows.h>

// The last window that got input of one kind, and when it was reported.
struct InputMark {
    HWND root;
    DWORD tick;
};

// State that every process the library is loaded into sees alike: a hook
// procedure runs inside the application that got the event, and must find
// the tracker's window and what was reported last from any process.
struct SharedState {
    HWND target;             // the window given to SetHook
    HHOOK shellHook;
    HHOOK mouseHook;
    HHOOK keyboardHook;
    HHOOK windowHook;        // installed by the library itself (window_watch.h)
    DWORD windowHookProcess; // the process that installed it
    HWND lastForeground;     // the foreground window last reported
    InputMark lastMoused;
    InputMark lastKeyed;
};

extern SharedState g_shared;

// This process's handle of the library (each process has its own).
extern HINSTANCE g_module;
