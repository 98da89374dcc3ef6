#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A small window layer over Win32 and the common controls: one class per
// kind of control, each object found from its handle, so what a parent
// receives on a child's behalf (WM_COMMAND, WM_NOTIFY, WM_CONTEXTMENU) is
// handed back to the child's own object.
namespace ui {

// How a child takes its place in its parent when the parent is laid out.
enum class Align { None, Top, Bottom, Left, Right, Client };

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    // The object of a window this layer created; null for any other window.
    static Window* FromHandle(HWND hwnd);

    void SetText(const std::string& text);
    std::string Text() const;
    // The WS_VISIBLE bit: a child of a hidden form still counts as shown.
    bool Visible() const;
    virtual void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }
    RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    // The colour children paint behind themselves.
    virtual COLORREF BackgroundColor() const;

    // Children with an alignment, laid out in the order they were created.
    void AlignControls();

    // Messages a parent received for this window. True when handled.
    virtual bool OnReflectedCommand(WORD id, WORD code) { return false; }
    virtual bool OnReflectedNotify(NMHDR* header, LRESULT* result) { return false; }
    virtual bool OnReflectedContextMenu(POINT screen) { return false; }

    // Children register here when they are created over this window.
    void AddChild(class Control* child) { children_.push_back(child); }
    void RemoveChild(class Control* child);

protected:
    // A window of a class of this layer: every message comes to HandleMessage.
    HWND CreateOwn(const char* className, DWORD exStyle, DWORD style, const std::string& text, HWND parent,
                   const RECT& bounds, HMENU menuOrId);
    // A system control, subclassed so its messages pass HandleMessage first.
    HWND CreateSystem(const char* className, DWORD exStyle, DWORD style, const std::string& text, HWND parent,
                      const RECT& bounds, HMENU menuOrId);
    // Registers a class of this layer once per process.
    static void RegisterOwnClass(const char* className, UINT style, HCURSOR cursor, HICON icon);

    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // DefWindowProc for own windows, the control's procedure for system ones.
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

    HFONT font_ = nullptr;

private:
    static LRESULT CALLBACK OwnProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void Attach(HWND hwnd);
    void Detach();
    // Hands a child's WM_COMMAND, WM_NOTIFY or WM_CONTEXTMENU to the child's object.
    bool Reflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
    std::vector<class Control*> children_;
};

// A child window with a place in its parent's layout.
class Control : public Window {
public:
    ~Control() override;

    Align align = Align::None;

    void SetVisible(bool visible) override;
    // Sets the bounds and the size the layout gives the control.
    void SetBounds(int left, int top, int width, int height);
    // Where the layout puts it; the size it asked for stays.
    void Place(int left, int top, int width, int height);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int left);
    void SetWidth(int width);
    void SetHeight(int height);
    // The size the control asks its parent's layout for.
    int DesignWidth() const { return width_; }
    int DesignHeight() const { return height_; }
    // Bounds in the parent's client coordinates.
    RECT Bounds() const;
    Window* Parent() const { return parent_; }
    int Id() const;

protected:
    // Registers with the parent and takes over its font.
    void Adopt(Window& parent);
    // What the parent paints behind its children; the dialog colour before there is one.
    COLORREF ParentColor() const;
    // Fills the client area with one colour.
    void FillClient(HDC dc, COLORREF color) const;
    static RECT Rect(int left, int top, int width, int height) { return RECT{left, top, left + width, top + height}; }

    Window* parent_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// The instance of the program, for classes and resources.
HINSTANCE Instance();

// Runs the messages already waiting, then returns.
void ProcessMessages();

} // namespace ui
