#include "window_watch.h"

#include "activity.h"
#include "reports.h"
#include "shared_state.h"

namespace {

// A property on the window itself remembers what the tracker was told, so it
// is found in whichever process the next event is seen.
const char kStateProp[] = "KlrWindowState";
const UINT_PTR kPending = 1;
const UINT_PTR kAnnounced = 2;

UINT_PTR StateOf(HWND window)
{
    return reinterpret_cast<UINT_PTR>(GetPropA(window, kStateProp));
}

void SetState(HWND window, UINT_PTR state)
{
    SetPropA(window, kStateProp, reinterpret_cast<HANDLE>(state));
}

bool IsChildWindow(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) != 0;
}

bool IsUnownedTopLevel(HWND window)
{
    return !IsChildWindow(window) && !GetWindow(window, GW_OWNER);
}

bool IsVisibleWithTitle(HWND window)
{
    return IsWindowVisible(window) && GetWindowTextLengthA(window) > 0;
}

void AnnounceWhenReady(HWND window)
{
    if (StateOf(window) != kPending || !IsVisibleWithTitle(window))
        return;
    SetState(window, kAnnounced);
    // The tracker gives the new window the foreground mark.
    ForgetForeground();
    PostReport(Report::NewWindowCreated, window);
}

// Runs after every message sent to any window of the desktop: the common
// cases leave at once, before any lookup of the window's property.
LRESULT CALLBACK WindowHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        switch (call->message) {
        case WM_WINDOWPOSCHANGED:
            if ((reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW) &&
                !IsChildWindow(call->hwnd))
                AnnounceWhenReady(call->hwnd);
            break;
        case WM_SETTEXT:
            if (!IsChildWindow(call->hwnd))
                AnnounceWhenReady(call->hwnd);
            break;
        case WM_ACTIVATE:
            // Wine sends no shell activation notices.
            if (LOWORD(call->wParam) != WA_INACTIVE)
                NoteForeground();
            break;
        default:
            break;
        }
    }
    return CallNextHookEx(g_shared.windowHook, code, wParam, lParam);
}

} // namespace

void OnWindowCreated(HWND window)
{
    if (!window || !IsUnownedTopLevel(window))
        return;
    SetState(window, kPending);
    AnnounceWhenReady(window);
}

void OnWindowDestroyed(HWND window)
{
    if (!window)
        return;
    UINT_PTR state = StateOf(window);
    if (state)
        RemovePropA(window, kStateProp);
    bool counted = state == kAnnounced ||
                   (!state && IsUnownedTopLevel(window) && IsVisibleWithTitle(window));
    if (!counted)
        return;
    // Sent, not posted: the tracker reads the window's process and title.
    SendReport(Report::WindowDestroyed, window);
    ForgetForeground();
}

void InstallWindowHook()
{
    RemoveWindowHook(false);
    g_shared.windowHook = SetWindowsHookExA(WH_CALLWNDPROCRET, WindowHook, g_module, 0);
    g_shared.windowHookProcess = GetCurrentProcessId();
}

void RemoveWindowHook(bool processEnding)
{
    if (!g_shared.windowHook || g_shared.windowHookProcess != GetCurrentProcessId())
        return;
    // At process end the system removes the hook itself.
    if (!processEnding)
        UnhookWindowsHookEx(g_shared.windowHook);
    g_shared.windowHook = nullptr;
    g_shared.windowHookProcess = 0;
}
