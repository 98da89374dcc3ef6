#pragma once
#include <functional>

#include "window.h"

namespace ui {

class Button : public Control {
public:
    void Create(Window& parent, const std::string& caption, int left, int top, int width, int height, int id,
                bool isDefault = false);
    // Acts as if the user had pressed it.
    void Click();
    std::function<void()> onClick;

protected:
    bool OnReflectedCommand(WORD id, WORD code) override;
};

class CheckBox : public Control {
public:
    void Create(Window& parent, const std::string& caption, int left, int top, int width, int height, int id);
    bool Checked() const;
    void SetChecked(bool checked);
};

class Edit : public Control {
public:
    void Create(Window& parent, const std::string& text, int left, int top, int width, int height, int id);
};

// Create it after the controls it frames: it lies below them and never
// paints over them. It takes no focus, so the tab order stays as created.
class GroupBox : public Control {
public:
    void Create(Window& parent, const std::string& caption, int left, int top, int width, int height);
};

// A date picker that shows the locale's short date and drops down a calendar.
class DatePicker : public Control {
public:
    void Create(Window& parent, int left, int top, int width, int height, int id);
    SYSTEMTIME Date() const;
    void SetDate(const SYSTEMTIME& date);
};

class ProgressBar : public Control {
public:
    void Create(Window& parent, int left, int top, int width, int height);
    void SetRange(int low, int high);
    void SetPosition(int position);
    int Position() const;
};

} // namespace ui
