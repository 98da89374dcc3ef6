#include "caption_fit.h"

#include <string>

namespace {

RECT BoundsInParent(HWND control)
{
    RECT bounds = {};
    GetWindowRect(control, &bounds);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

bool HasCheckMark(HWND control)
{
    char className[32] = {};
    GetClassNameA(control, className, sizeof(className));
    if (lstrcmpiA(className, "Button") != 0)
        return false;
    LONG kind = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE ||
           kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

} // namespace

int CaptionWidth(HWND control)
{
    int length = GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(control, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));

    HDC dc = GetDC(control);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    RECT extent = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), length, &extent, DT_CALCRECT | DT_SINGLELINE);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(control, dc);

    int width = extent.right - extent.left;
    if (HasCheckMark(control)) {
        // The mark, the gap after it and the focus frame around the text.
        width += GetSystemMetrics(SM_CXMENUCHECK) + 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    } else {
        char className[32] = {};
        GetClassNameA(control, className, sizeof(className));
        if (lstrcmpiA(className, "Button") == 0)   // a push button's edges
            width += 4 * GetSystemMetrics(SM_CXEDGE) + 4;
        else
            width += 1;
    }
    return width;
}

int WidenToCaption(HWND control, int rightLimit)
{
    RECT bounds = BoundsInParent(control);
    int width = bounds.right - bounds.left;
    int wanted = CaptionWidth(control);
    if (wanted > rightLimit - bounds.left)
        wanted = rightLimit - bounds.left;
    if (wanted <= width)
        return 0;
    SetWindowPos(control, nullptr, 0, 0, wanted, bounds.bottom - bounds.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return wanted - width;
}
