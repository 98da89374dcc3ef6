#include "label.h"

namespace ui {

namespace {

const char kLabelClass[] = "KlrLabel";

} // namespace

void Label::Create(Window& parent, const std::string& caption, int left, int top, int height)
{
    RegisterOwnClass(kLabelClass, 0, nullptr, nullptr);
    CreateOwn(kLabelClass, 0, WS_CHILD | WS_VISIBLE, caption, parent.Handle(),
              Rect(left, top, 1, height), nullptr);
    height_ = height;
    Adopt(parent);
    AutoSize();
}

void Label::SetCaption(const std::string& caption)
{
    SetText(caption);
    AutoSize();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::SetTextColor(COLORREF color)
{
    textColor_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::SetFontStyle(unsigned style)
{
    style_ = style;
    AutoSize();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Label::SetCentered(int width)
{
    centeredWidth_ = width;
    AutoSize();
}

HFONT Label::PaintFont() const
{
    HFONT base = font_ ? font_ : SystemFont();
    return style_ == kPlain ? base : WithStyle(base, style_);
}

void Label::AutoSize()
{
    if (!Handle())
        return;
    RECT r = Bounds();
    int width = centeredWidth_;
    if (!width) {
        std::string caption = Text();
        HDC dc = GetDC(Handle());
        HGDIOBJ old = SelectObject(dc, PaintFont());
        SIZE size{0, 0};
        GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(Handle(), dc);
        width = size.cx;
    }
    width_ = width;
    Place(r.left, r.top, width, r.bottom - r.top);
}

LRESULT Label::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        FillClient(dc, ParentColor());
        RECT r = ClientRect();
        HGDIOBJ old = SelectObject(dc, PaintFont());
        SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, textColor_);
        std::string caption = Text();
        UINT format = DT_SINGLELINE | DT_NOPREFIX | (centeredWidth_ ? DT_CENTER : DT_LEFT);
        DrawTextA(dc, caption.c_str(), -1, &r, format);
        SelectObject(dc, old);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_SETFONT: {
        LRESULT result = DefaultProc(msg, wParam, lParam);
        font_ = reinterpret_cast<HFONT>(wParam);
        AutoSize();
        return result;
    }
    case WM_SETCURSOR:
        if (hand_) {
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (!inside_) {
            inside_ = true;
            TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, Handle(), 0};
            TrackMouseEvent(&tme);
            if (onMouseEnter)
                onMouseEnter();
        }
        return 0;
    case WM_MOUSELEAVE:
        inside_ = false;
        if (onMouseLeave)
            onMouseLeave();
        return 0;
    case WM_LBUTTONUP:
        if (onClick)
            onClick();
        return 0;
    }
    return Control::HandleMessage(msg, wParam, lParam);
}

} // namespace ui
