#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <deque>

namespace ui {

// Modifier bits of a shortcut value: the key code plus these.
enum : int { kShift = 0x2000, kCtrl = 0x4000, kAlt = 0x8000 };

// A command shared by menu items and tool buttons: its id, caption, hint
// ("short|long"; without "|" one text serves as both) and shortcut.
class Action {
public:
    int id = 0;
    std::string caption;
    std::string hint;
    int shortcut = 0;
    bool enabled = true;
    std::function<void()> onExecute;

    std::string ShortHint() const;
    std::string LongHint() const;
    // "Ctrl+N" and the like; empty without a shortcut.
    std::string ShortcutText() const;
};

class ActionList {
public:
    Action& Add(int id, const std::string& caption, const std::string& hint, int shortcut,
                std::function<void()> onExecute);
    Action* Find(int id);
    const Action* Find(int id) const;
    // Runs the action when it exists and is enabled.
    bool Execute(int id);
    // Runs the enabled action whose shortcut is this key with these
    // modifiers; false when there is none.
    bool HandleShortcut(WORD key, int modifiers);
    // The modifiers held down now, as the message loop sees them.
    static int CurrentModifiers();

private:
    std::deque<Action> actions_;   // references to actions stay valid as more are added
};

} // namespace ui
