#include "strips.h"

Color MaskColor()
{
    return Rgb(0xFF00FF);
}

void PasteTinted(Canvas& dst, const Canvas& src, int dx, int dy, const Color& tint, float amount)
{
    for (int y = 0; y < src.Height(); ++y)
        for (int x = 0; x < src.Width(); ++x) {
            Color c = src.At(x, y);
            if (c.a <= 0) continue;
            Color moved = Mix(c, tint, amount);
            moved.a = 1;
            dst.Blend(x + dx, y + dy, moved, c.a);
        }
}

Canvas Flatten(const Canvas& picture, const Color& background)
{
    Canvas out(picture.Width(), picture.Height(), MaskColor());
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            Color c = picture.At(x, y);
            // Faint edge pixels go clear rather than leave a rim of background.
            if (c.a < 0.08f) continue;
            Color solid = Mix(background, Color{c.r, c.g, c.b, 1}, c.a);
            solid.a = 1;
            out.FillRect(x, y, 1, 1, solid);
        }
    return out;
}

Canvas Strip(const std::vector<Canvas>& pictures)
{
    int w = 0, h = 0;
    for (const Canvas& p : pictures) {
        w += p.Width();
        h = std::max(h, p.Height());
    }
    Canvas out(w, h, MaskColor());
    int x = 0;
    for (const Canvas& p : pictures) {
        for (int yy = 0; yy < p.Height(); ++yy)
            for (int xx = 0; xx < p.Width(); ++xx) out.FillRect(x + xx, yy, 1, 1, p.At(xx, yy));
        x += p.Width();
    }
    return out;
}
