#include "my_window.h"

#include <commctrl.h>

#include <cstring>
#include <string>

namespace {

void CopyText(char* target, size_t size, const char* text)
{
    if (!text)
        text = "";
    std::strncpy(target, text, size - 1);
    target[size - 1] = '\0';
}

} // namespace

HWND MyWindow::Attach(HWND parent, int id)
{
    id_ = id;
    window_ = GetDlgItem(parent, id);
    return window_;
}

void MyWindow::SetPos(int x, int y, bool topmost)
{
    RECT r = {};
    GetWindowRect(window_, &r);
    SetWindowPos(window_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, x, y, r.right - r.left, r.bottom - r.top,
                 SWP_SHOWWINDOW);
}

void MyWindow::CenterOnScreen(bool topmost)
{
    RECT client = {};
    GetClientRect(window_, &client);
    int x = GetSystemMetrics(SM_CXFULLSCREEN) / 2 - (client.right - client.left) / 2;
    int y = GetSystemMetrics(SM_CYFULLSCREEN) / 2 - (client.bottom - client.top) / 2;
    SetPos(x, y, topmost);
}

void MyWindow::SetIcon(int iconId)
{
    HICON icon = LoadIconA(instance_, MAKEINTRESOURCEA(iconId));
    SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void MyWindow::SetCaption(const char* text)
{
    CopyText(text_, sizeof(text_), text);
    SetWindowTextA(window_, text_);
}

int MyWindow::GetLeft() const
{
    RECT r = {};
    GetWindowRect(window_, &r);
    return r.left;
}

int MyWindow::GetTop() const
{
    RECT r = {};
    GetWindowRect(window_, &r);
    return r.top;
}

void MyWindow::Show(int showCode)
{
    ShowWindow(window_, showCode);
}

MyEdit::MyEdit(int id) : buffer_(new char[kBufferSize]())
{
    id_ = id;
}

void MyEdit::SetText(const char* text)
{
    CopyText(buffer_.get(), kBufferSize, text);
    SetDlgItemTextA(GetParent(window_), id_, buffer_.get());
}

const char* MyEdit::GetText()
{
    buffer_[0] = '\0';
    GetDlgItemTextA(GetParent(window_), id_, buffer_.get(), kBufferSize);
    return buffer_.get();
}

void MyEdit::AttachAndSetText(const char* text, HWND parent, int id)
{
    // The text may be our own buffer's content; copy it first.
    std::string copy = text ? text : "";
    CopyText(buffer_.get(), kBufferSize, copy.c_str());
    Attach(parent, id);
    SetText(copy.c_str());
}

MyCheckBox::MyCheckBox(HWND dialog, int id)
{
    window_ = dialog;
    id_ = id;
}

int MyCheckBox::IsChecked() const
{
    return IsDlgButtonChecked(window_, id_) == BST_CHECKED ? 1 : 0;
}

void MyCheckBox::SetCheck(int state)
{
    CheckDlgButton(window_, id_, state);
}

void MyTrackBar::AttachAndInit(HWND parent, int id, int position)
{
    Attach(parent, id);
    SendMessageA(window_, TBM_SETRANGE, TRUE, MAKELPARAM(0, maximum_));
    SendMessageA(window_, TBM_SETPOS, TRUE, position);
}

int MyTrackBar::GetPos() const
{
    return static_cast<int>(SendMessageA(window_, TBM_GETPOS, 0, 0));
}
