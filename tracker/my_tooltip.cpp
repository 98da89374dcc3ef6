#include "my_tooltip.h"

#include <commctrl.h>

namespace {

UINT toolCounter = 0;

// The second form of the record: comctl32 of every version since 4.70 takes it,
// with or without a manifest for version 6.
TOOLINFOA ToolRecord(HWND owner, UINT id, HINSTANCE instance, char* text)
{
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = owner;
    info.uId = id;
    info.hinst = instance;
    info.lpszText = text;
    return info;
}

} // namespace

void MyToolTip::Create(HWND owner, HINSTANCE instance)
{
    owner_ = owner;
    instance_ = instance;
    window_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                              instance, nullptr);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

UINT MyToolTip::AddTool(int stringId, int x, int y, int width, int height)
{
    UINT id = ++toolCounter;
    char text[256] = {};
    LoadStringA(instance_, stringId, text, 255);
    TOOLINFOA info = ToolRecord(owner_, id, instance_, text);
    info.uFlags = TTF_SUBCLASS;
    info.rect = {x, y, x + width, y + height};
    SendMessageA(window_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    return id;
}

void MyToolTip::UpdateTipText(const char* text, UINT toolId)
{
    char copy[256] = {};
    lstrcpynA(copy, text ? text : "", sizeof(copy));
    TOOLINFOA info = ToolRecord(owner_, toolId, instance_, copy);
    SendMessageA(window_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

UINT MyToolTip::LastToolId()
{
    return toolCounter;
}
