#include "menu.h"

namespace ui {

namespace {

const int kImageSize = 16;

} // namespace

Menu::~Menu()
{
    // A bar belongs to its window, which destroys it.
    if (menu_ && owned_)
        DestroyMenu(menu_);
}

void Menu::CreateBar()
{
    menu_ = CreateMenu();
    owned_ = false;
}

void Menu::CreatePopup()
{
    menu_ = CreatePopupMenu();
    owned_ = true;
}

HMENU Menu::AddSubmenu(const std::string& caption, const std::string& hint)
{
    HMENU sub = CreatePopupMenu();
    AppendMenuA(menu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), caption.c_str());
    submenus_.push_back({sub, hint});
    return sub;
}

void Menu::AddItem(HMENU menu, const Action& action, const std::string& caption, int image, const std::string& hint)
{
    HMENU parent = menu ? menu : menu_;
    Item item{action.id, parent, caption.empty() ? action.caption : caption, action.ShortcutText(),
              hint.empty() ? action.LongHint() : hint, image};
    AppendMenuA(parent, MF_STRING, static_cast<UINT_PTR>(action.id), "");
    items_.push_back(item);
    ApplyText(item);
    if (image >= 0) {
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = MIIM_BITMAP | MIIM_DATA;
        info.hbmpItem = HBMMENU_CALLBACK;
        info.dwItemData = static_cast<ULONG_PTR>(image);
        SetMenuItemInfoA(parent, static_cast<UINT>(action.id), FALSE, &info);
    }
}

void Menu::AddSeparator(HMENU menu)
{
    AppendMenuA(menu ? menu : menu_, MF_SEPARATOR, 0, nullptr);
}

const Menu::Item* Menu::FindItem(int id) const
{
    for (const Item& item : items_) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

void Menu::ApplyText(const Item& item) const
{
    std::string text = item.caption;
    if (!item.shortcut.empty())
        text += "\t" + item.shortcut;
    MENUITEMINFOA info;
    ZeroMemory(&info, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text.c_str());
    SetMenuItemInfoA(item.parent, static_cast<UINT>(item.id), FALSE, &info);
}

void Menu::SetItemCaption(int id, const std::string& caption)
{
    for (Item& item : items_) {
        if (item.id == id) {
            item.caption = caption;
            ApplyText(item);
        }
    }
}

std::string Menu::ItemCaption(int id) const
{
    const Item* item = FindItem(id);
    return item ? item->caption : std::string();
}

void Menu::EnableItem(int id, bool enabled)
{
    for (const Item& item : items_) {
        if (item.id == id)
            EnableMenuItem(item.parent, static_cast<UINT>(id), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
}

bool Menu::ItemEnabled(int id) const
{
    const Item* item = FindItem(id);
    if (!item)
        return false;
    UINT state = GetMenuState(item->parent, static_cast<UINT>(id), MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_GRAYED | MF_DISABLED));
}

std::string Menu::HintOf(WPARAM wParam, HMENU menu) const
{
    UINT flags = HIWORD(wParam);
    UINT item = LOWORD(wParam);
    if (flags == 0xFFFF && !menu)
        return std::string();
    if (flags & MF_POPUP) {
        HMENU sub = GetSubMenu(menu, static_cast<int>(item));
        for (const Submenu& s : submenus_) {
            if (s.menu == sub)
                return s.hint;
        }
        return std::string();
    }
    const Item* found = FindItem(static_cast<int>(item));
    return found ? found->hint : std::string();
}

bool Menu::MeasureItem(MEASUREITEMSTRUCT* measure) const
{
    if (measure->CtlType != ODT_MENU || !FindItem(static_cast<int>(measure->itemID)))
        return false;
    measure->itemWidth = kImageSize;
    measure->itemHeight = kImageSize;
    return true;
}

bool Menu::DrawItem(const DRAWITEMSTRUCT* draw) const
{
    if (draw->CtlType != ODT_MENU || !FindItem(static_cast<int>(draw->itemID)) || !images_)
        return false;
    int image = static_cast<int>(draw->itemData);
    int y = draw->rcItem.top + (draw->rcItem.bottom - draw->rcItem.top - kImageSize) / 2;
    UINT style = (draw->itemState & ODS_GRAYED) ? ILD_TRANSPARENT | ILD_BLEND50 : ILD_TRANSPARENT;
    ImageList_Draw(images_, image, draw->hDC, draw->rcItem.left, y, style);
    return true;
}

void Menu::Popup(HWND owner, POINT screen) const
{
    // The owner comes to the front first, so the popup closes when the
    // user clicks elsewhere.
    SetForegroundWindow(owner);
    TrackPopupMenu(menu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
}

} // namespace ui
