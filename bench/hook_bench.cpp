// What the tracker's hooks cost other programs, and how quickly it starts.
//
//   hook_bench messages [count] [rounds] [folder]
//     Sends `count` messages (default 20000) from this process to a window of
//     klr_testapp, without hooks and then with the tracker's hooks installed
//     as the tracker installs them, `rounds` times (default 5); prints the
//     time per message. WM_NULL takes the message hook's common path, a
//     WM_SETTEXT of an unchanged title the path that looks at the window.
//
//   hook_bench restart [rounds] [folder]
//     With three klr_testapp windows open, starts the real tracker and times
//     its strip and its first save; kills it hard (kill -9) and times the next
//     start, `rounds` times (default 5).
//
// klr.dll and kaltrow.exe come from the dist folder, or from `folder`. The
// settings files of the prefix's data folder are put back afterwards and the
// statistics go to a temporary log folder.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "klr_hook.h"
#include "pump.h"
#include "test_process.h"
#include "top_windows.h"
#include "tracker_run.h"

namespace {

double NowMs()
{
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Figures {
    std::vector<double> values;
    void Print(const char* what, const char* unit) const
    {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        if (v.empty())
            return;
        std::printf("%-34s median %8.2f %s   range %8.2f .. %8.2f\n", what, v[v.size() / 2], unit, v.front(),
                    v.back());
        std::fflush(stdout);
    }
};

// The tracker's three hooks and SetHook, reporting to a hidden window here.
class Hooks {
public:
    explicit Hooks(const std::string& folder)
    {
        library_ = LoadLibraryA((folder + "\\klr.dll").c_str());
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KlrHookBench";
        RegisterClassA(&wc);
        window_ = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "klr hook bench", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~Hooks() { Remove(); }

    bool Install()
    {
        if (!library_)
            return false;
        SetHookProc setHook = reinterpret_cast<SetHookProc>(GetProcAddress(library_, kSetHookName));
        const int types[3] = {WH_SHELL, WH_MOUSE, WH_KEYBOARD};
        const char* procs[3] = {kShellHookName, kMouseHookName, kKeyboardHookName};
        for (int i = 0; i < 3; ++i) {
            HOOKPROC proc = reinterpret_cast<HOOKPROC>(GetProcAddress(library_, procs[i]));
            hooks_[i] = SetWindowsHookExA(types[i], proc, library_, 0);
            if (!hooks_[i] || !setHook)
                return false;
            setHook(hooks_[i], window_, types[i], 0);
        }
        return true;
    }

    void Remove()
    {
        for (int i = 2; i >= 0; --i) {
            if (hooks_[i])
                UnhookWindowsHookEx(hooks_[i]);
            hooks_[i] = nullptr;
        }
    }

private:
    HMODULE library_ = nullptr;
    HWND window_ = nullptr;
    HHOOK hooks_[3] = {};
};

double MicrosecondsPerMessage(HWND target, UINT message, const char* text, int count)
{
    double start = NowMs();
    for (int i = 0; i < count; ++i)
        SendMessageA(target, message, 0, reinterpret_cast<LPARAM>(text));
    return (NowMs() - start) * 1000.0 / count;
}

int Messages(int count, int rounds, const std::string& folder)
{
    TestProcess app;
    const char title[] = "klr hook bench target";
    if (!app.Start(TestAppPath(), {"--title", title})) {
        std::printf("cannot start klr_testapp\n");
        return 1;
    }
    HWND target = FindTopWindow(title, app.Pid());
    if (!target) {
        std::printf("no klr_testapp window\n");
        return 1;
    }
    Hooks hooks(folder);
    Figures plainNull, hookedNull, plainText, hookedText;
    for (int r = 0; r < rounds; ++r) {
        plainNull.values.push_back(MicrosecondsPerMessage(target, WM_NULL, nullptr, count));
        plainText.values.push_back(MicrosecondsPerMessage(target, WM_SETTEXT, title, count / 4));
        if (!hooks.Install()) {
            std::printf("cannot install the hooks from %s\n", folder.c_str());
            return 1;
        }
        // The first message loads the library into the application.
        SendMessageA(target, WM_NULL, 0, 0);
        hookedNull.values.push_back(MicrosecondsPerMessage(target, WM_NULL, nullptr, count));
        hookedText.values.push_back(MicrosecondsPerMessage(target, WM_SETTEXT, title, count / 4));
        hooks.Remove();
        PumpFor(50);
    }
    std::printf("%d messages a round, %d rounds, to another process\n", count, rounds);
    plainNull.Print("WM_NULL without hooks", "us");
    hookedNull.Print("WM_NULL with the hooks", "us");
    plainText.Print("WM_SETTEXT without hooks", "us");
    hookedText.Print("WM_SETTEXT with the hooks", "us");
    PostMessageA(target, WM_CLOSE, 0, 0);
    app.WaitForExit(5000);
    return 0;
}

// Starts the tracker; the milliseconds until its strip is visible and until
// its first save, or negative ones when it did not get there.
bool TimedStart(const TrackerWorld& world, const std::string& folder, TestProcess& tracker, double& strip,
                double& save)
{
    std::string day = DayFileOf(world.LogPath());
    DeleteFileA(day.c_str());
    double start = NowMs();
    if (!world.Start(tracker, "", folder + "\\kaltrow.exe"))
        return false;
    HWND indicator = nullptr;
    strip = save = -1;
    PumpUntil([&] {
        if (!indicator)
            indicator = world.WaitForIndicator(tracker.Pid(), 0);
        if (strip < 0 && indicator && IsWindowVisible(indicator))
            strip = NowMs() - start;
        if (save < 0 && GetFileAttributesA(day.c_str()) != INVALID_FILE_ATTRIBUTES)
            save = NowMs() - start;
        return strip >= 0 && save >= 0;
    }, 20000);
    return strip >= 0 && save >= 0;
}

int Restart(int rounds, const std::string& folder)
{
    TrackerWorld world;
    TestProcess apps[3];
    HWND windows[3] = {};
    for (int i = 0; i < 3; ++i) {
        std::string title = "klr restart bench " + std::to_string(i);
        if (!apps[i].Start(TestAppPath(), {"--title", title, "--pos", std::to_string(60 + 300 * i), "100"}) ||
            !(windows[i] = FindTopWindow(title, apps[i].Pid()))) {
            std::printf("cannot start klr_testapp\n");
            return 1;
        }
    }
    Figures firstStrip, firstSave, againStrip, againSave;
    for (int r = 0; r < rounds; ++r) {
        // The first round is a first start; later ones follow a close request.
        TestProcess tracker;
        double strip, save;
        if (!TimedStart(world, folder, tracker, strip, save)) {
            std::printf("the tracker did not start\n");
            return 1;
        }
        firstStrip.values.push_back(strip);
        firstSave.values.push_back(save);
        // Killed while a tracked program has the foreground, as in use.
        SetForegroundWindow(windows[r % 3]);
        PumpFor(300);
        if (!HardKillTracker(tracker)) {
            std::printf("cannot kill the tracker\n");
            return 1;
        }
        TestProcess again;
        if (!TimedStart(world, folder, again, strip, save)) {
            std::printf("the tracker did not start after a hard kill\n");
            return 1;
        }
        againStrip.values.push_back(strip);
        againSave.values.push_back(save);
        std::printf("round %d: strip %.0f / %.0f ms, first save %.0f / %.0f ms (after a close / a hard kill)\n", r + 1,
                    firstStrip.values.back(), strip, firstSave.values.back(), save);
        std::fflush(stdout);
        SetForegroundWindow(windows[r % 3]);
        PumpFor(300);
        CloseTracker(again, world.WaitForIndicator(again.Pid()));
    }
    std::printf("%d rounds, 3 windows open\n", rounds);
    firstStrip.Print("strip shown, after a close", "ms");
    firstSave.Print("first save, after a close", "ms");
    againStrip.Print("strip shown, after a hard kill", "ms");
    againSave.Print("first save, after a hard kill", "ms");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string mode = argc > 1 ? argv[1] : "messages";
    if (mode == "messages")
        return Messages(argc > 2 ? std::atoi(argv[2]) : 20000, argc > 3 ? std::atoi(argv[3]) : 5,
                        argc > 4 ? argv[4] : DistFolder());
    if (mode == "restart")
        return Restart(argc > 2 ? std::atoi(argv[2]) : 5, argc > 3 ? argv[3] : DistFolder());
    std::printf("usage: hook_bench messages [count] [rounds] [folder] | restart [rounds] [folder]\n");
    return 2;
}
