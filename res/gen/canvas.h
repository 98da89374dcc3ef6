#pragma once
// A small floating-point canvas with anti-aliased shapes. Shapes are given as
// signed distance functions (negative inside), so one fill routine serves
// discs, rings, strokes, rounded boxes and polygons alike.
#include <algorithm>
#include <cmath>
#include <vector>

struct Color {
    float r = 0, g = 0, b = 0, a = 1;   // straight (not premultiplied) alpha
};

Color Rgb(int hex, float alpha = 1.0f);                // 0xRRGGBB
Color Mix(const Color& a, const Color& b, float t);   // t = 0 gives a
Color Lighter(const Color& c, float amount);          // towards white

struct Vec {
    float x = 0, y = 0;
};
inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
inline Vec operator*(Vec a, float s) { return {a.x * s, a.y * s}; }
inline float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }
inline float Length(Vec a) { return std::sqrt(Dot(a, a)); }

// Distances, in pixels, from point p.
float DistDisc(Vec p, Vec centre, float radius);
float DistSegment(Vec p, Vec a, Vec b);                          // to the segment itself
float DistRoundBox(Vec p, float x0, float y0, float x1, float y1, float radius);
float DistConvex(Vec p, const std::vector<Vec>& clockwise);     // polygon in screen coordinates

class Canvas {
public:
    Canvas(int width, int height, Color background = {0, 0, 0, 0});

    // Without soft edges every pixel is in or out: for 16-colour pictures,
    // whose palette has no in-between shades.
    void SetHardEdges(bool hard) { hard_ = hard; }

    int Width() const { return w_; }
    int Height() const { return h_; }
    Color At(int x, int y) const;   // straight alpha

    // Composites colour `c` with extra opacity `coverage` over the pixel.
    void Blend(int x, int y, const Color& c, float coverage = 1.0f);
    void FillRect(int x, int y, int w, int h, const Color& c);
    void VerticalGradient(int x, int y, int w, int h, const Color& top, const Color& bottom);

    // Fills where dist(centre of pixel) < 0, with one pixel of soft edge.
    // `paint` gives the colour at a pixel, so gradients need no extra code.
    template <class Dist, class Paint>
    void Shape(Dist dist, Paint paint, int x0 = 0, int y0 = 0, int x1 = -1, int y1 = -1)
    {
        if (x1 < 0) x1 = w_;
        if (y1 < 0) y1 = h_;
        x0 = std::max(0, x0);
        y0 = std::max(0, y0);
        x1 = std::min(w_, x1);
        y1 = std::min(h_, y1);
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                float cover = std::clamp(0.5f - dist(Vec{x + 0.5f, y + 0.5f}), 0.0f, 1.0f);
                if (hard_) cover = cover >= 0.5f ? 1.0f : 0.0f;
                if (cover > 0) Blend(x, y, paint(x, y), cover);
            }
    }
    template <class Dist>
    void ShapeColor(Dist dist, const Color& c)
    {
        Shape(dist, [&](int, int) { return c; });
    }

    void Disc(Vec centre, float radius, const Color& c);
    void Ring(Vec centre, float radius, float width, const Color& c);
    void Stroke(Vec a, Vec b, float width, const Color& c);   // round caps
    void RoundBox(float x0, float y0, float x1, float y1, float radius, const Color& c);

    // Copies `src` with its top-left at (x, y), compositing its alpha.
    void Paste(const Canvas& src, int x, int y);

private:
    int w_, h_;
    bool hard_ = false;
    std::vector<Color> px_;   // premultiplied, rows top to bottom
};
