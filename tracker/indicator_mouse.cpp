#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>

#include "commands.h"
#include "common_controls.h"
#include "indicator.h"
#include "indicator_parts.h"
#include "settings.h"

namespace {

bool hoverStart = false;
bool hoverHide = false;
bool dragging = false;
int leaveTracked = 0;
POINT dragOffset = {0, 0};

// Where the pointer was when the message being handled arose. Reading the pointer
// now instead (GetCursorPos) goes wrong when the thread is late: a press handled
// after the pointer moved on grabbed the strip at the wrong point, and a release
// could then land on the hide button (seen under Wine with a quick drag).
POINT MessagePoint()
{
    DWORD pos = GetMessagePos();
    return {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
}

POINT MessagePointInClient(HWND window)
{
    POINT point = MessagePoint();
    ScreenToClient(window, &point);
    return point;
}

// Keeps the point grabbed at the button press under the cursor.
void FollowCursor(HWND window, POINT cursor)
{
    RECT r = {};
    GetWindowRect(window, &r);
    if (r.left == cursor.x - dragOffset.x && r.top == cursor.y - dragOffset.y)
        return;
    MoveWindow(window, cursor.x - dragOffset.x, cursor.y - dragOffset.y, r.right - r.left, r.bottom - r.top, TRUE);
}

} // namespace

IndicatorMouseState IndicatorMouse()
{
    return {hoverStart, hoverHide, dragging, leaveTracked};
}

void OnLeftButtonDown(HWND window)
{
    dragging = true;
    POINT cursor = MessagePoint();
    SetCapture(window);
    RECT r = {};
    GetWindowRect(window, &r);
    dragOffset = {cursor.x - r.left, cursor.y - r.top};
}

void OnMouseMove(HWND window)
{
    POINT cursor = MessagePoint();
    if (leaveTracked == 0) {
        leaveTracked = 1;
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = window;
        track.dwHoverTime = 500;
        TrackMouseEventOfControls(&track);
    }
    if (dragging) {
        FollowCursor(window, cursor);
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
    // A release may come without the motion before it; the strip still drops
    // where the pointer let go.
    if (dragging)
        FollowCursor(window, MessagePoint());
    dragging = false;
    POINT cursor = MessagePointInClient(window);
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
