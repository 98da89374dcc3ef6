#include <windows.h>
#include <commctrl.h>

#include "commands.h"
#include "indicator.h"
#include "indicator_parts.h"
#include "settings.h"

namespace {

bool hoverStart = false;
bool hoverHide = false;
bool dragging = false;
int leaveTracked = 0;
POINT dragOffset = {0, 0};

POINT CursorInClient(HWND window)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    return cursor;
}

} // namespace

IndicatorMouseState IndicatorMouse()
{
    return {hoverStart, hoverHide, dragging, leaveTracked};
}

void OnLeftButtonDown(HWND window)
{
    dragging = true;
    POINT cursor = {};
    GetCursorPos(&cursor);
    SetCapture(window);
    RECT r = {};
    GetWindowRect(window, &r);
    dragOffset = {cursor.x - r.left, cursor.y - r.top};
}

void OnMouseMove(HWND window)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    if (leaveTracked == 0) {
        leaveTracked = 1;
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = window;
        track.dwHoverTime = 500;
        _TrackMouseEvent(&track);
    }
    if (dragging) {
        RECT r = {};
        GetWindowRect(window, &r);
        MoveWindow(window, cursor.x - dragOffset.x, cursor.y - dragOffset.y, r.right - r.left, r.bottom - r.top,
                   TRUE);
        return;
    }
    ScreenToClient(window, &cursor);
    // Each zone lights only its own button, so a fast jump from one button to the
    // other leaves just one lit.
    hoverStart = cursor.x < kBarLeft;
    hoverHide = cursor.x > kHideLeft;
    PostMessageA(window, WM_PAINT, 0, 0);
}

void OnLeftButtonUp(HWND window)
{
    ReleaseCapture();
    dragging = false;
    POINT cursor = CursorInClient(window);
    // The click zones reach one pixel further than the hover zones.
    if (cursor.x <= kBarLeft)
        ToggleTracking();
    else if (cursor.x >= kHideLeft)
        HideIndicator();
    RECT r = {};
    GetWindowRect(window, &r);
    bannerSettings.SetPosition(r.left, r.top);
    bannerSettings.Save();
}

void OnMouseLeave(HWND window)
{
    hoverStart = false;
    hoverHide = false;
    leaveTracked = 0;
    PostMessageA(window, WM_PAINT, 0, 0);
}
