// The period navigator's pictures: Day, Week, Month, Year, All years, Custom
// and Refresh, each at rest, under the pointer and pressed, 32 x 32.
#include <cmath>
#include <functional>

#include "font.h"
#include "pictures.h"
#include "strips.h"

namespace {

const float kPi = 3.14159265f;
const Color kInk = Rgb(0x39404D);
const Color kHeader = Rgb(0xE0503F);
const Color kCellOff = Rgb(0xCCD3DE);
const Color kBlue = Rgb(0x2F7DE1);
const Color kOrange = Rgb(0xF08A24);

// A tear-off calendar page: outline, paper, a red band with two rings.
void Page(Canvas& c, float x0, float y0, float x1, float y1)
{
    c.RoundBox(x0, y0, x1, y1, 2.5f, kInk);
    c.Shape([=](Vec p) { return DistRoundBox(p, x0 + 1, y0 + 1, x1 - 1, y1 - 1, 1.6f); },
            [=](int, int y) { return Mix(Rgb(0xFFFFFF), Rgb(0xE6EAF0), (y - y0) / (y1 - y0)); });
    c.RoundBox(x0 + 1, y0 + 1, x1 - 1, y0 + 7, 1.6f, kHeader);
    c.RoundBox(x0 + 1, y0 + 4, x1 - 1, y0 + 7, 0.0f, kHeader);
    for (float rx : {x0 + 6.0f, x1 - 8.0f}) c.RoundBox(rx, y0 - 2.5f, rx + 2.0f, y0 + 3.0f, 1.0f, Rgb(0x6B7280));
}

// Day cells of a month page: 7 columns, 4 rows of 2 x 2 pixels.
void Cells(Canvas& c, int x0, int y0, const std::function<Color(int col, int row)>& colour)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 7; ++col) c.FillRect(x0 + col * 3, y0 + row * 3, 2, 2, colour(col, row));
}

// Month blocks of a year page: 4 columns, 3 rows.
void Months(Canvas& c, int x0, int y0, int w, int h, const Color& colour)
{
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            c.FillRect(x0 + col * (w + 1), y0 + row * (h + 1), w, h,
                       (row + col) % 2 ? colour : Lighter(colour, 0.25f));
}

Canvas Day()
{
    Canvas c(32, 32);
    Page(c, 4, 5, 28, 29);
    DrawPixelText(c, 13, 14, "1", kInk, 2);
    return c;
}

Canvas Week()
{
    Canvas c(32, 32);
    Page(c, 4, 5, 28, 29);
    c.RoundBox(5.0f, 17.0f, 27.0f, 21.0f, 1.0f, Rgb(0xBFD6F6));
    Cells(c, 6, 15, [](int, int row) { return row == 1 ? kBlue : kCellOff; });
    return c;
}

Canvas Month()
{
    Canvas c(32, 32);
    Page(c, 4, 5, 28, 29);
    Cells(c, 6, 15, [](int, int) { return kBlue; });
    return c;
}

Canvas Year()
{
    Canvas c(32, 32);
    Page(c, 4, 5, 28, 29);
    Months(c, 6, 15, 4, 3, kBlue);
    return c;
}

Canvas AllYears()
{
    Canvas c(32, 32);
    Page(c, 9, 3, 30, 22);
    Page(c, 6, 6, 27, 25);
    Page(c, 2, 9, 24, 30);
    Months(c, 4, 18, 4, 3, kBlue);
    return c;
}

Canvas Custom()
{
    Canvas c(32, 32);
    Page(c, 4, 5, 28, 29);
    // A range from the middle of one week to the middle of another.
    Cells(c, 6, 15, [](int col, int row) {
        int day = row * 7 + col;
        return day >= 4 && day <= 16 ? kOrange : kCellOff;
    });
    return c;
}

// Distance to an arc of the circle from angle a0 to a1 (degrees, clockwise from the top).
float DistArc(Vec p, Vec centre, float r, float a0, float a1)
{
    Vec d = p - centre;
    float deg = std::atan2(d.x, -d.y) * 180.0f / kPi;
    if (deg < 0) deg += 360.0f;
    if (deg >= a0 && deg <= a1) return std::fabs(Length(d) - r);
    auto at = [&](float a) {
        float rad = a * kPi / 180.0f;
        return Vec{centre.x + r * std::sin(rad), centre.y - r * std::cos(rad)};
    };
    return std::min(Length(p - at(a0)), Length(p - at(a1)));
}

// An arrow head at angle `a` on the circle, pointing clockwise.
std::vector<Vec> Head(Vec centre, float r, float a)
{
    auto at = [&](float radius, float deg) {
        float rad = deg * kPi / 180.0f;
        return Vec{centre.x + radius * std::sin(rad), centre.y - radius * std::cos(rad)};
    };
    std::vector<Vec> pts{at(r + 4.2f, a), at(r, a + 32.0f), at(r - 4.2f, a)};
    float area = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        Vec p = pts[i], q = pts[(i + 1) % pts.size()];
        area += p.x * q.y - q.x * p.y;
    }
    if (area < 0) std::swap(pts[0], pts[2]);   // clockwise on screen
    return pts;
}

Canvas Refresh()
{
    Canvas c(32, 32);
    const Vec centre{16, 16};
    const float r = 10;
    const Color green = Rgb(0x1E9E5A), light = Rgb(0x5FD391);
    for (float start : {20.0f, 200.0f}) {
        float end = start + 120.0f;
        c.Shape([&](Vec p) { return DistArc(p, centre, r, start, end) - 2.2f; },
                [&](int, int y) { return Mix(light, green, y / 32.0f); });
        std::vector<Vec> head = Head(centre, r, end);
        c.ShapeColor([&](Vec p) { return DistConvex(p, head); }, green);
    }
    return c;
}

Canvas Hover(const Canvas& icon)
{
    Canvas c(32, 32);
    c.RoundBox(0.5f, 0.5f, 31.5f, 31.5f, 5.0f, Rgb(0xFFFFFF, 0.38f));
    c.ShapeColor([](Vec p) { return std::fabs(DistRoundBox(p, 0.5f, 0.5f, 31.5f, 31.5f, 5.0f)) - 0.5f; },
                 Rgb(0xFFFFFF, 0.9f));
    PasteTinted(c, icon, 0, -1, Rgb(0xFFFFFF), 0.12f);
    return c;
}

Canvas Pressed(const Canvas& icon)
{
    Canvas c(32, 32);
    c.RoundBox(0.5f, 0.5f, 31.5f, 31.5f, 5.0f, Rgb(0x2B2A26, 0.35f));
    c.ShapeColor([](Vec p) { return std::fabs(DistRoundBox(p, 0.5f, 0.5f, 31.5f, 31.5f, 5.0f)) - 0.5f; },
                 Rgb(0x1C1B18, 0.7f));
    PasteTinted(c, icon, 1, 1, Rgb(0x000000), 0.15f);
    return c;
}

} // namespace

Canvas NavigatorStrip()
{
    const std::vector<Canvas> icons{Day(), Week(), Month(), Year(), AllYears(), Custom(), Refresh()};
    const Color panel = Rgb(0xACA899);   // the navigator's background
    std::vector<Canvas> all;
    for (const Canvas& icon : icons) all.push_back(Flatten(icon, panel));
    for (const Canvas& icon : icons) all.push_back(Flatten(Hover(icon), panel));
    for (const Canvas& icon : icons) all.push_back(Flatten(Pressed(icon), panel));
    return Strip(all);
}
