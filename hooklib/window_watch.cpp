#include "window_watch.h"

#include "activity.h"
#include "reports.h"
#include "shared_state.h"

namespace {

// Properties on the window itself hold the tracker window of the run that was
// told of it, or that may have counted it on its own at start, so they are
// found in whichever process the next event is seen; a tracker started afresh
// (another window) is told again.
const char kAnnouncedProp[] = "KlrWindowState";
const char kOpenAtStartProp[] = "KlrOpenAtStart";

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

bool Marked(HWND window, const char* prop, HWND target)
{
    return GetPropA(window, prop) == reinterpret_cast<HANDLE>(target);
}

// Reads the text the system keeps for a window of another process: sends no
// message, so a busy or hung program does not hold up the tracker's start.
bool HasTitle(HWND window)
{
    char title[2] = {};
    return GetWindowTextA(window, title, sizeof(title)) > 0;
}

BOOL CALLBACK MarkIfOpen(HWND window, LPARAM target)
{
    if (IsUnownedTopLevel(window) && IsWindowVisible(window) && HasTitle(window))
        SetPropA(window, kOpenAtStartProp, reinterpret_cast<HANDLE>(target));
    return TRUE;
}

// Whenever it was created: the tracker counts a window from the moment it is
// visible with a title, and hears of it once per run.
void AnnounceWhenReady(HWND window)
{
    HWND target = g_shared.target;
    if (!target || !IsUnownedTopLevel(window) || !IsVisibleWithTitle(window) ||
        Marked(window, kAnnouncedProp, target))
        return;
    SetPropA(window, kAnnouncedProp, reinterpret_cast<HANDLE>(target));
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
    if (window)
        AnnounceWhenReady(window);
}

void OnWindowDestroyed(HWND window)
{
    if (!window || !IsUnownedTopLevel(window))
        return;
    HWND target = g_shared.target;
    bool told = target && (Marked(window, kAnnouncedProp, target) || Marked(window, kOpenAtStartProp, target));
    RemovePropA(window, kAnnouncedProp);
    RemovePropA(window, kOpenAtStartProp);
    // Hidden helper windows, never shown with a title, go unreported.
    if (!told)
        return;
    // Sent, not posted: the tracker may read the window's process and title.
    SendReport(Report::WindowDestroyed, window);
    ForgetForeground();
}

void MarkOpenWindows()
{
    if (g_shared.target)
        EnumWindows(MarkIfOpen, reinterpret_cast<LPARAM>(g_shared.target));
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
