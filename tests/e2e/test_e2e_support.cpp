#include <gtest/gtest.h>

#include "message_box.h"
#include "pump.h"
#include "test_support.h"
#include "test_process.h"
#include "top_windows.h"
#include "x_input.h"

namespace {

std::string ComSpec()
{
    char path[MAX_PATH] = {};
    GetEnvironmentVariableA("ComSpec", path, sizeof(path));
    return path[0] ? path : "C:\\windows\\system32\\cmd.exe";
}

} // namespace

TEST(TestProcess, ReportsTheExitCodeAndRunsInTheGivenFolder)
{
    TempDir dir;
    TestProcess cmd;
    ASSERT_TRUE(cmd.Start(ComSpec(), {"/c", "echo here>where.txt& exit 7"}, dir.Path()));
    EXPECT_NE(cmd.Pid(), 0u);
    DWORD code = 0;
    ASSERT_TRUE(cmd.WaitForExit(10000, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_FALSE(cmd.IsRunning());
    EXPECT_TRUE(FileExists(dir / "where.txt"));
}

TEST(TestProcess, WaitTimesOutWhileTheProgramRunsAndTheDestructorEndsIt)
{
    HANDLE process = nullptr;
    {
        TestProcess app;
        ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr e2e wait"}));
        DWORD start = GetTickCount();
        EXPECT_FALSE(app.WaitForExit(200));
        EXPECT_LT(GetTickCount() - start, 2000u);
        EXPECT_TRUE(app.IsRunning());
        DuplicateHandle(GetCurrentProcess(), app.Handle(), GetCurrentProcess(), &process, SYNCHRONIZE,
                        FALSE, 0);
    }
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 5000), WAIT_OBJECT_0);
    CloseHandle(process);
}

TEST(TestProcess, ArgumentsArriveUnchanged)
{
    // Spaces, quotes and backslashes, also before a quote and at the end.
    const std::string title = "a \"quoted\" \\\"title\\ with\\\\ ends\\";
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", title}));
    EXPECT_NE(FindTopWindow(title, app.Pid()), nullptr);
    EXPECT_EQ(QuoteArgument("plain"), "plain");
    EXPECT_EQ(QuoteArgument(""), "\"\"");
}

TEST(TopWindows, FindsTheWindowByTitleAndProcessAndClosesOnWmClose)
{
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr e2e find", "--pos", "150", "120"}));
    HWND w = FindTopWindow("klr e2e find", app.Pid());
    ASSERT_NE(w, nullptr);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(FindTopWindow("klr e2e find", app.Pid() + 4, 200), nullptr);
    EXPECT_EQ(FindTopWindow("klr e2e fin", 0, 200), nullptr);

    PostMessageA(w, WM_CLOSE, 0, 0);
    DWORD code = 1;
    ASSERT_TRUE(app.WaitForExit(5000, &code));
    EXPECT_EQ(code, 0u);
}

TEST(MessageBoxes, TextIsReadAndTheChosenButtonEndsTheBox)
{
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr e2e box", "--message-box", "Save the day?"}));
    HWND box = FindDialog(app.Pid());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "klr e2e box");
    EXPECT_EQ(MessageBoxText(box), "Save the day?");
    EXPECT_FALSE(PressDialogButton(box, IDCANCEL));
    EXPECT_TRUE(PressDialogButton(box, IDNO));
    DWORD code = 0;
    ASSERT_TRUE(app.WaitForExit(5000, &code));
    EXPECT_EQ(code, static_cast<DWORD>(IDNO));
}

TEST(XInput, ShellQuoteKeepsEveryCharacter)
{
    EXPECT_EQ(ShellQuote("a b"), "'a b'");
    EXPECT_EQ(ShellQuote("it's"), "'it'\\''s'");
    EXPECT_EQ(ShellQuote(""), "''");
}

TEST(XInput, MouseAndKeysReachTheWindowUnderThePointer)
{
    if (!XInputAvailable())
        GTEST_SKIP() << "xdotool under Wine is not available";
    TestProcess app;
    ASSERT_TRUE(app.Start(TestAppPath(), {"--title", "klr e2e input", "--pos", "200", "150"}));
    HWND w = FindTopWindow("klr e2e input", app.Pid());
    ASSERT_NE(w, nullptr);

    ASSERT_TRUE(ActivateWindow(w));
    EXPECT_EQ(GetForegroundWindow(), w);

    ASSERT_TRUE(MouseMoveTo(260, 230));
    POINT p = {};
    EXPECT_TRUE(PumpUntil([&] { return GetCursorPos(&p) && p.x == 260 && p.y == 230; }, 3000))
        << p.x << "," << p.y;

    HWND edit = FindWindowExA(w, nullptr, "Edit", nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(TypeText("It's \"typed\" 1+1"));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == "It's \"typed\" 1+1"; }, 5000))
        << WindowText(edit);
    ASSERT_TRUE(PressKey("BackSpace"));
    EXPECT_TRUE(PumpUntil([&] { return WindowText(edit) == "It's \"typed\" 1+"; }, 5000));
    EXPECT_FALSE(RunXdotool("no-such-command"));
}
