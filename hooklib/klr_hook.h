#pragma once
#include <windows.h>

// What the tracker and klr.dll agree on. The tracker finds the four exports
// by name, installs each hook procedure itself with SetWindowsHookExA and then
// hands the hook handle and its window to SetHook.

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
