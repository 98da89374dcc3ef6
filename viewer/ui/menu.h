#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "action.h"

namespace ui {

// A menu bar or a popup menu whose items carry out actions. Each item keeps
// its own caption and enabled state; the images are drawn from a small
// image list when the owner window passes on WM_MEASUREITEM and WM_DRAWITEM.
class Menu {
public:
    Menu() = default;
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    void CreateBar();
    void CreatePopup();
    HMENU Handle() const { return menu_; }
    void SetImages(HIMAGELIST images) { images_ = images; }

    // A drop-down menu of the bar.
    HMENU AddSubmenu(const std::string& caption, const std::string& hint);
    // An item for the action in `menu` (the popup itself: null). An empty
    // caption takes the action's; an empty hint its long hint.
    void AddItem(HMENU menu, const Action& action, const std::string& caption = std::string(), int image = -1,
                 const std::string& hint = std::string());
    void AddSeparator(HMENU menu);

    void SetItemCaption(int id, const std::string& caption);
    std::string ItemCaption(int id) const;
    void EnableItem(int id, bool enabled);
    bool ItemEnabled(int id) const;

    // The long hint of what WM_MENUSELECT names; empty when none.
    std::string HintOf(WPARAM wParam, HMENU menu) const;
    bool MeasureItem(MEASUREITEMSTRUCT* measure) const;
    bool DrawItem(const DRAWITEMSTRUCT* draw) const;

    // Shows the popup at a screen point; its command goes to the owner.
    void Popup(HWND owner, POINT screen) const;

private:
    struct Item {
        int id;
        HMENU parent;
        std::string caption;
        std::string shortcut;
        std::string hint;
        int image;
    };
    struct Submenu {
        HMENU menu;
        std::string hint;
    };
    const Item* FindItem(int id) const;
    void ApplyText(const Item& item) const;

    HMENU menu_ = nullptr;
    bool owned_ = false;
    HIMAGELIST images_ = nullptr;
    std::vector<Item> items_;
    std::vector<Submenu> submenus_;
};

} // namespace ui
