#include "startup.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstring>

#include "commands.h"
#include "file_write.h"
#include "indicator.h"
#include "indicator_parts.h"
#include "my_timer.h"
#include "process_identity.h"
#include "settings.h"
#include "stat_file.h"
#include "tracker_globals.h"
#include "tracker_ui.h"
#include "resource.h"
#include "tracker_messages.h"
#include "worker.h"

namespace {

void LibraryError(const char* text)
{
    TrackerMessageBox(nullptr, text, "Error", MB_OK | MB_ICONERROR);
}

// Another tracker runs: its indicator comes forward, this one ends.
int HandOverToRunningTracker()
{
    HWND running = FindWindowA(nullptr, "Kaltrow");
    SetForegroundWindow(running);
    ShowWindow(running, SW_SHOW);
    return 1;
}

// A strip left on a monitor that is gone since (undocked, unplugged) would
// open where nothing shows it: it comes back to the centre. One at least
// partly on a screen stays where the user put it.
void PlaceOnAScreen(HWND strip)
{
    RECT r = {};
    GetWindowRect(strip, &r);
    OffsetRect(&r, bannerSettings.Left() - r.left, bannerSettings.Top() - r.top);
    if (!MonitorFromRect(&r, MONITOR_DEFAULTTONULL))
        bannerSettings.SetPosition(BannerSettings::DefaultLeft(), BannerSettings::DefaultTop());
}

} // namespace

bool LoadTrackerLibraries()
{
    if (!hookLibrary.Load("klr.dll")) {
        LibraryError("Unable to find library \"klr.dll\"");
        return false;
    }
    if (!psapiLibrary.Load("psapi.dll")) {
        if (!kernelLibrary.Load("kernel32.dll")) {
            LibraryError("Error in system libarary");
            return false;
        }
        BindToolhelp(kernelLibrary.Handle());
    }
    if (!userLibrary.Load("user32.dll")) {
        LibraryError("Unable to find library \"user32.dll\"");
        return false;
    }
    BindPsapi(psapiLibrary.Handle());
    BindLayered(userLibrary.Handle());
    return true;
}

void OpenStatFiles()
{
    dayFile = new StatFileDay(&dayList);
    dayFile->Open(logSettings.LogPath());
    monthFile = new StatFileMonth(&monthList);
    monthFile->Open(logSettings.LogPath());
    yearFile = new StatFileYear(&yearList);
    yearFile->Open(logSettings.LogPath());
}

void RegisterHookMessages()
{
    NEW_WINDOW_CREATED = RegisterWindowMessageA("NEW_WINDOW_CREATED");
    WINDOW_ACTIVATED = RegisterWindowMessageA("WINDOW_ACTIVATED");
    WINDOW_DESTROYED = RegisterWindowMessageA("WINDOW_DESTROYED");
    WINDOW_MOUSED = RegisterWindowMessageA("WINDOW_MOUSED");
    WINDOW_KEYBORADED = RegisterWindowMessageA("WINDOW_KEYBORADED");
    WINDOW_REDRAWN = RegisterWindowMessageA("WINDOW_REDRAWN");
}

HWND CreateIndicator(HINSTANCE instance)
{
    indicatorDialog.CreateModeless();
    indicatorDialog.SetInstance(instance);
    indicatorDialog.SetIcon(IDI_TRACKING);
    indicatorDialog.AddTrayIcon(IDI_TRACKING);
    indicatorDialog.SetCaption("Kaltrow");
    indicatorDialog.SetTransparency(bannerSettings.Transparency());
    PlaceOnAScreen(indicatorDialog.Handle());
    indicatorDialog.SetPos(bannerSettings.Left(), bannerSettings.Top(), true);
    indicatorDialog.Show(bannerSettings.Show());
    indicatorWindow = indicatorDialog.Handle();
    return indicatorWindow;
}

void LoadPopupMenu()
{
    popupMenu.Load(indicatorWindow, IDR_POPUP_MENU);
    popupMenu.UpdateShowHide(bannerSettings.Show());
}

int RunMessageLoop()
{
    MSG message;
    for (;;) {
        BOOL result = GetMessageA(&message, nullptr, 0, 0);
        if (result == 0)
            return static_cast<int>(message.wParam);
        if (result == -1)
            return -1;
        // Only the indicator gets dialog-key handling.
        if (IsDialogMessageA(indicatorWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void EndWorker(HANDLE thread)
{
    workerEnding = true;
    ReleaseMutex(instanceMutex);
    if (thread) {
        // Bounded: a worker that met an error ends only once its box is closed,
        // and it touches nothing after that box.
        WaitForSingleObject(thread, kWorkerEndMs);
        CloseHandle(thread);
    }
}

void CALLBACK StatisticsTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    // Once a second, so a killed program's loaded time stops with the next tick.
    UncountVanishedWindows();
    SaveStatFiles();
}

int TrackerMain(HINSTANCE instance, const char* commandTail)
{
    CoInitialize(nullptr);
    bool sharedRead = logSettings.Load();
    if (std::strcmp(commandTail ? commandTail : "", "startup") == 0 && logSettings.Startup() != 1)
        return 0;
    if (!LoadTrackerLibraries())
        return 0;
    programInstance = instance;
    bool bannerRead = bannerSettings.Load();

    // A second start only reads: it hands over before it writes a settings file
    // or opens the log tree the running tracker saves into.
    instanceMutex = CreateMutexA(nullptr, TRUE, "mutex");
    if (instanceMutex && GetLastError() == ERROR_ALREADY_EXISTS)
        return HandOverToRunningTracker();
    if (!instanceMutex) {
        // Another kind of object holds the name: a running tracker is then known
        // by its indicator, and this one runs on a clock of its own.
        if (FindWindowA(nullptr, "Kaltrow"))
            return HandOverToRunningTracker();
        instanceMutex = CreateMutexA(nullptr, TRUE, nullptr);
    }
    // What a save cut short by a crash left beside the settings files.
    RemoveStaleTemporaries(logSettings.Path());
    RemoveStaleTemporaries(bannerSettings.Path());
    if (!sharedRead)
        logSettings.Save();
    if (!bannerRead)
        bannerSettings.Save();
    OpenStatFiles();
    statisticsMutex = CreateMutexA(nullptr, FALSE, "1");
    RegisterHookMessages();

    CreateIndicator(instance);
    new MyTimer(1, indicatorWindow, StatisticsTimerProc);
    LoadPopupMenu();
    DWORD threadId = 0;
    // The system raises the small stack request to its minimum.
    HANDLE worker = CreateThread(nullptr, 640, ActivityWorker, nullptr, 0, &threadId);

    int code = RunMessageLoop();
    EndWorker(worker);
    return code;
}
