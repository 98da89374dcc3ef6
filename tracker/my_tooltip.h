#pragma once
#include <windows.h>

#include "my_window.h"

// A tooltip control over rectangles of its owner. Tool ids count from 1 across
// every tooltip of the process, in the order tools are added.
class MyToolTip : public MyWindow {
public:
    void Create(HWND owner, HINSTANCE instance);
    // Text from the string table; the rectangle is (x, y, x + width, y + height).
    // Returns the new tool's id.
    UINT AddTool(int stringId, int x, int y, int width, int height);
    void UpdateTipText(const char* text, UINT toolId);

    HWND Owner() const { return owner_; }
    // The last id given out (0 before the first tool of the process).
    static UINT LastToolId();

private:
    HWND owner_ = nullptr;
};
