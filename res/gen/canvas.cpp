#include "canvas.h"

Color Rgb(int hex, float alpha)
{
    return {((hex >> 16) & 255) / 255.0f, ((hex >> 8) & 255) / 255.0f, (hex & 255) / 255.0f, alpha};
}

Color Mix(const Color& a, const Color& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Color Lighter(const Color& c, float amount)
{
    Color white{1, 1, 1, c.a};
    return Mix(c, white, amount);
}

float DistDisc(Vec p, Vec centre, float radius)
{
    return Length(p - centre) - radius;
}

float DistSegment(Vec p, Vec a, Vec b)
{
    Vec ab = b - a;
    float len2 = Dot(ab, ab);
    float t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0f, 1.0f) : 0.0f;
    return Length(p - (a + ab * t));
}

float DistRoundBox(Vec p, float x0, float y0, float x1, float y1, float radius)
{
    float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    float qx = std::fabs(p.x - cx) - hx, qy = std::fabs(p.y - cy) - hy;
    float outside = Length({std::max(qx, 0.0f), std::max(qy, 0.0f)});
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float DistConvex(Vec p, const std::vector<Vec>& pts)
{
    // Largest signed distance to the edge lines: exact inside and along the
    // edges, slightly short near corners, which only softens them a little.
    float d = -1e9f;
    for (size_t i = 0; i < pts.size(); ++i) {
        Vec a = pts[i], b = pts[(i + 1) % pts.size()];
        Vec e = b - a;
        Vec n{e.y, -e.x};   // outward for clockwise points with y down
        d = std::max(d, Dot(p - a, n) / Length(n));
    }
    return d;
}

Canvas::Canvas(int width, int height, Color background) : w_(width), h_(height), px_(width * height)
{
    FillRect(0, 0, width, height, background);
}

Color Canvas::At(int x, int y) const
{
    Color p = px_[y * w_ + x];
    if (p.a <= 0) return {0, 0, 0, 0};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::Blend(int x, int y, const Color& c, float coverage)
{
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
    Color& d = px_[y * w_ + x];
    d.r = c.r * a + d.r * (1 - a);
    d.g = c.g * a + d.g * (1 - a);
    d.b = c.b * a + d.b * (1 - a);
    d.a = a + d.a * (1 - a);
}

void Canvas::FillRect(int x, int y, int w, int h, const Color& c)
{
    for (int yy = std::max(0, y); yy < std::min(h_, y + h); ++yy)
        for (int xx = std::max(0, x); xx < std::min(w_, x + w); ++xx)
            px_[yy * w_ + xx] = {c.r * c.a, c.g * c.a, c.b * c.a, c.a};
}

void Canvas::VerticalGradient(int x, int y, int w, int h, const Color& top, const Color& bottom)
{
    for (int i = 0; i < h; ++i)
        FillRect(x, y + i, w, 1, Mix(top, bottom, h > 1 ? i / float(h - 1) : 0.0f));
}

void Canvas::Disc(Vec c, float r, const Color& col)
{
    ShapeColor([=](Vec p) { return DistDisc(p, c, r); }, col);
}

void Canvas::Ring(Vec c, float r, float width, const Color& col)
{
    ShapeColor([=](Vec p) { return std::fabs(DistDisc(p, c, r)) - width / 2; }, col);
}

void Canvas::Stroke(Vec a, Vec b, float width, const Color& col)
{
    ShapeColor([=](Vec p) { return DistSegment(p, a, b) - width / 2; }, col);
}

void Canvas::RoundBox(float x0, float y0, float x1, float y1, float r, const Color& col)
{
    ShapeColor([=](Vec p) { return DistRoundBox(p, x0, y0, x1, y1, r); }, col);
}

void Canvas::Paste(const Canvas& src, int x, int y)
{
    for (int yy = 0; yy < src.h_; ++yy)
        for (int xx = 0; xx < src.w_; ++xx) {
            Color c = src.At(xx, yy);
            Blend(x + xx, y + yy, c, 1.0f);
        }
}
