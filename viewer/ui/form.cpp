#include "form.h"

#include "controls.h"

namespace ui {

namespace {

const char kFormClass[] = "KlrForm";

DWORD StyleOf(Form::Border border)
{
    // Dialogs paint behind their children: a group box leaves its inside to
    // the form.
    return border == Form::kSizeable ? WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN
                                     : WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
}

} // namespace

void Form::Create(const std::string& caption, int clientWidth, int clientHeight, Border border, HWND owner,
                  HICON icon)
{
    RegisterOwnClass(kFormClass, CS_DBLCLKS, nullptr, nullptr);
    DWORD style = StyleOf(border);
    DWORD exStyle = border == kDialog ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT;
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    RECT bounds{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + (r.right - r.left),
                CW_USEDEFAULT + (r.bottom - r.top)};
    if (border == kDialog)
        bounds = RECT{0, 0, r.right - r.left, r.bottom - r.top};
    CreateOwn(kFormClass, exStyle, style, caption, owner, bounds, nullptr);
    if (icon) {
        SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    SetClientSize(clientWidth, clientHeight);
}

void Form::SetClientSize(int width, int height)
{
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), GetMenu(Handle()) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::CenterOnScreen()
{
    RECT r;
    GetWindowRect(Handle(), &r);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int w = r.right - r.left, h = r.bottom - r.top;
    int x = work.left + ((work.right - work.left) - w) / 2;
    int y = work.top + ((work.bottom - work.top) - h) / 2;
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::ShowModal()
{
    HWND owner = GetWindow(Handle(), GW_OWNER);
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    modal_ = true;
    modalResult_ = 0;
    if (onShow)
        onShow();
    ShowWindow(Handle(), SW_SHOW);
    SetActiveWindow(Handle());
    HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (first)
        SetFocus(first);
    MSG msg;
    while (modalResult_ == 0) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            // The program is ending: leave the quit for the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = IDCANCEL;
            break;
        }
        if (!IsDialogMessageA(Handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // The owner is enabled before the form hides, so it gets the activation back.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    ShowWindow(Handle(), SW_HIDE);
    if (owner)
        SetActiveWindow(owner);
    modal_ = false;
    return modalResult_;
}

void Form::Close()
{
    if (modal_) {
        modalResult_ = IDCANCEL;
        return;
    }
    PostMessageA(Handle(), WM_CLOSE, 0, 0);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT r = ClientRect();
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && onActivate)
            onActivate();
        break;
    case DM_GETDEFID:
        if (defaultButton_)
            return MAKELRESULT(defaultButton_->Id(), DC_HASDEFID);
        return 0;
    case WM_COMMAND:
        // Escape comes as IDCANCEL and Enter without a default button as IDOK.
        if (lParam == 0 || reinterpret_cast<HWND>(lParam) == GetDlgItem(Handle(), LOWORD(wParam))) {
            if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == BN_CLICKED) {
                if (cancelButton_)
                    cancelButton_->Click();
                return 0;
            }
        }
        break;
    case WM_CLOSE:
        if (onCloseQuery && !onCloseQuery())
            return 0;
        if (modal_) {
            modalResult_ = IDCANCEL;
            return 0;
        }
        if (GetWindow(Handle(), GW_OWNER)) {
            ShowWindow(Handle(), SW_HIDE);   // dialogs are kept for their next showing
            return 0;
        }
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        if (onDestroy)
            onDestroy();
        break;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

} // namespace ui
