// The four exports of klr.dll.
#include <windows.h>

#include "activity.h"
#include "reports.h"
#include "shared_state.h"
#include "window_watch.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        // The library's own hook must not outlive its code in the process
        // that installed it.
        RemoveWindowHook(reserved != nullptr);
    }
    return TRUE;
}

extern "C" {

__declspec(dllexport) BOOL WINAPI SetHook(HHOOK hook, HWND target, int type, int extra)
{
    g_shared.target = target;
    switch (type) {
    case WH_SHELL:
        g_shared.shellHook = hook;
        ResetActivity();
        InstallWindowHook();
        MarkOpenWindows();
        return TRUE;
    case WH_MOUSE:
        g_shared.mouseHook = hook;
        return TRUE;
    case WH_KEYBOARD:
        g_shared.keyboardHook = hook;
        return TRUE;
    default:
        return FALSE;
    }
}

__declspec(dllexport) LRESULT CALLBACK ShellHook(int code, WPARAM wParam, LPARAM lParam)
{
    HWND window = reinterpret_cast<HWND>(wParam);
    switch (code) {
    case HSHELL_WINDOWCREATED:
        OnWindowCreated(window);
        break;
    case HSHELL_WINDOWDESTROYED:
        OnWindowDestroyed(window);
        break;
    case HSHELL_WINDOWACTIVATED:
    case HSHELL_RUDEAPPACTIVATED:
        OnActivated(window);
        break;
    default:
        break;
    }
    return CallNextHookEx(g_shared.shellHook, code, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    // HC_NOREMOVE is a peek: the same message comes again with HC_ACTION.
    if (code == HC_ACTION) {
        NoteForeground();
        const MOUSEHOOKSTRUCT* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        OnInput(Report::WindowMoused, mouse->hwnd, g_shared.lastMoused);
    }
    return CallNextHookEx(g_shared.mouseHook, code, wParam, lParam);
}

__declspec(dllexport) LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        NoteForeground();
        OnInput(Report::WindowKeyboarded, KeyboardTarget(), g_shared.lastKeyed);
    }
    return CallNextHookEx(g_shared.keyboardHook, code, wParam, lParam);
}

} // extern "C"
