#pragma once
#include <windows.h>

// What the tracker and klr.dll agree on. The tracker finds the four exports
// by name, installs each hook procedure itself with SetWindowsHookExA and then
// hands the hook handle and its window to SetHook.
//
// What each hook is there for:
// - ShellHook (WH_SHELL): the system's notices of top-level windows created
//   and destroyed, and of activations. Wine gives the creation while the
//   window is still hidden, and no activations without a window manager.
// - MouseHook (WH_MOUSE), KeyboardHook (WH_KEYBOARD): input, and a look at the
//   foreground window with each input, for systems that give no activations.
// - A WH_CALLWNDPROCRET hook the library installs itself, from the tracker's
//   process, when SetHook gets the shell hook: it sees a window shown, titled
//   or activated inside the window's own process. Wine's out-of-context
//   WinEvents report creation only, so this is where shows and titles are seen.
//   It runs after every message sent in every process and returns at once
//   for all but those three messages.
//
// Programs of the other bitness: a global hook cannot be loaded into them, so
// on 64-bit Windows the system runs each of the four hooks for them on the
// thread that installed it (the tracker's UI thread for the three above), which
// must keep pumping messages; each message those programs send then waits for
// that thread. The procedures name windows by handle and the keyboard target
// from the foreground window's thread, never from the calling thread's focus,
// so the reports stay right there. Use the build of the system's own bitness:
// the win64 build on 64-bit Windows.

// SetHook(hook handle just installed, window to report to, hook type, extra value).
// Its result is not used.
typedef BOOL(WINAPI* SetHookProc)(HHOOK hook, HWND target, int type, int extra);

inline constexpr const char kSetHookName[] = "SetHook";
inline constexpr const char kShellHookName[] = "ShellHook";
inline constexpr const char kMouseHookName[] = "MouseHook";
inline constexpr const char kKeyboardHookName[] = "KeyboardHook";

// Registered window messages; the long parameter is the window concerned.
inline constexpr const char kNewWindowCreatedMsg[] = "NEW_WINDOW_CREATED";
inline constexpr const char kWindowActivatedMsg[] = "WINDOW_ACTIVATED";
inline constexpr const char kWindowDestroyedMsg[] = "WINDOW_DESTROYED";
inline constexpr const char kWindowMousedMsg[] = "WINDOW_MOUSED";
inline constexpr const char kWindowKeyboradedMsg[] = "WINDOW_KEYBORADED";
inline constexpr const char kWindowRedrawnMsg[] = "WINDOW_REDRAWN";
