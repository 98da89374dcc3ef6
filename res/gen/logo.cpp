#include <cmath>

#include "font.h"
#include "pictures.h"

namespace {

const float kPi = 3.14159265f;

Vec OnCircle(Vec centre, float radius, float degreesFromTop)
{
    float a = (degreesFromTop - 90.0f) * kPi / 180.0f;
    return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

// An arc from the top, clockwise, with round ends.
void ArcStroke(Canvas& c, Vec centre, float radius, float sweepDeg, float width, const Color& col)
{
    c.ShapeColor(
        [=](Vec p) {
            Vec d = p - centre;
            float deg = std::atan2(d.x, -d.y) * 180.0f / kPi;   // 0 at the top, clockwise
            if (deg < 0) deg += 360.0f;
            if (deg <= sweepDeg) return std::fabs(Length(d) - radius) - width / 2;
            float toStart = Length(p - OnCircle(centre, radius, 0));
            float toEnd = Length(p - OnCircle(centre, radius, sweepDeg));
            return std::min(toStart, toEnd) - width / 2;
        },
        col);
}

void Clock(Canvas& c, Vec centre, float radius)
{
    c.Disc(centre, radius + 10, Rgb(0x2A9D8F, 0.10f));   // soft halo
    c.Disc(centre, radius - 4, Rgb(0x0F1B2D, 0.55f));
    c.Ring(centre, radius, 7, Rgb(0x2B4566));
    ArcStroke(c, centre, radius, 250, 7, Rgb(0x3DDC84));
    for (int h = 0; h < 12; ++h) {
        float inner = h % 3 == 0 ? radius - 17 : radius - 13;
        c.Stroke(OnCircle(centre, inner, h * 30.0f), OnCircle(centre, radius - 9, h * 30.0f),
                 h % 3 == 0 ? 3.0f : 1.6f, Rgb(0xDCE6F2, 0.85f));
    }
    c.Stroke(centre, OnCircle(centre, radius - 20, 300), 4.5f, Rgb(0xFFFFFF));   // hour hand
    c.Stroke(centre, OnCircle(centre, radius - 12, 60), 3.0f, Rgb(0xFFFFFF));    // minute hand
    c.Disc(centre, 4.5f, Rgb(0x3DDC84));
}

} // namespace

Canvas Logo()
{
    const int w = 400, h = 137;
    Canvas c(w, h);
    c.VerticalGradient(0, 0, w, h, Rgb(0x1B2F4B), Rgb(0x0E1828));
    // A wide glow from the left lifts the clock off the background.
    c.Shape([](Vec p) { return DistDisc(p, {70, 68}, 150) - 0.0f; },
            [](int x, int y) {
                float d = Length(Vec{x - 70.0f, y - 68.0f}) / 150.0f;
                return Rgb(0x24507A, 0.45f * (1 - d) * (1 - d));
            });
    c.FillRect(0, h - 3, w, 3, Rgb(0x3DDC84));   // accent line at the foot

    Clock(c, {72, 66}, 46);

    const float cap = 40, left = 146, baseline = 74;
    DrawStrokeText(c, left, baseline, "Kaltrow", cap, 6.0f,
                   [](int, int y) { return Mix(Rgb(0xFFFFFF), Rgb(0xC9DAEE), (y - 30) / 44.0f); });

    // The indicator's activity bar in small, as the product's signature.
    float textW = StrokeTextWidth("Kaltrow", cap);
    float cell = textW / 20.0f;
    for (int i = 0; i < 20; ++i) {
        float x0 = left + i * cell + 1, x1 = left + (i + 1) * cell - 2;
        Color col = i < 14 ? Mix(Rgb(0x3DDC84), Rgb(0x2A9D8F), i / 14.0f) : Rgb(0x2B4566);
        c.RoundBox(x0, 88, x1, 98, 1.5f, col);
    }
    DrawPixelText(c, int(left), 108, "ACTIVITY INDICATOR", Rgb(0x8FB3D9), 1, 2);
    return c;
}
