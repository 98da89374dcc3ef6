// A stand-in for the hook library with chosen entries missing: it records what
// SetHook was told and passes every hook call on.
#include <windows.h>

namespace {

int setHookCalls = 0;
HHOOK lastHook = nullptr;
HWND lastWindow = nullptr;
int lastType = 0;
int lastExtra = 0;

LRESULT PassOn(int code, WPARAM wParam, LPARAM lParam)
{
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

extern "C" {

#if defined(FAKE_HOOKS_FULL) || defined(FAKE_HOOKS_MOUSE_ONLY)
__declspec(dllexport) void WINAPI SetHook(HHOOK hook, HWND window, int type, int extra)
{
    ++setHookCalls;
    lastHook = hook;
    lastWindow = window;
    lastType = type;
    lastExtra = extra;
}
#endif

#if defined(FAKE_HOOKS_FULL) || defined(FAKE_HOOKS_NO_SETHOOK)
__declspec(dllexport) LRESULT CALLBACK ShellHook(int code, WPARAM wParam, LPARAM lParam)
{
    return PassOn(code, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    return PassOn(code, wParam, lParam);
}
#endif

__declspec(dllexport) LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    return PassOn(code, wParam, lParam);
}

// How often SetHook was called, and with what the last time.
__declspec(dllexport) int WINAPI FakeSetHookCalls(HHOOK* hook, HWND* window, int* type, int* extra)
{
    *hook = lastHook;
    *window = lastWindow;
    *type = lastType;
    *extra = lastExtra;
    return setHookCalls;
}

} // extern "C"
