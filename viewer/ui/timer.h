#pragma once
#include <functional>

#include "window.h"

namespace ui {

// A timer of the UI thread with an interval in milliseconds; it ticks only
// while enabled. Starts disabled.
class Timer : public Window {
public:
    ~Timer() override;
    void SetInterval(UINT milliseconds);
    UINT Interval() const { return interval_; }
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return enabled_; }

    std::function<void()> onTimer;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Restart();

    UINT interval_ = 1000;
    bool enabled_ = false;
};

} // namespace ui
