#include "font.h"
#include "pictures.h"

namespace {

const int kHeight = 18;

// One background for every piece, so the strip reads as a single bar.
Canvas StripBackground(int width, bool hot)
{
    Canvas c(width, kHeight);
    Color top = hot ? Rgb(0x414B5E) : Rgb(0x2E3544);
    Color bottom = hot ? Rgb(0x2C3444) : Rgb(0x1C212B);
    c.VerticalGradient(0, 0, width, kHeight, top, bottom);
    c.FillRect(0, 0, width, 1, hot ? Rgb(0x56627A) : Rgb(0x404859));   // top light edge
    c.FillRect(0, kHeight - 1, width, 1, Rgb(0x111419));              // bottom shadow
    return c;
}

// A dark groove between a button and the bar.
void Divider(Canvas& c, int x)
{
    c.FillRect(x, 1, 1, kHeight - 2, Rgb(0x12151B));
}

void CellSegment(Canvas& c, int x, const Color& top, const Color& bottom)
{
    c.Shape([=](Vec p) { return DistRoundBox(p, x + 1.0f, 4.0f, x + 5.0f, 14.0f, 1.2f); },
            [&](int, int y) { return Mix(top, bottom, (y - 4) / 9.0f); });
}

} // namespace

Canvas SkinCell(bool lit)
{
    Canvas c = StripBackground(6, false);
    if (lit) {
        CellSegment(c, 0, Rgb(0x7DF0AC), Rgb(0x1FAE63));
        c.Blend(2, 5, Rgb(0xFFFFFF), 0.35f);   // a glint on top
        c.Blend(3, 5, Rgb(0xFFFFFF), 0.35f);
    } else {
        CellSegment(c, 0, Rgb(0x394252), Rgb(0x2B323F));
    }
    return c;
}

Canvas SkinStartButton(bool hot)
{
    Canvas c = StripBackground(19, hot);
    std::vector<Vec> triangle{{6.0f, 4.0f}, {13.5f, 9.0f}, {6.0f, 14.0f}};
    Color ink = hot ? Rgb(0x9BFFC2) : Rgb(0x4CD787);
    c.ShapeColor([&](Vec p) { return DistConvex(p, triangle); }, ink);
    Divider(c, 18);
    return c;
}

Canvas SkinStopButton(bool hot)
{
    Canvas c = StripBackground(19, hot);
    Color ink = hot ? Rgb(0xFF9A94) : Rgb(0xF0625D);
    c.RoundBox(5.0f, 5.0f, 13.0f, 13.0f, 1.5f, ink);
    Divider(c, 18);
    return c;
}

Canvas SkinHideButton(bool hot)
{
    Canvas c = StripBackground(20, hot);
    Color ink = hot ? Rgb(0xFFFFFF) : Rgb(0xA9B3C3);
    c.RoundBox(6.0f, 11.0f, 14.0f, 13.0f, 1.0f, ink);
    Divider(c, 0);
    return c;
}

Canvas SkinStoppedFace()
{
    Canvas c = StripBackground(120, false);
    // The bar's cells stay as faint ghosts so the strip keeps its rhythm.
    for (int i = 0; i < 20; ++i) CellSegment(c, i * 6, Rgb(0x2C3441), Rgb(0x242A35));
    const std::string word = "STOPPED";
    int w = PixelTextWidth(word, 1, 2);
    int x = (120 - w) / 2;
    c.RoundBox(x - 7.0f, 3.0f, x + w + 7.0f, 15.0f, 6.0f, Rgb(0x1A1E26));
    DrawPixelText(c, x, 5, word, Rgb(0xF2B84B), 1, 2);
    return c;
}
