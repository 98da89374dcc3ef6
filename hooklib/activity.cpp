#include "activity.h"

void NoteForeground()
{
    HWND foreground = GetForegroundWindow();
    if (!foreground || foreground == g_shared.lastForeground)
        return;
    g_shared.lastForeground = foreground;
    PostReport(Report::WindowActivated, foreground);
}

void OnActivated(HWND window)
{
    if (!window)
        return;
    g_shared.lastForeground = window;
    PostReport(Report::WindowActivated, window);
}

void ForgetForeground()
{
    g_shared.lastForeground = nullptr;
}

HWND KeyboardTarget()
{
    HWND foreground = GetForegroundWindow();
    if (!foreground)
        return nullptr;
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info)) {
        if (info.hwndFocus)
            return info.hwndFocus;
        if (info.hwndActive)
            return info.hwndActive;
    }
    return foreground;
}

void OnInput(Report report, HWND window, InputMark& last)
{
    if (!window)
        return;
    HWND root = GetAncestor(window, GA_ROOTOWNER);
    if (!root)
        root = window;
    // Shared between processes without a lock: a lost race costs at most one
    // extra report.
    DWORD now = GetTickCount();
    if (root == last.root && now - last.tick < kInputGapMs)
        return;
    last.root = root;
    last.tick = now;
    PostReport(report, window);
}

void ResetActivity()
{
    g_shared.lastForeground = nullptr;
    g_shared.lastMoused = InputMark{};
    g_shared.lastKeyed = InputMark{};
}
