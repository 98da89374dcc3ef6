#include "tool_bar.h"

#include <commctrl.h>

namespace ui {

void ToolBar::Create(Window& parent, HIMAGELIST images, int buttonWidth, int buttonHeight)
{
    DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                  CCS_NOPARENTALIGN;
    CreateSystem(TOOLBARCLASSNAMEA, 0, style, "", parent.Handle(), Rect(0, 0, 100, buttonHeight + 4), nullptr);
    width_ = 100;
    height_ = buttonHeight + 4;
    Adopt(parent);
    SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(images, &cx, &cy);
    SendMessageA(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy));
    SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth, buttonHeight));
    // Tool tips ask the parent for their text with the tip window as sender:
    // let them find this object too.
    HWND tips = reinterpret_cast<HWND>(SendMessageA(Handle(), TB_GETTOOLTIPS, 0, 0));
    if (tips)
        SetPropA(tips, "KlrUiWindow", this);
}

void ToolBar::AddButton(int id, int image, const std::string& tip)
{
    TBBUTTON b;
    ZeroMemory(&b, sizeof(b));
    b.iBitmap = image;
    b.idCommand = id;
    b.fsState = TBSTATE_ENABLED;
    b.fsStyle = BTNS_BUTTON;
    b.iString = -1;
    SendMessageA(Handle(), TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
    tips_[id] = tip;
}

void ToolBar::AddSeparator()
{
    TBBUTTON b;
    ZeroMemory(&b, sizeof(b));
    b.fsStyle = BTNS_SEP;
    b.iBitmap = 8;
    SendMessageA(Handle(), TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&b));
}

void ToolBar::EnableButton(int id, bool enabled)
{
    SendMessageA(Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

bool ToolBar::ButtonEnabled(int id) const
{
    return SendMessageA(Handle(), TB_ISBUTTONENABLED, static_cast<WPARAM>(id), 0) != 0;
}

void ToolBar::SetButtonImage(int id, int image)
{
    SendMessageA(Handle(), TB_CHANGEBITMAP, static_cast<WPARAM>(id), MAKELPARAM(image, 0));
}

int ToolBar::ButtonImage(int id) const
{
    return static_cast<int>(SendMessageA(Handle(), TB_GETBITMAP, static_cast<WPARAM>(id), 0));
}

bool ToolBar::OnReflectedCommand(WORD id, WORD)
{
    if (onClick)
        onClick(id);
    return true;
}

bool ToolBar::OnReflectedNotify(NMHDR* header, LRESULT* result)
{
    switch (header->code) {
    case TTN_GETDISPINFOA: {
        NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        auto found = tips_.find(static_cast<int>(header->idFrom));
        tipText_ = found != tips_.end() ? found->second : std::string();
        info->lpszText = const_cast<char*>(tipText_.c_str());
        return true;
    }
    case TBN_HOTITEMCHANGE: {
        NMTBHOTITEM* hot = reinterpret_cast<NMTBHOTITEM*>(header);
        if (onHotButton)
            onHotButton((hot->dwFlags & HICF_LEAVING) ? 0 : hot->idNew);
        *result = 0;
        return true;
    }
    }
    return false;
}

void StatusBar::Create(Window& parent, const std::string& text)
{
    CreateSystem(STATUSCLASSNAMEA, 0, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | CCS_NOPARENTALIGN | CCS_NORESIZE,
                 "", parent.Handle(), Rect(0, 0, 100, 19), nullptr);
    width_ = 100;
    height_ = 19;
    Adopt(parent);
    SendMessageA(Handle(), SB_SIMPLE, TRUE, 0);
    SetSimpleText(text);
}

void StatusBar::SetSimpleText(const std::string& text)
{
    text_ = text;
    SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text_.c_str()));
}

} // namespace ui
