#pragma once
#include <functional>

#include "window.h"

namespace ui {

class Button;

// A top-level window laid out in pixels: the application's main window or a
// dialog that is created once, hidden, and shown modally when needed.
class Form : public Window {
public:
    enum Border { kSizeable, kDialog };

    // Creates the form hidden with the client area given. Dialogs are owned
    // by `owner` and stay in front of it.
    void Create(const std::string& caption, int clientWidth, int clientHeight, Border border, HWND owner = nullptr,
                HICON icon = nullptr);
    // Centred on the screen.
    void CenterOnScreen();
    void SetClientSize(int width, int height);

    // Shows the form and runs its messages until a modal result is set; the
    // owner is disabled meanwhile. Returns the result (IDOK, IDCANCEL, ...).
    int ShowModal();
    bool IsModal() const { return modal_; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // A modal form closes with IDCANCEL; another is closed as if by the user.
    void Close();

    // Enter presses the default button, Escape the cancel button.
    void SetDefaultButton(Button* button) { defaultButton_ = button; }
    void SetCancelButton(Button* button) { cancelButton_ = button; }

    // Each time ShowModal is about to show the form.
    std::function<void()> onShow;
    // Each time the form becomes the active window.
    std::function<void()> onActivate;
    // A close request (the close box, Alt+F4, Close()): false keeps the form open.
    std::function<bool()> onCloseQuery;
    // The window is being destroyed.
    std::function<void()> onDestroy;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool modal_ = false;
    int modalResult_ = 0;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
};

} // namespace ui
