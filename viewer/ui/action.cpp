#include "action.h"

namespace ui {

std::string Action::ShortHint() const
{
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string Action::LongHint() const
{
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

std::string Action::ShortcutText() const
{
    if (!shortcut)
        return std::string();
    std::string text;
    if (shortcut & kCtrl)
        text += "Ctrl+";
    if (shortcut & kShift)
        text += "Shift+";
    if (shortcut & kAlt)
        text += "Alt+";
    int key = shortcut & 0xFF;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        text += static_cast<char>(key);
    else if (key >= VK_F1 && key <= VK_F12)
        text += "F" + std::to_string(key - VK_F1 + 1);
    else if (key == VK_DELETE)
        text += "Del";
    return text;
}

Action& ActionList::Add(int id, const std::string& caption, const std::string& hint, int shortcut,
                        std::function<void()> onExecute)
{
    Action a;
    a.id = id;
    a.caption = caption;
    a.hint = hint;
    a.shortcut = shortcut;
    a.onExecute = std::move(onExecute);
    actions_.push_back(std::move(a));
    return actions_.back();
}

Action* ActionList::Find(int id)
{
    for (Action& a : actions_) {
        if (a.id == id)
            return &a;
    }
    return nullptr;
}

const Action* ActionList::Find(int id) const
{
    return const_cast<ActionList*>(this)->Find(id);
}

bool ActionList::Execute(int id)
{
    Action* a = Find(id);
    if (!a || !a->enabled || !a->onExecute)
        return false;
    a->onExecute();
    return true;
}

bool ActionList::HandleShortcut(WORD key, int modifiers)
{
    int value = key | modifiers;
    for (Action& a : actions_) {
        if (a.shortcut == value && a.enabled) {
            // Copied: the handler may change the list's state.
            std::function<void()> run = a.onExecute;
            if (run)
                run();
            return true;
        }
    }
    return false;
}

int ActionList::CurrentModifiers()
{
    int m = 0;
    if (GetKeyState(VK_CONTROL) & 0x8000)
        m |= kCtrl;
    if (GetKeyState(VK_SHIFT) & 0x8000)
        m |= kShift;
    if (GetKeyState(VK_MENU) & 0x8000)
        m |= kAlt;
    return m;
}

} // namespace ui
