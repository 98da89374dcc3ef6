#include "panel.h"

#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {

const char kPanelClass[] = "KlrPanel";
const char kVSplitClass[] = "KlrVSplitter";
const char kHSplitClass[] = "KlrHSplitter";

} // namespace

Panel::~Panel()
{
    if (brush_)
        DeleteObject(brush_);
}

void Panel::Create(Window& parent, int left, int top, int width, int height)
{
    RegisterOwnClass(kPanelClass, 0, nullptr, nullptr);
    CreateOwn(kPanelClass, 0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, "", parent.Handle(),
              Rect(left, top, width, height), nullptr);
    width_ = width;
    height_ = height;
    Adopt(parent);
}

void Panel::SetColor(COLORREF color)
{
    hasColor_ = true;
    color_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Panel::SetCaptionColor(COLORREF color)
{
    captionColor_ = color;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Panel::SetRaised(bool raised)
{
    raised_ = raised;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Panel::SetLowered(bool lowered)
{
    lowered_ = lowered;
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Panel::SetPicture(HBITMAP picture)
{
    picture_ = picture;
    InvalidateRect(Handle(), nullptr, TRUE);
}

COLORREF Panel::BackgroundColor() const
{
    return hasColor_ ? color_ : ParentColor();
}

void Panel::Paint(HDC dc)
{
    RECT r = ClientRect();
    if (picture_) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, picture_);
        BITMAP bm;
        GetObjectA(picture_, sizeof(bm), &bm);
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    if (raised_)
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    else if (lowered_)
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    std::string caption = Text();
    if (!caption.empty()) {
        HGDIOBJ old = SelectObject(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, captionColor_);
        DrawTextA(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
    }
}

LRESULT Panel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        // Also asked for by transparent children (a flat tool bar).
        FillClient(reinterpret_cast<HDC>(wParam), BackgroundColor());
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        FillClient(reinterpret_cast<HDC>(wParam), BackgroundColor());
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETTEXT: {
        LRESULT r = DefaultProc(msg, wParam, lParam);
        InvalidateRect(Handle(), nullptr, TRUE);
        return r;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        // Plain child controls take the panel's colour.
        if (!brush_ || brushColor_ != BackgroundColor()) {
            if (brush_)
                DeleteObject(brush_);
            brushColor_ = BackgroundColor();
            brush_ = CreateSolidBrush(brushColor_);
        }
        SetBkColor(reinterpret_cast<HDC>(wParam), brushColor_);
        return reinterpret_cast<LRESULT>(brush_);
    }
    }
    return Control::HandleMessage(msg, wParam, lParam);
}

void Splitter::Create(Window& parent, Control& target, bool vertical, int thickness)
{
    target_ = &target;
    vertical_ = vertical;
    const char* cls = vertical ? kVSplitClass : kHSplitClass;
    RegisterOwnClass(cls, 0, LoadCursor(nullptr, vertical ? IDC_SIZEWE : IDC_SIZENS), nullptr);
    CreateOwn(cls, 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, "", parent.Handle(),
              Rect(0, 0, thickness, thickness), nullptr);
    width_ = height_ = thickness;
    Adopt(parent);
}

LRESULT Splitter::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        FillClient(reinterpret_cast<HDC>(wParam), ParentColor());
        return 1;
    case WM_LBUTTONDOWN: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(Handle(), &p);
        dragging_ = true;
        startPointer_ = vertical_ ? p.x : p.y;
        startSize_ = vertical_ ? target_->Width() : target_->Height();
        SetCapture(Handle());
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(Handle(), &p);
            int delta = (vertical_ ? p.x : p.y) - startPointer_;
            // Both the target and what is left beside it keep the minimum.
            int room = vertical_ ? parent_->ClientWidth() - Width() : parent_->ClientHeight() - Height();
            RECT t = target_->Bounds();
            int before = vertical_ ? t.left : t.top;
            int size = std::max(minSize_, std::min(startSize_ + delta, room - before - minSize_));
            if (vertical_)
                target_->SetWidth(size);
            else
                target_->SetHeight(size);
        }
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (dragging_) {
            dragging_ = false;
            if (msg == WM_LBUTTONUP)
                ReleaseCapture();
        }
        return 0;
    }
    return Control::HandleMessage(msg, wParam, lParam);
}

} // namespace ui
