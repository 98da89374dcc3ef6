#pragma once
#include <windows.h>

#include "font.h"

namespace ui {

// Drawing state over a device context while a control draws: the brush
// colour, the font style and the current pen, as custom drawing code needs.
class Canvas {
public:
    // Binds the context and the control's font; the font style starts plain
    // and the brush white.
    void Begin(HDC dc, HFONT font);
    void End();
    HDC Handle() const { return dc_; }

    COLORREF BrushColor() const { return brushColor_; }
    void SetBrushColor(COLORREF color) { brushColor_ = color; }
    unsigned FontStyle() const { return style_; }
    // Selects the control's font in that style into the context.
    void SetFontStyle(unsigned style);

    // The one-pixel edge of the rectangle, in the brush colour.
    void FrameRect(const RECT& r);
    // The rectangle with the current pen, filled with the brush colour.
    void Rectangle(const RECT& r);

private:
    HDC dc_ = nullptr;
    HFONT font_ = nullptr;
    COLORREF brushColor_ = RGB(255, 255, 255);
    unsigned style_ = kPlain;
};

} // namespace ui
