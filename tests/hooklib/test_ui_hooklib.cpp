#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "hook_receiver.h"
#include "klr_hook.h"
#include "pump.h"
#include "test_process.h"
#include "top_windows.h"
#include "x_input.h"

namespace {

std::string DllPath()
{
    return std::string(KLR_DIST_DIR) + "\\klr.dll";
}

// Starts klr_testapp with its window at `x`,`y` and returns the window.
HWND StartApp(TestProcess& app, const std::string& title, int x = 100, int y = 100,
              std::vector<std::string> extra = {})
{
    std::vector<std::string> args = {"--title", title, "--pos", std::to_string(x), std::to_string(y),
                                     "--size", "360", "260"};
    args.insert(args.end(), extra.begin(), extra.end());
    if (!app.Start(TestAppPath(), args))
        return nullptr;
    return FindTopWindow(title, app.Pid());
}

class HookLib : public ::testing::Test {
protected:
    void SetUp() override
    {
        hooks_ = std::make_unique<HookReceiver>(DllPath());
        ASSERT_NE(hooks_->Library(), nullptr) << DllPath();
        ASSERT_TRUE(hooks_->Install());
    }

    void NeedInput()
    {
        if (!XInputAvailable())
            GTEST_SKIP() << "xdotool under Wine is not available";
    }

    std::unique_ptr<HookReceiver> hooks_;
};

} // namespace

TEST(HookLibExports, AreFoundByTheirPlainNames)
{
    HMODULE dll = LoadLibraryA(DllPath().c_str());
    ASSERT_NE(dll, nullptr) << DllPath();
    for (const char* name : {kSetHookName, kShellHookName, kMouseHookName, kKeyboardHookName})
        EXPECT_NE(GetProcAddress(dll, name), nullptr) << name;
    FreeLibrary(dll);
}

TEST_F(HookLib, NewWindowIsAnnouncedOnceVisibleWithItsTitle)
{
    TestProcess app;
    HWND w = StartApp(app, "klr hooks new");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(hooks_->WaitFor(kNewWindowCreatedMsg, w));
    const HookEvent* e = hooks_->Find(kNewWindowCreatedMsg, w);
    EXPECT_EQ(e->window, w);
    EXPECT_TRUE(e->visible);
    EXPECT_EQ(e->title, "klr hooks new");
    // Hidden helper windows of the program are not announced, and the
    // window only once.
    PumpFor(300);
    EXPECT_EQ(hooks_->CountOfProcess(kNewWindowCreatedMsg, app.Pid()), 1);
}

TEST_F(HookLib, WindowShownLaterIsAnnouncedWhenItShows)
{
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr hooks late", "--show-after", "1500"}));
    PumpFor(500);
    EXPECT_EQ(hooks_->CountOfProcess(kNewWindowCreatedMsg, app.Pid()), 0);
    HWND w = FindTopWindow("klr hooks late", app.Pid(), 5000);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(hooks_->WaitFor(kNewWindowCreatedMsg, w));
    EXPECT_TRUE(hooks_->Find(kNewWindowCreatedMsg, w)->visible);
    PumpFor(200);
    EXPECT_EQ(hooks_->CountOfProcess(kNewWindowCreatedMsg, app.Pid()), 1);
}

TEST_F(HookLib, ClosingReportsDestroyedWhileTheWindowStillExists)
{
    TestProcess app;
    HWND w = StartApp(app, "klr hooks close");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(hooks_->WaitFor(kNewWindowCreatedMsg, w));
    // The window must outlive a tracker that takes its time.
    hooks_->SetHandlingDelay(200);
    PostMessageA(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(hooks_->WaitFor(kWindowDestroyedMsg, w));
    const HookEvent* e = hooks_->Find(kWindowDestroyedMsg, w);
    EXPECT_TRUE(e->existed);
    EXPECT_EQ(e->title, "klr hooks close");
    EXPECT_EQ(e->pid, app.Pid());
    DWORD code = 1;
    ASSERT_TRUE(app.WaitForExit(5000, &code));
    EXPECT_EQ(code, 0u);
    // Its hidden helper windows went too, unreported: the tracker counted
    // one window for the program and hears of one going.
    PumpFor(200);
    EXPECT_EQ(hooks_->CountOfProcess(kWindowDestroyedMsg, app.Pid()), 1);
}

TEST_F(HookLib, HiddenWindowClosingIsReportedWhileItStillExists)
{
    // Without a window manager Wine waits up to 2 s while it unmaps a visible
    // window; a hidden one goes at once.
    TestProcess app;
    HWND w = StartApp(app, "klr hooks hide");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(hooks_->WaitFor(kNewWindowCreatedMsg, w));
    ShowWindowAsync(w, SW_HIDE);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(w); }, 5000));
    hooks_->SetHandlingDelay(200);
    PostMessageA(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(hooks_->WaitFor(kWindowDestroyedMsg, w));
    EXPECT_TRUE(hooks_->Find(kWindowDestroyedMsg, w)->existed);
    EXPECT_EQ(hooks_->Find(kWindowDestroyedMsg, w)->title, "klr hooks hide");
    EXPECT_TRUE(app.WaitForExit(5000));
}

TEST(HookLibLate, WindowOpenBeforeTheHooksIsReportedWhenItCloses)
{
    TestProcess app;
    HWND w = StartApp(app, "klr hooks earlier");
    ASSERT_NE(w, nullptr);
    HookReceiver hooks(DllPath());
    ASSERT_TRUE(hooks.Install());
    PostMessageA(w, WM_CLOSE, 0, 0);
    ASSERT_TRUE(hooks.WaitFor(kWindowDestroyedMsg, w));
    EXPECT_TRUE(hooks.Find(kWindowDestroyedMsg, w)->existed);
    EXPECT_EQ(hooks.Count(kNewWindowCreatedMsg, w), 0);
}

TEST_F(HookLib, MouseAndKeyboardInputAreReportedWithTheirWindow)
{
    NeedInput();
    TestProcess app;
    HWND w = StartApp(app, "klr hooks input");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(ActivateWindow(w));
    ASSERT_TRUE(hooks_->WaitFor(kWindowMousedMsg, w));
    ASSERT_TRUE(TypeText("abc"));
    ASSERT_TRUE(hooks_->WaitFor(kWindowKeyboradedMsg, w));
    // Keys went to the edit field inside the window.
    EXPECT_EQ(hooks_->Find(kWindowKeyboradedMsg, w)->window, FindWindowExA(w, nullptr, "Edit", nullptr));
}

TEST_F(HookLib, KeysAreNamedFromTheForegroundThreadWhicheverThreadRunsTheHook)
{
    NeedInput();
    TestProcess app;
    HWND w = StartApp(app, "klr hooks keys elsewhere");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(ActivateWindow(w));
    // On 64-bit Windows the system runs the hook for programs of the other
    // bitness on the thread that installed it; here, a thread of this test
    // whose own focus and active window are none.
    HOOKPROC keyboard = reinterpret_cast<HOOKPROC>(GetProcAddress(hooks_->Library(), kKeyboardHookName));
    ASSERT_NE(keyboard, nullptr);
    std::thread([&] { keyboard(HC_ACTION, 'A', 0x001E0001); }).join();
    ASSERT_TRUE(hooks_->WaitFor(kWindowKeyboradedMsg, w));
    EXPECT_EQ(hooks_->Find(kWindowKeyboradedMsg, w)->window, FindWindowExA(w, nullptr, "Edit", nullptr));
}

TEST_F(HookLib, ForegroundChangesAreReported)
{
    NeedInput();
    TestProcess a, b;
    HWND wa = StartApp(a, "klr hooks first", 60, 60);
    HWND wb = StartApp(b, "klr hooks second", 600, 60);
    ASSERT_NE(wa, nullptr);
    ASSERT_NE(wb, nullptr);
    for (HWND w : {wa, wb, wa}) {
        hooks_->Clear();
        ASSERT_TRUE(ActivateWindow(w));
        EXPECT_TRUE(hooks_->WaitFor(kWindowActivatedMsg, w)) << (w == wa ? "first" : "second");
    }
}

TEST_F(HookLib, ForegroundPassedOnWhenAWindowClosesIsReported)
{
    NeedInput();
    TestProcess a, b;
    HWND wa = StartApp(a, "klr hooks stays", 60, 60);
    HWND wb = StartApp(b, "klr hooks goes", 600, 60);
    ASSERT_NE(wa, nullptr);
    ASSERT_NE(wb, nullptr);
    ASSERT_TRUE(ActivateWindow(wa));
    ASSERT_TRUE(ActivateWindow(wb));
    hooks_->Clear();
    PostMessageA(wb, WM_CLOSE, 0, 0);
    ASSERT_TRUE(b.WaitForExit(5000));
    // No input since: the library saw the activation itself.
    EXPECT_TRUE(hooks_->WaitFor(kWindowActivatedMsg, wa, 3000));
}

TEST_F(HookLib, ManyMouseMovesGiveFewReports)
{
    NeedInput();
    TestProcess app;
    HWND w = StartApp(app, "klr hooks moves");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(ActivateWindow(w));
    PumpFor(300);
    hooks_->Clear();

    // 50 moves inside the window over about a second.
    POINT c = ClientCentre(w);
    std::string moves;
    for (int i = 0; i < 50; ++i)
        moves += "mousemove " + std::to_string(c.x - 50 + 2 * i) + " " + std::to_string(c.y) + " sleep 0.02 ";
    DWORD start = GetTickCount();
    ASSERT_TRUE(RunXdotool(moves));
    PumpFor(300);
    DWORD elapsed = GetTickCount() - start;
    int reports = hooks_->Count(kWindowMousedMsg, w);
    EXPECT_GE(reports, 2);
    EXPECT_LE(reports, static_cast<int>(elapsed / 200) + 2) << elapsed << " ms";
}

TEST_F(HookLib, InputMovingToAnotherWindowIsReportedAtOnce)
{
    NeedInput();
    TestProcess a, b;
    HWND wa = StartApp(a, "klr hooks left", 60, 60);
    HWND wb = StartApp(b, "klr hooks right", 600, 60);
    ASSERT_NE(wa, nullptr);
    ASSERT_NE(wb, nullptr);
    PumpFor(300);
    hooks_->Clear();
    POINT pa = ClientCentre(wa), pb = ClientCentre(wb);
    // From a spot outside both windows: the pointer may still rest where an
    // earlier test left it, and a move onto the same spot is no input.
    std::string moves = "mousemove 20 1000 sleep 0.05 ";
    for (int i = 0; i < 3; ++i) {
        moves += "mousemove " + std::to_string(pa.x) + " " + std::to_string(pa.y) + " sleep 0.05 ";
        moves += "mousemove " + std::to_string(pb.x) + " " + std::to_string(pb.y) + " sleep 0.05 ";
    }
    ASSERT_TRUE(RunXdotool(moves));
    PumpFor(300);
    // Three arrivals on each window, all within the gap that holds back further
    // reports of one window. A busy program may get two of its arrivals as one
    // move (Wine merges pointer motion that queues up), so two are enough; held back,
    // the second window would have none at all.
    int onA = hooks_->Count(kWindowMousedMsg, wa), onB = hooks_->Count(kWindowMousedMsg, wb);
    EXPECT_GE(onA, 2);
    EXPECT_LE(onA, 3);
    EXPECT_GE(onB, 2);
    EXPECT_LE(onB, 3);
}

TEST_F(HookLib, RemovingTheHooksStopsTheMessages)
{
    NeedInput();
    TestProcess before;
    HWND w = StartApp(before, "klr hooks before removal");
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(hooks_->WaitFor(kNewWindowCreatedMsg, w));
    // Lets in what was posted before, such as the pointer found over the
    // first window, and forgets it.
    auto settle = [&] {
        PostMessageA(hooks_->Window(), RegisterWindowMessageA(kWindowRedrawnMsg), 0, 0);
        EXPECT_TRUE(hooks_->WaitFor(kWindowRedrawnMsg, nullptr));
        hooks_->Clear();
    };

    // Without the three hooks no input is reported of a program started
    // afterwards, though its keys reach it; until the library is freed its
    // own hook still sees the window shown.
    hooks_->Unhook();
    settle();
    TestProcess after;
    HWND w2 = StartApp(after, "klr hooks after removal", 500, 100);
    ASSERT_NE(w2, nullptr);
    ASSERT_TRUE(ActivateWindow(w2));
    ASSERT_TRUE(TypeText("xy"));
    HWND edit = FindWindowExA(w2, nullptr, "Edit", nullptr);
    EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == "xy"; }, 5000));
    PostMessageA(w2, WM_CLOSE, 0, 0);
    EXPECT_TRUE(after.WaitForExit(5000));
    PumpFor(300);
    EXPECT_EQ(hooks_->Count(kNewWindowCreatedMsg, w2), 1);
    for (const HookEvent& e : hooks_->Events()) {
        EXPECT_NE(e.name, kWindowMousedMsg) << e.title;
        EXPECT_NE(e.name, kWindowKeyboradedMsg) << e.title;
    }

    // Freed as the tracker does at its end: nothing at all, not even of a
    // window shown and activated afterwards.
    hooks_->Uninstall();
    settle();
    TestProcess last;
    HWND w3 = StartApp(last, "klr hooks after freeing", 500, 100);
    ASSERT_NE(w3, nullptr);
    EXPECT_TRUE(ActivateWindow(w3));
    EXPECT_TRUE(ActivateWindow(w));
    for (HWND window : {w, w3})
        PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(before.WaitForExit(5000));
    EXPECT_TRUE(last.WaitForExit(5000));
    PumpFor(300);
    EXPECT_TRUE(hooks_->Events().empty()) << hooks_->Events().front().name;
}
