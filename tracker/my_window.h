#pragma once
#include <windows.h>

#include <memory>

// Thin wrappers over the tracker's windows and controls. A wrapper exists before
// its window and can be bound to a new one at any time (a dialog opened again).
class MyWindow {
public:
    MyWindow() = default;
    virtual ~MyWindow() = default;
    MyWindow(const MyWindow&) = delete;
    MyWindow& operator=(const MyWindow&) = delete;

    // Binds the wrapper to the control `id` of `parent`.
    virtual HWND Attach(HWND parent, int id);

    // Moves the window, keeping its size, and shows it.
    void SetPos(int x, int y, bool topmost);
    // Centres the client area's size in the full-screen area.
    void CenterOnScreen(bool topmost);
    void SetIcon(int iconId);
    void SetCaption(const char* text);
    int GetLeft() const;
    int GetTop() const;
    void Show(int showCode);

    void SetInstance(HINSTANCE instance) { instance_ = instance; }
    HINSTANCE Instance() const { return instance_; }
    HWND Handle() const { return window_; }
    void SetHandle(HWND window) { window_ = window; }
    const char* Caption() const { return text_; }

protected:
    HWND window_ = nullptr;
    HINSTANCE instance_ = nullptr;
    char text_[256] = {};
    int id_ = 0;
};

// An edit control addressed through its parent by the id given at construction.
class MyEdit : public MyWindow {
public:
    static constexpr int kBufferSize = 6400;

    explicit MyEdit(int id);

    void SetText(const char* text);
    // At most kBufferSize - 1 characters.
    const char* GetText();
    void AttachAndSetText(const char* text, HWND parent, int id);

private:
    std::unique_ptr<char[]> buffer_;
};

// A check box of a dialog: the wrapper's window is the dialog, its id the button's.
class MyCheckBox : public MyWindow {
public:
    MyCheckBox(HWND dialog, int id);

    int IsChecked() const;
    void SetCheck(int state);
};

class MyTrackBar : public MyWindow {
public:
    explicit MyTrackBar(int maximum) : maximum_(maximum) {}

    // Range 0..maximum, thumb at `position`.
    void AttachAndInit(HWND parent, int id, int position);
    int GetPos() const;

private:
    int maximum_;
};
