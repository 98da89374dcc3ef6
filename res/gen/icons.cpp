#include <cmath>

#include "pictures.h"

namespace {

struct IconColours {
    Color top, bottom, rim;
};

IconColours ColoursOf(IconKind kind, bool sixteen)
{
    // The 16-colour forms use plain palette colours, so nothing is dithered.
    switch (kind) {
    case IconKind::Tracking:
        return sixteen ? IconColours{Rgb(0x008000), Rgb(0x008000), Rgb(0x008000)}
                       : IconColours{Rgb(0x5BE89A), Rgb(0x129653), Rgb(0x0B6B3A)};
    case IconKind::Stopped:
        return sixteen ? IconColours{Rgb(0x808080), Rgb(0x808080), Rgb(0x808080)}
                       : IconColours{Rgb(0xA7AFBB), Rgb(0x5E6673), Rgb(0x3E444E)};
    case IconKind::Product:
    default:
        return sixteen ? IconColours{Rgb(0x000080), Rgb(0x000080), Rgb(0x000080)}
                       : IconColours{Rgb(0x5AA2F0), Rgb(0x2462AE), Rgb(0x17437A)};
    }
}

} // namespace

// Drawn afresh at each size (not scaled down), with stroke widths rounded to
// whole pixels so the 16-pixel tray form stays sharp.
Canvas Icon(IconKind kind, int size, bool sixteenColours)
{
    Canvas c(size, size);
    c.SetHardEdges(sixteenColours);
    const float s = float(size);
    const Vec centre{s / 2, s / 2};
    const float radius = s / 2 - 0.5f;
    const IconColours col = ColoursOf(kind, sixteenColours);

    c.Shape([&](Vec p) { return DistDisc(p, centre, radius); },
            [&](int, int y) { return Mix(col.top, col.bottom, y / s); });
    // A darker rim keeps the disc apart from light and dark taskbars alike.
    float rimWidth = std::max(1.0f, std::round(s / 20));
    c.Ring(centre, radius - rimWidth / 2, rimWidth, col.rim);

    const Color white = Rgb(0xFFFFFF);
    if (kind == IconKind::Product) {
        // Three rising activity bars.
        float bw = std::round(s * 0.14f), gap = std::max(1.0f, std::round(s * 0.07f));
        float x = std::round(centre.x - (3 * bw + 2 * gap) / 2), base = std::round(s * 0.74f);
        const float heights[] = {0.22f, 0.36f, 0.5f};
        for (float hgt : heights) {
            c.RoundBox(x, base - std::round(s * hgt), x + bw, base, bw / 4, white);
            x += bw + gap;
        }
        return c;
    }

    // A clock: hour marks where there is room, minute hand up, hour hand to three.
    const float hand = size >= 32 ? std::round(s / 11) : 2.0f;
    if (size >= 24)
        for (int q = 0; q < 4; ++q) {
            if (kind == IconKind::Stopped && (q == 1 || q == 2)) continue;   // under the badge
            float a = q * 1.5707963f, r = radius - s * 0.12f;
            c.Disc({centre.x + r * std::sin(a), centre.y - r * std::cos(a)}, s / 28 + 0.4f,
                   Rgb(0xFFFFFF, 0.8f));
        }
    c.Stroke(centre, {centre.x, centre.y - s * 0.31f}, hand, white);
    c.Stroke(centre, {centre.x + s * 0.22f, centre.y}, hand, white);

    if (kind == IconKind::Stopped) {
        // A red stop badge in the lower right corner, white-edged so it stands
        // out from the grey face; large sizes get a white square inside.
        float b = std::round(s * 0.47f), x0 = s - b, y0 = s - b;
        float border = std::max(1.0f, std::round(s / 24));
        Color red = sixteenColours ? Rgb(0xFF0000) : Rgb(0xE5484D);
        c.RoundBox(x0, y0, s, s, b * 0.2f, white);
        c.RoundBox(x0 + border, y0 + border, s - border, s - border, b * 0.15f, red);
        if (size >= 32) {
            float m = std::round(b * 0.32f);
            c.RoundBox(x0 + m, y0 + m, s - m, s - m, 0.5f, white);
        }
    }
    return c;
}
