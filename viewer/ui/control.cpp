#include "window.h"

#include <algorithm>

// Children: their place in the parent and their size in its layout.
namespace ui {

Control::~Control()
{
    if (parent_)
        parent_->RemoveChild(this);
}

void Control::Adopt(Window& parent)
{
    parent_ = &parent;
    parent.AddChild(this);
    if (parent.Font())
        SetFont(parent.Font());
}

COLORREF Control::ParentColor() const
{
    return parent_ ? parent_->BackgroundColor() : GetSysColor(COLOR_BTNFACE);
}

void Control::FillClient(HDC dc, COLORREF color) const
{
    RECT r = ClientRect();
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

RECT Control::Bounds() const
{
    RECT r{0, 0, 0, 0};
    if (!Handle())
        return r;
    GetWindowRect(Handle(), &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void Control::SetVisible(bool visible)
{
    bool changed = visible != Visible();
    Window::SetVisible(visible);
    // A hidden or shown child changes its parent's layout.
    if (changed && align != Align::None && parent_)
        parent_->AlignControls();
}

void Control::SetBounds(int left, int top, int width, int height)
{
    width_ = std::max(0, width);
    height_ = std::max(0, height);
    Place(left, top, width, height);
}

void Control::Place(int left, int top, int width, int height)
{
    if (Handle())
        SetWindowPos(Handle(), nullptr, left, top, std::max(0, width), std::max(0, height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

int Control::Left() const
{
    return Bounds().left;
}

int Control::Top() const
{
    return Bounds().top;
}

int Control::Width() const
{
    RECT r = Bounds();
    return r.right - r.left;
}

int Control::Height() const
{
    RECT r = Bounds();
    return r.bottom - r.top;
}

void Control::SetLeft(int left)
{
    RECT r = Bounds();
    Place(left, r.top, r.right - r.left, r.bottom - r.top);
}

void Control::SetWidth(int width)
{
    RECT r = Bounds();
    width_ = std::max(0, width);
    Place(r.left, r.top, width_, r.bottom - r.top);
    if (align != Align::None && parent_)
        parent_->AlignControls();
}

void Control::SetHeight(int height)
{
    RECT r = Bounds();
    height_ = std::max(0, height);
    Place(r.left, r.top, r.right - r.left, height_);
    if (align != Align::None && parent_)
        parent_->AlignControls();
}

int Control::Id() const
{
    return Handle() ? GetDlgCtrlID(Handle()) : 0;
}

} // namespace ui
