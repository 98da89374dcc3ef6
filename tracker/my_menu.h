#pragma once
#include <windows.h>

#include "my_window.h"

// A menu resource of the program; the wrapper's window is the menu's owner.
class MyMenu : public MyWindow {
public:
    MyMenu() = default;
    ~MyMenu() override;

    // Loads the menu for `owner` and makes command 0 the default item.
    HWND Attach(HWND owner, int menuId) override { return Load(owner, menuId); }
    HWND Load(HWND owner, int menuId);

    HMENU Menu() const { return menu_; }
    HMENU FirstSubmenu() const { return GetSubMenu(menu_, 0); }

protected:
    HMENU menu_ = nullptr;
};

// The indicator's tray and context menu (menu 144).
class MyPopupMenu : public MyMenu {
public:
    // Shows the menu at the cursor; the chosen command reaches the owner's root window.
    void Track();

    // 3 disables the item, 0 enables it.
    void SetItemState(UINT command, UINT state);
    // Start disabled, and Show (code 5) or else Hide disabled.
    void UpdateShowHide(int showCode);

    void DisableHide();
    void EnableHide();
    void DisableShow();
    void EnableShow();
    void DisableStart();
    void EnableStart();
    void DisableStop();
    void EnableStop();
};
