#pragma once
#include <windows.h>

#include <string>

// Real mouse and keyboard input through the X server the Wine programs run
// on: xdotool, a Linux program, is started from this Windows process.
//
// Wine starts a Unix program given by its Unix path, but returns no process
// handle and does not connect it to pipes. So every call runs
//   /bin/sh -c "/usr/bin/xdotool ARGS; echo $? > MARKER.tmp; mv MARKER.tmp MARKER"
// and waits for the marker file to appear, which also gives xdotool's exit
// code. Screen coordinates are X's: Wine windows under Xvfb (no window
// manager) sit at their Windows screen coordinates.

// True when this process runs under Wine with xdotool at /usr/bin/xdotool.
bool XInputAvailable();

// Runs a /bin/sh script; true when it ended with exit code 0 within `timeoutMs`.
bool RunUnixShell(const std::string& script, DWORD timeoutMs = 10000);

// Runs xdotool with `args`, a shell word list (quote with ShellQuote);
// true when it ended with exit code 0 within `timeoutMs`.
bool RunXdotool(const std::string& args, DWORD timeoutMs = 10000);

// A word for /bin/sh that stands for `text` exactly.
std::string ShellQuote(const std::string& text);

bool MouseMoveTo(int x, int y);
bool Click(int button = 1);                       // at the pointer
bool TypeText(const std::string& text);           // to the focused window
bool PressKey(const std::string& keysym);         // e.g. "Return", "alt+F4"

// Clicks into the middle of the window's client area until its top-level
// window is the foreground window and stays so; false on timeout.
bool ActivateWindow(HWND window, DWORD timeoutMs = 5000);

// The middle of the window's client area in screen coordinates.
POINT ClientCentre(HWND window);
