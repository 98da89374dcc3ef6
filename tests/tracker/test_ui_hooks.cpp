#include <gtest/gtest.h>

#include <string>

#include "process_identity.h"

namespace {

typedef int(WINAPI* CallsFn)(HHOOK*, HWND*, int*, int*);

std::string BesideThisProgram(const std::string& file)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string p = path;
    return p.substr(0, p.find_last_of('\\') + 1) + file;
}

template <typename Hook>
class Peek : public Hook {
public:
    using Hook::Hook;
    HHOOK Installed() const { return this->hook_; }
};

struct SetHookCall {
    int count = 0;
    HHOOK hook = nullptr;
    HWND window = nullptr;
    int type = 0;
    int extra = 0;
};

class Hooks : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }

    static SetHookCall Calls(const MyLibrary& library)
    {
        SetHookCall c;
        auto calls = reinterpret_cast<CallsFn>(reinterpret_cast<void*>(GetProcAddress(library.Handle(), "FakeSetHookCalls")));
        if (calls)
            c.count = calls(&c.hook, &c.window, &c.type, &c.extra);
        return c;
    }

    HWND window_ = nullptr;
};

} // namespace

TEST_F(Hooks, EachHookIsInstalledThenAnnouncedAndRemovedAtTheEnd)
{
    MyLibrary library;
    ASSERT_TRUE(library.Load(BesideThisProgram("fake_hooks_full.dll")));
    HHOOK shellHook, mouseHook, keyboardHook;
    {
        Peek<MyShellHook> shell(library.Handle(), window_, 0);
        SetHookCall c = Calls(library);
        EXPECT_EQ(c.count, 1);
        EXPECT_EQ(c.type, WH_SHELL);
        EXPECT_EQ(c.window, window_);
        EXPECT_EQ(c.extra, 0);
        shellHook = shell.Installed();
        EXPECT_NE(shellHook, nullptr);
        EXPECT_EQ(c.hook, shellHook);

        Peek<MyMouseHook> mouse(library.Handle(), window_, 0);
        c = Calls(library);
        EXPECT_EQ(c.count, 2);
        EXPECT_EQ(c.type, WH_MOUSE);
        mouseHook = mouse.Installed();
        EXPECT_EQ(c.hook, mouseHook);

        Peek<MyKeyboardHook> keyboard(library.Handle(), window_, 7);
        c = Calls(library);
        EXPECT_EQ(c.count, 3);
        EXPECT_EQ(c.type, WH_KEYBOARD);
        EXPECT_EQ(c.extra, 7);
        keyboardHook = keyboard.Installed();
        EXPECT_EQ(c.hook, keyboardHook);
        EXPECT_NE(keyboardHook, nullptr);
    }
    // The objects removed them: removing them again fails.
    EXPECT_FALSE(UnhookWindowsHookEx(shellHook));
    EXPECT_FALSE(UnhookWindowsHookEx(mouseHook));
    EXPECT_FALSE(UnhookWindowsHookEx(keyboardHook));
}

TEST_F(Hooks, MissingProcedureInstallsNothingAndAnnouncesNothing)
{
    MyLibrary library;
    ASSERT_TRUE(library.Load(BesideThisProgram("fake_hooks_mouse_only.dll")));
    {
        Peek<MyShellHook> shell(library.Handle(), window_, 0);
        Peek<MyKeyboardHook> keyboard(library.Handle(), window_, 0);
        EXPECT_EQ(shell.Installed(), nullptr);
        EXPECT_EQ(keyboard.Installed(), nullptr);
        EXPECT_EQ(Calls(library).count, 0);
        Peek<MyMouseHook> mouse(library.Handle(), window_, 0);
        EXPECT_NE(mouse.Installed(), nullptr);
        EXPECT_EQ(Calls(library).count, 1);
    }
}

TEST_F(Hooks, LibraryWithoutSetHookInstallsNothing)
{
    MyLibrary library;
    ASSERT_TRUE(library.Load(BesideThisProgram("fake_hooks_no_sethook.dll")));
    Peek<MyShellHook> shell(library.Handle(), window_, 0);
    Peek<MyMouseHook> mouse(library.Handle(), window_, 0);
    Peek<MyKeyboardHook> keyboard(library.Handle(), window_, 0);
    EXPECT_EQ(shell.Installed(), nullptr);
    EXPECT_EQ(mouse.Installed(), nullptr);
    EXPECT_EQ(keyboard.Installed(), nullptr);
}

TEST_F(Hooks, NoLibraryAtAll)
{
    Peek<MyShellHook> shell(nullptr, window_, 0);
    Peek<MyMouseHook> mouse(nullptr, window_, 0);
    EXPECT_EQ(shell.Installed(), nullptr);
    EXPECT_EQ(mouse.Installed(), nullptr);
}
