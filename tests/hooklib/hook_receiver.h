#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What a hook message showed when it was handled.
struct HookEvent {
    std::string name;   // the registered message's name
    HWND window;        // its long parameter
    HWND root;          // that window's top-level ancestor, as the tracker finds it
    bool existed;       // IsWindow
    bool visible;
    std::string title;  // GetWindowTextA
    DWORD pid;
};

// Plays the tracker's part: loads klr.dll, installs the three hooks the
// tracker's way and records every message the library sends its window.
class HookReceiver {
public:
    explicit HookReceiver(const std::string& dllPath);
    ~HookReceiver();
    HookReceiver(const HookReceiver&) = delete;
    HookReceiver& operator=(const HookReceiver&) = delete;

    HMODULE Library() const { return library_; }
    HWND Window() const { return window_; }

    // SetWindowsHookExA then SetHook, for shell, mouse and keyboard; false
    // when any step failed.
    bool Install();
    // UnhookWindowsHookEx on keyboard, mouse and shell, in that order.
    void Unhook();
    // Unhook, then FreeLibrary, as the tracker does when it ends.
    void Uninstall();

    // Handles each message only after this long, like a busy tracker.
    void SetHandlingDelay(DWORD ms) { delayMs_ = ms; }

    const std::vector<HookEvent>& Events() const { return events_; }
    void Clear() { events_.clear(); }

    // Events of that name whose root is `root`, or of process `pid`.
    int Count(const std::string& name, HWND root) const;
    int CountOfProcess(const std::string& name, DWORD pid) const;
    // Dispatches messages until such an event has come; false on timeout.
    bool WaitFor(const std::string& name, HWND root, DWORD timeoutMs = 5000);
    // The first such event, or null.
    const HookEvent* Find(const std::string& name, HWND root) const;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool Record(UINT message, LPARAM lParam);

    HMODULE library_ = nullptr;
    HWND window_ = nullptr;
    HHOOK hooks_[3] = {};
    std::vector<std::pair<UINT, std::string>> messages_;
    std::vector<HookEvent> events_;
    DWORD delayMs_ = 0;
};
