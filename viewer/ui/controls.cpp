#include "controls.h"

#include <commctrl.h>

namespace ui {

namespace {

HMENU IdOf(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

} // namespace

void Button::Create(Window& parent, const std::string& caption, int left, int top, int width, int height, int id,
                    bool isDefault)
{
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    CreateSystem("BUTTON", 0, style, caption, parent.Handle(), Rect(left, top, width, height), IdOf(id));
    width_ = width;
    height_ = height;
    Adopt(parent);
}

void Button::Click()
{
    if (Enabled() && onClick)
        onClick();
}

bool Button::OnReflectedCommand(WORD, WORD code)
{
    if (code != BN_CLICKED)
        return false;
    Click();
    return true;
}

void CheckBox::Create(Window& parent, const std::string& caption, int left, int top, int width, int height, int id)
{
    CreateSystem("BUTTON", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, caption, parent.Handle(),
                 Rect(left, top, width, height), IdOf(id));
    width_ = width;
    height_ = height;
    Adopt(parent);
}

bool CheckBox::Checked() const
{
    return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked)
{
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Edit::Create(Window& parent, const std::string& text, int left, int top, int width, int height, int id)
{
    CreateSystem("EDIT", WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, text,
                 parent.Handle(), Rect(left, top, width, height), IdOf(id));
    width_ = width;
    height_ = height;
    Adopt(parent);
}

void GroupBox::Create(Window& parent, const std::string& caption, int left, int top, int width, int height)
{
    CreateSystem("BUTTON", 0, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, caption, parent.Handle(),
                 Rect(left, top, width, height), IdOf(-1));
    width_ = width;
    height_ = height;
    Adopt(parent);
}

void DatePicker::Create(Window& parent, int left, int top, int width, int height, int id)
{
    CreateSystem(DATETIMEPICK_CLASSA, 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | DTS_SHORTDATEFORMAT, "",
                 parent.Handle(), Rect(left, top, width, height), IdOf(id));
    width_ = width;
    height_ = height;
    Adopt(parent);
}

SYSTEMTIME DatePicker::Date() const
{
    SYSTEMTIME st;
    ZeroMemory(&st, sizeof(st));
    SendMessageA(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return st;
}

void DatePicker::SetDate(const SYSTEMTIME& date)
{
    SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
}

void ProgressBar::Create(Window& parent, int left, int top, int width, int height)
{
    CreateSystem(PROGRESS_CLASSA, 0, WS_CHILD | WS_VISIBLE, "", parent.Handle(), Rect(left, top, width, height),
                 nullptr);
    width_ = width;
    height_ = height;
    Adopt(parent);
}

void ProgressBar::SetRange(int low, int high)
{
    SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void ProgressBar::SetPosition(int position)
{
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int ProgressBar::Position() const
{
    return static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
}

} // namespace ui
