#include "top_windows.h"

#include "pump.h"

namespace {

struct Search {
    const std::function<bool(HWND)>* match;
    HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM param)
{
    Search* s = reinterpret_cast<Search*>(param);
    if (IsWindowVisible(window) && (*s->match)(window)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

} // namespace

HWND WaitForTopWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs)
{
    Search s{&match, nullptr};
    PumpUntil([&] {
        EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
    }, timeoutMs);
    return s.found;
}

HWND FindTopWindow(const std::string& title, DWORD pid, DWORD timeoutMs)
{
    return WaitForTopWindow([&](HWND w) {
        return (pid == 0 || WindowProcessId(w) == pid) && WindowText(w) == title;
    }, timeoutMs);
}

HWND FindDialog(DWORD pid, DWORD timeoutMs)
{
    return WaitForTopWindow([&](HWND w) {
        return WindowProcessId(w) == pid && ClassOf(w) == "#32770";
    }, timeoutMs);
}

std::string WindowText(HWND window)
{
    // WM_GETTEXT asks the window itself, so controls of other processes
    // answer with their current text.
    char text[1024] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 2000, &copied))
        return std::string();
    return std::string(text, copied < sizeof(text) ? copied : sizeof(text) - 1);
}

DWORD WindowProcessId(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}
