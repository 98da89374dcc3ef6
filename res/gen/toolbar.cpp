// The viewer's tool-bar and menu pictures, drawn on a 32-unit grid and
// scaled to the size asked for: New 0, Open 1, Save 2, Add 3, Settings 4,
// Delete 5, Applications 6, Total 7.
#include <cmath>

#include "pictures.h"
#include "strips.h"

namespace {

const float kPi = 3.14159265f;
const Color kInk = Rgb(0x39404D);

// Drawing in grid units; k is pixels per unit. Lines never get thinner than a pixel.
struct Pen {
    Canvas& c;
    float k;
    float W(float w) const { return std::max(1.0f, w * k); }
    Vec P(float x, float y) const { return {x * k, y * k}; }
    void Box(float x0, float y0, float x1, float y1, float r, const Color& col) const
    {
        c.RoundBox(x0 * k, y0 * k, x1 * k, y1 * k, r * k, col);
    }
    // A box with a one-unit outline in `edge`.
    void Framed(float x0, float y0, float x1, float y1, float r, const Color& fill, const Color& edge) const
    {
        c.RoundBox(x0 * k, y0 * k, x1 * k, y1 * k, r * k, edge);
        float e = W(1.0f);
        c.RoundBox(x0 * k + e, y0 * k + e, x1 * k - e, y1 * k - e, std::max(0.0f, r * k - e), fill);
    }
    void Line(float x0, float y0, float x1, float y1, float w, const Color& col) const
    {
        c.Stroke(P(x0, y0), P(x1, y1), W(w), col);
    }
    void Disc(float x, float y, float r, const Color& col) const { c.Disc(P(x, y), r * k, col); }
    void Poly(std::vector<Vec> pts, const Color& col) const
    {
        for (Vec& p : pts) p = P(p.x, p.y);
        c.ShapeColor([&](Vec p) { return DistConvex(p, pts); }, col);
    }
};

// An application window: a frame with a blue title bar.
void AppWindow(const Pen& p)
{
    p.Framed(2, 4, 25, 24, 2, Rgb(0xFFFFFF), kInk);
    p.Box(3, 5, 24, 10, 1, Rgb(0x3A78D8));
    p.Line(6, 14, 20, 14, 1.6f, Rgb(0xB7C0CC));
    p.Line(6, 18, 16, 18, 1.6f, Rgb(0xB7C0CC));
}

void Badge(const Pen& p, const Color& col)
{
    p.Disc(23, 23, 8, Rgb(0xFFFFFF));
    p.Disc(23, 23, 7, col);
}

Canvas New(int size)
{
    Canvas c(size, size);
    Pen p{c, size / 32.0f};
    p.Poly({{7, 2}, {19, 2}, {26, 9}, {26, 30}, {7, 30}}, kInk);
    p.Poly({{8.2f, 3.2f}, {18.5f, 3.2f}, {24.8f, 9.5f}, {24.8f, 28.8f}, {8.2f, 28.8f}}, Rgb(0xFFFFFF));
    p.Poly({{18.5f, 3.2f}, {24.8f, 9.5f}, {18.5f, 9.5f}}, Rgb(0xC9D1DC));
    p.Line(11, 15, 22, 15, 1.4f, Rgb(0xC9D1DC));
    p.Line(11, 19, 22, 19, 1.4f, Rgb(0xC9D1DC));
    p.Line(11, 23, 18, 23, 1.4f, Rgb(0xC9D1DC));
    return c;
}

Canvas Open(int size)
{
    Canvas c(size, size);
    Pen p{c, size / 32.0f};
    p.Box(2, 5, 13, 11, 2, Rgb(0xB7862B));
    p.Box(2, 8, 26, 27, 2, Rgb(0xC99A36));
    p.Poly({{7, 13}, {30, 13}, {25, 27}, {2, 27}}, Rgb(0xF5C451));
    p.Line(7.5f, 13.5f, 29.5f, 13.5f, 1.0f, Rgb(0xFBE29B));
    return c;
}

Canvas Save(int size)
{
    Canvas c(size, size);
    Pen p{c, size / 32.0f};
    p.Box(3, 3, 29, 29, 3, Rgb(0x234E8F));
    p.Box(4, 4, 28, 28, 2.4f, Rgb(0x3468B8));
    p.Box(9, 4, 23, 13, 1, Rgb(0xC5CDD8));
    p.Box(18, 5.5f, 21, 11.5f, 0.5f, Rgb(0x3468B8));
    p.Box(7, 17, 25, 28, 1.2f, Rgb(0xFFFFFF));
    p.Line(10, 21, 22, 21, 1.2f, Rgb(0xB7C0CC));
    p.Line(10, 24.5f, 22, 24.5f, 1.2f, Rgb(0xB7C0CC));
    return c;
}

Canvas Add(int size)
{
    Canvas c(size, size);
    Pen p{c, size / 32.0f};
    AppWindow(p);
    Badge(p, Rgb(0x23A55A));
    p.Line(23, 19, 23, 27, 2.4f, Rgb(0xFFFFFF));
    p.Line(19, 23, 27, 23, 2.4f, Rgb(0xFFFFFF));
    return c;
}

Canvas Settings(int size)
{
    Canvas c(size, size);
    Pen p{c, size / 32.0f};
    const Color steel = Rgb(0x6B7584);
    for (int i = 0; i < 8; ++i) {
        float a = i * kPi / 4;
        float x = 16 + 10.5f * std::sin(a), y = 16 - 10.5f * std::cos(a);
        p.Line(16, 16, x, y, 5.0f, steel);
    }
    p.Disc(16, 16, 10, steel);
    p.Disc(16, 16, 8.5f, Rgb(0x8A94A3));
    p.Disc(16, 16, 4, Rgb(0xE6EAF0));
    return c;
}

Canvas Delete(int size)
{
    Canvas c(size, size);
    Pen p{c, size / 32.0f};
    AppWindow(p);
    Badge(p, Rgb(0xD93A35));
    p.Line(20, 20, 26, 26, 2.4f, Rgb(0xFFFFFF));
    p.Line(26, 20, 20, 26, 2.4f, Rgb(0xFFFFFF));
    return c;
}

// The application list: rows with an icon and a name.
Canvas Applications(int size)
{
    Canvas c(size, size);
    Pen p{c, size / 32.0f};
    p.Framed(2, 3, 30, 29, 2, Rgb(0xFFFFFF), kInk);
    const Color icons[] = {Rgb(0x3A78D8), Rgb(0x23A55A), Rgb(0xF08A24)};
    for (int i = 0; i < 3; ++i) {
        float y = 7 + i * 7.0f;
        p.Box(6, y, 11, y + 5, 1, icons[i]);
        p.Line(14, y + 2.5f, i == 1 ? 22 : 26, y + 2.5f, 1.8f, Rgb(0x9AA4B2));
    }
    return c;
}

// The period list: rows with usage bars in their frames.
Canvas Total(int size)
{
    Canvas c(size, size);
    Pen p{c, size / 32.0f};
    p.Framed(2, 3, 30, 29, 2, Rgb(0xFFFFFF), kInk);
    const float lengths[] = {14, 20, 9};
    for (int i = 0; i < 3; ++i) {
        float y = 7 + i * 7.0f;
        p.Framed(5, y, 27, y + 5, 0.5f, Rgb(0xFFFFFF), Rgb(0x808080));
        p.Box(6.5f, y + 1.5f, 6.5f + lengths[i], y + 3.5f, 0.3f, Rgb(0x2F7DE1));
    }
    return c;
}

} // namespace

Canvas ToolbarStrip(int size, int background)
{
    const std::vector<Canvas> icons{New(size),    Open(size),   Save(size),         Add(size),
                                    Settings(size), Delete(size), Applications(size), Total(size)};
    std::vector<Canvas> flat;
    for (const Canvas& icon : icons) flat.push_back(Flatten(icon, Rgb(background)));
    return Strip(flat);
}
