#include "commands.h"
#include "indicator.h"
#include "indicator_parts.h"
#include "records.h"
#include "resource.h"
#include "worker.h"

// Plain stand-ins for skin pictures that failed to load: the strip stays usable.
namespace {

const COLORREF kFaceColour = RGB(46, 52, 64);
const COLORREF kHotColour = RGB(76, 86, 106);
const COLORREF kMarkColour = RGB(236, 239, 244);
const COLORREF kLitColour = RGB(120, 200, 90);
const COLORREF kUnlitColour = RGB(30, 60, 30);

void Fill(HDC dc, int x, int y, int width, int height, COLORREF colour)
{
    RECT r = {x, y, x + width, y + height};
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Triangle(HDC dc, int x, int y, int width, int height)
{
    int cx = x + width / 2;
    int cy = y + height / 2;
    POINT points[3] = {{cx - 3, cy - 5}, {cx - 3, cy + 5}, {cx + 4, cy}};
    HBRUSH brush = CreateSolidBrush(kMarkColour);
    HPEN pen = CreatePen(PS_SOLID, 1, kMarkColour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polygon(dc, points, 3);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void PlainStart(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kFaceColour);
    Triangle(dc, x, y, w, h);
}

void PlainStartHot(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kHotColour);
    Triangle(dc, x, y, w, h);
}

void PlainStop(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kFaceColour);
    Fill(dc, x + w / 2 - 4, y + h / 2 - 4, 8, 8, kMarkColour);
}

void PlainStopHot(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kHotColour);
    Fill(dc, x + w / 2 - 4, y + h / 2 - 4, 8, 8, kMarkColour);
}

void PlainHide(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kFaceColour);
    Fill(dc, x + w / 2 - 5, y + h - 6, 10, 2, kMarkColour);
}

void PlainHideHot(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kHotColour);
    Fill(dc, x + w / 2 - 5, y + h - 6, 10, 2, kMarkColour);
}

void PlainStopped(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kFaceColour);
    Fill(dc, x + 2, y + h / 2 - 1, w - 4, 2, kHotColour);
}

void PlainLitCell(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kFaceColour);
    Fill(dc, x + 1, y + 3, w - 2, h - 6, kLitColour);
}

void PlainUnlitCell(HDC dc, int x, int y, int w, int h)
{
    Fill(dc, x, y, w, h, kFaceColour);
    Fill(dc, x + 1, y + 3, w - 2, h - 6, kUnlitColour);
}

} // namespace

IndicatorSkins::IndicatorSkins()
    : bar(6, kFaceHeight, "Skins\\ind_set.bmp", "Skins\\ind_clr.bmp", PlainLitCell, PlainUnlitCell),
      start(19, kFaceHeight, "Skins\\start.bmp", PlainStart),
      startHot(19, kFaceHeight, "Skins\\start_act.bmp", PlainStartHot),
      stop(19, kFaceHeight, "Skins\\stop.bmp", PlainStop),
      stopHot(19, kFaceHeight, "Skins\\stop_act.bmp", PlainStopHot),
      hide(20, kFaceHeight, "Skins\\hide.bmp", PlainHide),
      hideHot(20, kFaceHeight, "Skins\\hide_act.bmp", PlainHideHot),
      stopped(120, kFaceHeight, "Skins\\stoped.bmp", PlainStopped)
{
}

void UpdateActivityTip(IndicatorObjects& parts)
{
    if (!parts.toolTip.Handle())
        return;
    std::string text;
    {
        ListsGuard lock;
        text = activityText;
    }
    parts.toolTip.UpdateTipText(("Working activity during the day: " + text + "%").c_str(), parts.activityToolId);
}

void PaintFace(HWND window, IndicatorObjects& parts)
{
    unsigned percent;
    std::string text;
    {
        ListsGuard lock;
        percent = activityPercent;
        text = activityText;
    }
    UpdateActivityTip(parts);

    IndicatorMouseState mouse = IndicatorMouse();
    const IndicatorSkins& skins = parts.skins;
    bool stopped = trackingStopped;
    // Erase what was uncovered now, so the default processing does not erase it
    // again over the face.
    RECT unused;
    GetUpdateRect(window, &unused, TRUE);
    HDC dc = GetWindowDC(window);
    if (!stopped) {
        (mouse.hoverStart ? skins.stopHot : skins.stop).Draw(0, 0, dc);
        skins.bar.Draw(kBarLeft, 0, percent, dc);
    } else {
        (mouse.hoverStart ? skins.startHot : skins.start).Draw(0, 0, dc);
        skins.stopped.Draw(kBarLeft, 0, dc);
    }
    (mouse.hoverHide ? skins.hideHot : skins.hide).Draw(kHideLeft, 0, dc);
    ReleaseDC(window, dc);

    indicatorDialog.ModifyTrayIcon(stopped ? IDI_STOPPED : IDI_TRACKING, TrayTip(stopped, text).c_str());
}
