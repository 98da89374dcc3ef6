#pragma once
#include <functional>

#include "font.h"
#include "window.h"

namespace ui {

// A line of text painted on its parent's colour. It sizes its width to its
// caption, can be underlined, show the hand cursor and tell clicks and the
// pointer's coming and going.
class Label : public Control {
public:
    void Create(Window& parent, const std::string& caption, int left, int top, int height = 13);

    void SetCaption(const std::string& caption);
    void SetTextColor(COLORREF color);
    void SetFontStyle(unsigned style);
    unsigned FontStyle() const { return style_; }
    void SetHandCursor(bool hand) { hand_ = hand; }
    // Centred in the width given instead of sized to the caption.
    void SetCentered(int width);

    std::function<void()> onClick;
    std::function<void()> onMouseEnter;
    std::function<void()> onMouseLeave;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void AutoSize();
    HFONT PaintFont() const;

    COLORREF textColor_ = GetSysColor(COLOR_WINDOWTEXT);
    unsigned style_ = kPlain;
    bool hand_ = false;
    bool inside_ = false;
    int centeredWidth_ = 0;
};

} // namespace ui
