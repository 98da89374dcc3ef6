#pragma once
#include "window.h"

namespace ui {

// A plain area that holds other controls: a colour, an optional centred
// caption, an optional raised edge and an optional picture at its top left.
class Panel : public Control {
public:
    ~Panel() override;
    void Create(Window& parent, int left, int top, int width, int height);

    void SetColor(COLORREF color);
    void SetCaptionColor(COLORREF color);
    void SetRaised(bool raised);
    void SetLowered(bool lowered);
    // Not owned; painted at the top left.
    void SetPicture(HBITMAP picture);
    COLORREF BackgroundColor() const override;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);

    bool hasColor_ = false;
    COLORREF color_ = 0;
    COLORREF captionColor_ = 0;
    bool raised_ = false;
    bool lowered_ = false;
    HBITMAP picture_ = nullptr;
    HBRUSH brush_ = nullptr;
    COLORREF brushColor_ = 0;
};

// A bar between two aligned controls that the user drags to resize the one
// it is bound to (the control before it on its side).
class Splitter : public Control {
public:
    // Vertical splitters resize their target's width, horizontal ones its height.
    void Create(Window& parent, Control& target, bool vertical, int thickness);
    void SetMinSize(int size) { minSize_ = size; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    Control* target_ = nullptr;
    bool vertical_ = true;
    int minSize_ = 30;
    bool dragging_ = false;
    int startPointer_ = 0;
    int startSize_ = 0;
};

} // namespace ui
