#include "my_menu.h"

#include "process_identity.h"
#include "tracker_globals.h"
#include "resource.h"
#include "tracker_messages.h"

namespace {
constexpr UINT kDisabled = MFS_DISABLED;  // 3: grayed and disabled
constexpr UINT kEnabled = MFS_ENABLED;
}

MyMenu::~MyMenu()
{
    if (menu_)
        DestroyMenu(menu_);
}

HWND MyMenu::Load(HWND owner, int menuId)
{
    window_ = owner;
    id_ = menuId;
    HINSTANCE instance = programInstance ? programInstance : GetModuleHandleA(nullptr);
    menu_ = LoadMenuA(instance, MAKEINTRESOURCEA(menuId));
    SetMenuDefaultItem(FirstSubmenu(), ID_MENU_STATISTICS, FALSE);
    return window_;
}

void MyPopupMenu::Track()
{
    HWND root = RootWindow(window_);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(root);
    POINT cursor = {};
    GetCursorPos(&cursor);
    TrackPopupMenu(FirstSubmenu(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, root, nullptr);
    PostMessageA(root, WM_NULL, 0, 0);
}

void MyPopupMenu::SetItemState(UINT command, UINT state)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    info.fState = state;
    SetMenuItemInfoA(FirstSubmenu(), command, FALSE, &info);
}

void MyPopupMenu::UpdateShowHide(int showCode)
{
    DisableStart();
    if (showCode == SW_SHOW)
        DisableShow();
    else
        DisableHide();
}

void MyPopupMenu::DisableHide() { SetItemState(ID_MENU_HIDE, kDisabled); }
void MyPopupMenu::EnableHide() { SetItemState(ID_MENU_HIDE, kEnabled); }
void MyPopupMenu::DisableShow() { SetItemState(ID_MENU_SHOW, kDisabled); }
void MyPopupMenu::EnableShow() { SetItemState(ID_MENU_SHOW, kEnabled); }
void MyPopupMenu::DisableStart() { SetItemState(ID_MENU_START, kDisabled); }
void MyPopupMenu::EnableStart() { SetItemState(ID_MENU_START, kEnabled); }
void MyPopupMenu::DisableStop() { SetItemState(ID_MENU_STOP, kDisabled); }
void MyPopupMenu::EnableStop() { SetItemState(ID_MENU_STOP, kEnabled); }
