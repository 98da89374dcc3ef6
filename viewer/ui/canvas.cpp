#include "canvas.h"

namespace ui {

void Canvas::Begin(HDC dc, HFONT font)
{
    dc_ = dc;
    font_ = font;
    brushColor_ = RGB(255, 255, 255);
    style_ = kPlain;
}

void Canvas::End()
{
    dc_ = nullptr;
}

void Canvas::SetFontStyle(unsigned style)
{
    style_ = style;
    if (dc_ && font_)
        SelectObject(dc_, style == kPlain ? font_ : WithStyle(font_, style));
}

void Canvas::FrameRect(const RECT& r)
{
    HBRUSH brush = CreateSolidBrush(brushColor_);
    ::FrameRect(dc_, &r, brush);
    DeleteObject(brush);
}

void Canvas::Rectangle(const RECT& r)
{
    HBRUSH brush = CreateSolidBrush(brushColor_);
    HGDIOBJ old = SelectObject(dc_, brush);
    ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
    SelectObject(dc_, old);
    DeleteObject(brush);
}

} // namespace ui
