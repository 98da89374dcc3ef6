#include "message_box.h"

#include "top_windows.h"

namespace {

struct StaticSearch {
    std::string text;
};

BOOL CALLBACK VisitChild(HWND child, LPARAM param)
{
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof(cls));
    if (lstrcmpiA(cls, "Static") != 0)
        return TRUE;
    // The icon is a static control too, without text.
    std::string text = WindowText(child);
    if (text.empty())
        return TRUE;
    reinterpret_cast<StaticSearch*>(param)->text = text;
    return FALSE;
}

} // namespace

std::string MessageBoxText(HWND box)
{
    StaticSearch s;
    EnumChildWindows(box, VisitChild, reinterpret_cast<LPARAM>(&s));
    return s.text;
}

bool PressDialogButton(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (!button)
        return false;
    // What a click on the button sends its dialog.
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button)) != 0;
}
