#include "hook_receiver.h"

#include "klr_hook.h"
#include "pump.h"

namespace {

const char kClassName[] = "KlrHookReceiver";

} // namespace

HookReceiver::HookReceiver(const std::string& dllPath)
{
    library_ = LoadLibraryA(dllPath.c_str());
    for (const char* name : {kNewWindowCreatedMsg, kWindowActivatedMsg, kWindowDestroyedMsg, kWindowMousedMsg,
                             kWindowKeyboradedMsg, kWindowRedrawnMsg})
        messages_.emplace_back(RegisterWindowMessageA(name), name);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    // A hidden top-level window, like the tracker's indicator before it shows.
    window_ = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "klr hook receiver", WS_POPUP, 0, 0, 10, 10,
                              nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

HookReceiver::~HookReceiver()
{
    Uninstall();
    if (window_)
        DestroyWindow(window_);
}

bool HookReceiver::Install()
{
    if (!library_ || !window_)
        return false;
    SetHookProc setHook = reinterpret_cast<SetHookProc>(GetProcAddress(library_, kSetHookName));
    const struct {
        int type;
        const char* proc;
    } order[3] = {{WH_SHELL, kShellHookName}, {WH_MOUSE, kMouseHookName}, {WH_KEYBOARD, kKeyboardHookName}};
    bool ok = setHook != nullptr;
    for (int i = 0; i < 3; ++i) {
        HOOKPROC proc = reinterpret_cast<HOOKPROC>(GetProcAddress(library_, order[i].proc));
        hooks_[i] = proc ? SetWindowsHookExA(order[i].type, proc, library_, 0) : nullptr;
        ok = ok && hooks_[i];
        if (setHook)
            setHook(hooks_[i], window_, order[i].type, 0);
    }
    return ok;
}

void HookReceiver::Unhook()
{
    for (int i = 2; i >= 0; --i) {
        if (hooks_[i])
            UnhookWindowsHookEx(hooks_[i]);
        hooks_[i] = nullptr;
    }
}

void HookReceiver::Uninstall()
{
    Unhook();
    if (library_)
        FreeLibrary(library_);
    library_ = nullptr;
}

int HookReceiver::Count(const std::string& name, HWND root) const
{
    int n = 0;
    for (const HookEvent& e : events_)
        n += e.name == name && e.root == root;
    return n;
}

int HookReceiver::CountOfProcess(const std::string& name, DWORD pid) const
{
    int n = 0;
    for (const HookEvent& e : events_)
        n += e.name == name && e.pid == pid;
    return n;
}

const HookEvent* HookReceiver::Find(const std::string& name, HWND root) const
{
    for (const HookEvent& e : events_) {
        if (e.name == name && e.root == root)
            return &e;
    }
    return nullptr;
}

bool HookReceiver::WaitFor(const std::string& name, HWND root, DWORD timeoutMs)
{
    return PumpUntil([&] { return Find(name, root) != nullptr; }, timeoutMs);
}

bool HookReceiver::Record(UINT message, LPARAM lParam)
{
    for (const auto& m : messages_) {
        if (m.first != message)
            continue;
        if (delayMs_)
            Sleep(delayMs_);
        HookEvent e;
        e.name = m.second;
        e.window = reinterpret_cast<HWND>(lParam);
        e.root = GetAncestor(e.window, GA_ROOTOWNER);
        e.existed = IsWindow(e.window) != FALSE;
        e.visible = IsWindowVisible(e.window) != FALSE;
        char title[256] = {};
        GetWindowTextA(e.window, title, sizeof(title));
        e.title = title;
        e.pid = 0;
        GetWindowThreadProcessId(e.window, &e.pid);
        events_.push_back(e);
        return true;
    }
    return false;
}

LRESULT CALLBACK HookReceiver::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HookReceiver* self = reinterpret_cast<HookReceiver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self && message >= 0xC000 && self->Record(message, lParam))
        return 1;
    return DefWindowProcA(window, message, wParam, lParam);
}
