#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <string>

#include "window.h"

namespace ui {

// A flat tool bar of image buttons with tool tips. Clicks and the button
// under the pointer are handed to the callbacks.
class ToolBar : public Control {
public:
    void Create(Window& parent, HIMAGELIST images, int buttonWidth, int buttonHeight);
    void AddButton(int id, int image, const std::string& tip);
    void AddSeparator();
    void EnableButton(int id, bool enabled);
    bool ButtonEnabled(int id) const;
    void SetButtonImage(int id, int image);
    int ButtonImage(int id) const;

    std::function<void(int id)> onClick;
    // The command id of the button the pointer is over; 0 when it left them.
    std::function<void(int id)> onHotButton;

protected:
    bool OnReflectedCommand(WORD id, WORD code) override;
    bool OnReflectedNotify(NMHDR* header, LRESULT* result) override;

private:
    std::map<int, std::string> tips_;
    std::string tipText_;
};

// A status bar with one simple panel.
class StatusBar : public Control {
public:
    void Create(Window& parent, const std::string& text);
    void SetSimpleText(const std::string& text);
    std::string SimpleText() const { return text_; }

private:
    std::string text_;
};

} // namespace ui
