#include "window.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

namespace {

const char kObjectProperty[] = "KlrUiWindow";

} // namespace

HINSTANCE Instance()
{
    return GetModuleHandleA(nullptr);
}

void ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

Window::~Window()
{
    if (hwnd_) {
        HWND hwnd = hwnd_;
        Detach();
        DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<Window*>(GetPropA(hwnd, kObjectProperty)) : nullptr;
}

void Window::RegisterOwnClass(const char* className, UINT style, HCURSOR cursor, HICON icon)
{
    WNDCLASSEXA wc;
    if (GetClassInfoExA(Instance(), className, &wc))
        return;
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = OwnProc;
    wc.hInstance = Instance();
    wc.hCursor = cursor ? cursor : LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.hbrBackground = nullptr;   // each window paints its own background
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
}

HWND Window::CreateOwn(const char* className, DWORD exStyle, DWORD style, const std::string& text, HWND parent,
                       const RECT& b, HMENU menuOrId)
{
    // The object is attached on the first message, so WM_CREATE and the
    // size messages of creation already reach HandleMessage.
    CreateWindowExA(exStyle, className, text.c_str(), style, b.left, b.top, b.right - b.left, b.bottom - b.top,
                    parent, menuOrId, Instance(), this);
    return hwnd_;
}

HWND Window::CreateSystem(const char* className, DWORD exStyle, DWORD style, const std::string& text, HWND parent,
                          const RECT& b, HMENU menuOrId)
{
    HWND hwnd = CreateWindowExA(exStyle, className, text.c_str(), style, b.left, b.top, b.right - b.left,
                                b.bottom - b.top, parent, menuOrId, Instance(), nullptr);
    if (!hwnd)
        return nullptr;
    Attach(hwnd);
    original_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC,
                                                            reinterpret_cast<LONG_PTR>(&Window::SubclassProc)));
    return hwnd;
}

void Window::Attach(HWND hwnd)
{
    hwnd_ = hwnd;
    SetPropA(hwnd, kObjectProperty, this);
}

void Window::Detach()
{
    if (!hwnd_)
        return;
    RemovePropA(hwnd_, kObjectProperty);
    if (original_) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        original_ = nullptr;
    }
    hwnd_ = nullptr;
}

LRESULT CALLBACK Window::OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self)
            self->Attach(hwnd);
    }
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->Dispatch(msg, wParam, lParam);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Window* self = FromHandle(hwnd);
    if (!self)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return self->Dispatch(msg, wParam, lParam);
}

LRESULT Window::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (Reflect(msg, wParam, lParam, &result))
        return result;
    if (msg == WM_NCDESTROY) {
        WNDPROC original = original_;
        HWND hwnd = hwnd_;
        Detach();
        return original ? CallWindowProcA(original, hwnd, msg, wParam, lParam)
                        : DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    return HandleMessage(msg, wParam, lParam);
}

bool Window::Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    Window* child = nullptr;
    switch (msg) {
    case WM_COMMAND:
        child = FromHandle(reinterpret_cast<HWND>(lParam));
        return child && child != this && child->OnReflectedCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        child = FromHandle(header->hwndFrom);
        return child && child != this && child->OnReflectedNotify(header, result);
    }
    case WM_CONTEXTMENU: {
        child = FromHandle(reinterpret_cast<HWND>(wParam));
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        return child && child != this && child->OnReflectedContextMenu(at);
    }
    }
    return false;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SIZE && !original_)
        AlignControls();
    return DefaultProc(msg, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (original_)
        return CallWindowProcA(original_, hwnd_, msg, wParam, lParam);
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

void Window::SetText(const std::string& text)
{
    if (hwnd_)
        SetWindowTextA(hwnd_, text.c_str());
}

std::string Window::Text() const
{
    if (!hwnd_)
        return std::string();
    int n = GetWindowTextLengthA(hwnd_);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(hwnd_, &text[0], n + 1);
    text.resize(static_cast<size_t>(n > 0 ? n : 0));
    return text;
}

bool Window::Visible() const
{
    return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE);
}

void Window::SetVisible(bool visible)
{
    if (hwnd_ && visible != Visible())
        ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::Enabled() const
{
    return hwnd_ && IsWindowEnabled(hwnd_);
}

void Window::SetEnabled(bool enabled)
{
    if (hwnd_)
        EnableWindow(hwnd_, enabled);
}

void Window::SetFont(HFONT font)
{
    font_ = font;
    if (hwnd_)
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

RECT Window::ClientRect() const
{
    RECT r{0, 0, 0, 0};
    if (hwnd_)
        GetClientRect(hwnd_, &r);
    return r;
}

int Window::ClientWidth() const
{
    RECT r = ClientRect();
    return r.right - r.left;
}

int Window::ClientHeight() const
{
    RECT r = ClientRect();
    return r.bottom - r.top;
}

COLORREF Window::BackgroundColor() const
{
    return GetSysColor(COLOR_BTNFACE);
}

void Window::RemoveChild(Control* child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void Window::AlignControls()
{
    if (!hwnd_)
        return;
    RECT r = ClientRect();
    // Tops, bottoms, lefts, rights, then the rest, each kind in creation order.
    const Align order[] = {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client};
    for (Align kind : order) {
        for (Control* c : children_) {
            if (c->align != kind || !c->Visible())
                continue;
            int w = std::max(0, static_cast<int>(r.right - r.left));
            int h = std::max(0, static_cast<int>(r.bottom - r.top));
            switch (kind) {
            case Align::Top: {
                int ch = std::min(c->DesignHeight(), h);
                c->Place(r.left, r.top, w, ch);
                r.top += ch;
                break;
            }
            case Align::Bottom: {
                int ch = std::min(c->DesignHeight(), h);
                c->Place(r.left, r.bottom - ch, w, ch);
                r.bottom -= ch;
                break;
            }
            case Align::Left: {
                int cw = std::min(c->DesignWidth(), w);
                c->Place(r.left, r.top, cw, h);
                r.left += cw;
                break;
            }
            case Align::Right: {
                int cw = std::min(c->DesignWidth(), w);
                c->Place(r.right - cw, r.top, cw, h);
                r.right -= cw;
                break;
            }
            default:
                c->Place(r.left, r.top, w, h);
                break;
            }
        }
    }
}

} // namespace ui
