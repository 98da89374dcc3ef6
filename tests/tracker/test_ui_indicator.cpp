#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "commands.h"
#include "indicator.h"
#include "indicator_parts.h"
#include "settings.h"
#include "tracker_globals.h"
#include "resource.h"
#include "tracker_messages.h"
#include "ui_support.h"
#include "worker.h"

namespace {

using Block = std::vector<COLORREF>;

Block FaceBlock(HDC dc, int left, int width)
{
    Block block;
    for (int y = 0; y < kFaceHeight; ++y)
        for (int x = left; x < left + width; ++x)
            block.push_back(GetPixel(dc, x, y));
    return block;
}

// Lit cells as painted: cell 0 is always lit, so cells that look like it are lit.
// Returns -1 when the lit ones are not all on the left.
int LitCellsOnFace()
{
    HWND indicator = World().indicator;
    SendMessageA(indicator, WM_PAINT, 0, 0);
    HDC dc = GetWindowDC(indicator);
    Block lit = FaceBlock(dc, kBarLeft, 6);
    int count = 0;
    bool gap = false;
    for (int i = 0; i < 20; ++i) {
        if (FaceBlock(dc, kBarLeft + i * 6, 6) == lit) {
            if (gap)
                count = -100;
            ++count;
        } else {
            gap = true;
        }
    }
    ReleaseDC(indicator, dc);
    return count < 0 ? -1 : count;
}

Block PaintedBlock(int left, int width)
{
    HWND indicator = World().indicator;
    SendMessageA(indicator, WM_PAINT, 0, 0);
    HDC dc = GetWindowDC(indicator);
    Block block = FaceBlock(dc, left, width);
    ReleaseDC(indicator, dc);
    return block;
}

// Mouse messages are posted: they then carry the pointer's position at that moment,
// as the input queue's messages do.
void PostMouse(UINT message)
{
    PostMessageA(World().indicator, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, 0);
    Pump(20);
}

void MoveOver(int x)
{
    CursorToClient(x, 9);
    PostMouse(WM_MOUSEMOVE);
}

void ClickAt(int x)
{
    CursorToClient(x, 9);
    PostMouse(WM_LBUTTONDOWN);
    PostMouse(WM_LBUTTONUP);
}

std::string BannerFile()
{
    return World().dataFolder + "\\banner.ini";
}

HICON Icon(int id)
{
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
}

} // namespace

TEST(IndicatorFace, BarLightsOneCellPerFivePercentFromTheLeft)
{
    ResetIndicator();
    for (auto [percent, lit] : {std::pair{0u, 1}, {4u, 1}, {5u, 2}, {95u, 20}, {99u, 20}, {100u, 20}}) {
        SetActivity(percent, std::to_string(percent));
        EXPECT_EQ(LitCellsOnFace(), lit) << percent << "%";
    }
    SetActivity(0, "");
}

// A skin picture of the program folder as the face would show it.
Block PictureBlock(const char* file, int width)
{
    HBITMAP picture = static_cast<HBITMAP>(LoadImageA(nullptr, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!picture)
        return Block();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, width, kFaceHeight);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldTarget = SelectObject(dc, target);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ oldSource = SelectObject(source, picture);
    BitBlt(dc, 0, 0, width, kFaceHeight, source, 0, 0, SRCCOPY);
    Block block = FaceBlock(dc, 0, width);
    SelectObject(source, oldSource);
    DeleteDC(source);
    SelectObject(dc, oldTarget);
    DeleteObject(target);
    DeleteDC(dc);
    DeleteObject(picture);
    return block;
}

TEST(IndicatorFace, StoppedFaceReplacesTheBarAndTheButtonShowsStart)
{
    ResetIndicator();
    SetActivity(100, "100");
    const Block stopped = PictureBlock("Skins\\stoped.bmp", 120);
    const Block start = PictureBlock("Skins\\start.bmp", 19);
    const Block stop = PictureBlock("Skins\\stop.bmp", 19);
    ASSERT_FALSE(stopped.empty());
    ASSERT_NE(start, stop);
    Block trackingBar = PaintedBlock(kBarLeft, 120);
    EXPECT_NE(trackingBar, stopped);
    EXPECT_EQ(PaintedBlock(0, 19), stop);
    StopTracking();
    EXPECT_EQ(PaintedBlock(kBarLeft, 120), stopped);
    EXPECT_EQ(PaintedBlock(0, 19), start);
    StartTracking();
    EXPECT_EQ(PaintedBlock(kBarLeft, 120), trackingBar);
    EXPECT_EQ(PaintedBlock(0, 19), stop);
    SetActivity(0, "");
}

TEST(IndicatorMouse, HoverLightsAButtonOnlyInsideItsNarrowZone)
{
    ResetIndicator();
    Block plainStart = PaintedBlock(0, 19);
    Block plainHide = PaintedBlock(kHideLeft, 20);
    for (int x : {18, 19, 20, 138, 139, 140}) {
        MoveOver(x);
        IndicatorMouseState state = IndicatorMouse();
        EXPECT_EQ(state.hoverStart, x < 19) << x;
        EXPECT_EQ(state.hoverHide, x > 139) << x;
        EXPECT_EQ(state.leaveTracked, 1) << x;
        EXPECT_EQ(PaintedBlock(0, 19) != plainStart, x < 19) << x;
        EXPECT_EQ(PaintedBlock(kHideLeft, 20) != plainHide, x > 139) << x;
    }
    // Straight from one button to the other: only the one under the cursor is lit.
    MoveOver(150);
    MoveOver(5);
    EXPECT_TRUE(IndicatorMouse().hoverStart);
    EXPECT_FALSE(IndicatorMouse().hoverHide);

    SendMessageA(World().indicator, WM_MOUSELEAVE, 0, 0);
    IndicatorMouseState state = IndicatorMouse();
    EXPECT_FALSE(state.hoverStart);
    EXPECT_FALSE(state.hoverHide);
    EXPECT_EQ(state.leaveTracked, 0);
    EXPECT_EQ(PaintedBlock(0, 19), plainStart);
}

TEST(IndicatorMouse, ClickZonesReachOnePixelFurtherThanHover)
{
    HWND indicator = World().indicator;
    for (int x : {18, 19, 20, 138, 139, 140}) {
        ResetIndicator();
        ClickAt(x);
        EXPECT_EQ(trackingStopped.load(), x <= 19) << x;
        EXPECT_EQ(IsWindowVisible(indicator) != FALSE, x < 139) << x;
        EXPECT_EQ(bannerSettings.Show(), x < 139 ? 5 : 0) << x;
    }
    ResetIndicator();
}

TEST(IndicatorMouse, EveryReleaseSavesThePosition)
{
    ResetIndicator();
    bannerSettings.SetPosition(1, 1);
    bannerSettings.Save();
    ClickAt(60);
    RECT r;
    GetWindowRect(World().indicator, &r);
    EXPECT_EQ(SettingValue(BannerFile(), "left"), std::to_string(r.left));
    EXPECT_EQ(SettingValue(BannerFile(), "top"), std::to_string(r.top));
    EXPECT_FALSE(trackingStopped.load());
}

TEST(IndicatorMouse, DragMovesTheStripAndAReleaseOverStartToggles)
{
    ResetIndicator();
    HWND indicator = World().indicator;
    RECT before;
    GetWindowRect(indicator, &before);
    CursorToClient(8, 9);
    PostMouse(WM_LBUTTONDOWN);
    EXPECT_TRUE(IndicatorMouse().dragging);
    POINT cursor;
    GetCursorPos(&cursor);
    SetCursorPos(cursor.x + 40, cursor.y + 30);
    PostMouse(WM_MOUSEMOVE);
    // While dragging the buttons do not light up.
    EXPECT_FALSE(IndicatorMouse().hoverStart);
    RECT after;
    GetWindowRect(indicator, &after);
    EXPECT_EQ(after.left, before.left + 40);
    EXPECT_EQ(after.top, before.top + 30);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    PostMouse(WM_LBUTTONUP);
    EXPECT_FALSE(IndicatorMouse().dragging);
    EXPECT_TRUE(trackingStopped.load());
    EXPECT_EQ(SettingValue(BannerFile(), "left"), std::to_string(after.left));
    EXPECT_EQ(SettingValue(BannerFile(), "top"), std::to_string(after.top));
    ResetIndicator();
}

TEST(IndicatorMouse, ALatePressGrabsWhereTheButtonWentDown)
{
    ResetIndicator();
    HWND indicator = World().indicator;
    RECT before;
    GetWindowRect(indicator, &before);
    CursorToClient(80, 9);
    PostMessageA(indicator, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    // The pointer has moved on before the press is handled.
    POINT cursor;
    GetCursorPos(&cursor);
    SetCursorPos(cursor.x + 50, cursor.y);
    PostMouse(WM_LBUTTONUP);
    RECT after;
    GetWindowRect(indicator, &after);
    EXPECT_EQ(after.left, before.left + 50);
    EXPECT_TRUE(IsWindowVisible(indicator));
    ResetIndicator();
}

TEST(IndicatorMouse, AReleaseWithoutTheLastMotionStillDropsWhereThePointerIs)
{
    ResetIndicator();
    HWND indicator = World().indicator;
    RECT before;
    GetWindowRect(indicator, &before);
    CursorToClient(80, 9);
    PostMouse(WM_LBUTTONDOWN);
    POINT cursor;
    GetCursorPos(&cursor);
    // The pointer lets go where the hide button was, with no motion handled between
    // (posted messages come before the input queue's).
    SetCursorPos(cursor.x + 65, cursor.y + 20);
    PostMouse(WM_LBUTTONUP);
    RECT after;
    GetWindowRect(indicator, &after);
    EXPECT_EQ(after.left, before.left + 65);
    EXPECT_EQ(after.top, before.top + 20);
    EXPECT_TRUE(IsWindowVisible(indicator));
    EXPECT_FALSE(trackingStopped.load());
    EXPECT_EQ(SettingValue(BannerFile(), "left"), std::to_string(after.left));
    ResetIndicator();
}

TEST(IndicatorCommands, HideShowStartStopAndToggleKeepMenuTrayAndFileInStep)
{
    ResetIndicator();
    HWND indicator = World().indicator;
    SetActivity(37, "37");
    struct Expect {
        int command;
        bool visible, stopped;
    };
    for (Expect e : {Expect{ID_MENU_HIDE, false, false}, Expect{ID_MENU_SHOW, true, false}, Expect{ID_MENU_STOP, true, true},
                     Expect{ID_MENU_START, true, false}}) {
        SendMessageA(indicator, WM_COMMAND, e.command, 0);
        EXPECT_EQ(IsWindowVisible(indicator) != FALSE, e.visible) << e.command;
        EXPECT_EQ(SettingValue(BannerFile(), "show"), e.visible ? "5" : "0") << e.command;
        EXPECT_EQ(MenuItemDisabled(ID_MENU_HIDE), !e.visible) << e.command;
        EXPECT_EQ(MenuItemDisabled(ID_MENU_SHOW), e.visible) << e.command;
        EXPECT_EQ(trackingStopped.load(), e.stopped) << e.command;
        EXPECT_EQ(MenuItemDisabled(ID_MENU_START), !e.stopped) << e.command;
        EXPECT_EQ(MenuItemDisabled(ID_MENU_STOP), e.stopped) << e.command;
        if (e.command == ID_MENU_STOP || e.command == ID_MENU_START) {
            EXPECT_EQ(trayIconData.hIcon, Icon(e.stopped ? IDI_STOPPED : IDI_TRACKING));
            EXPECT_STREQ(trayIconData.szTip, e.stopped ? "Kaltrow v1.1 [stopped] - 37%"
                                                       : "Kaltrow v1.1 [tracking] - 37%");
        }
    }
    // Toggling twice comes back to the first state.
    ToggleTracking();
    EXPECT_TRUE(trackingStopped.load());
    EXPECT_EQ(trayIconData.hIcon, Icon(IDI_STOPPED));
    EXPECT_TRUE(MenuItemDisabled(ID_MENU_STOP));
    ToggleTracking();
    EXPECT_FALSE(trackingStopped.load());
    EXPECT_EQ(trayIconData.hIcon, Icon(IDI_TRACKING));
    EXPECT_STREQ(trayIconData.szTip, "Kaltrow v1.1 [tracking] - 37%");
    EXPECT_TRUE(MenuItemDisabled(ID_MENU_START));
    EXPECT_FALSE(MenuItemDisabled(ID_MENU_STOP));

    // Hiding a hidden strip saves show = 0 again and leaves the menu as it was.
    HideIndicator();
    bannerSettings.SetShow(5);
    bannerSettings.Save();
    HideIndicator();
    EXPECT_EQ(SettingValue(BannerFile(), "show"), "0");
    EXPECT_TRUE(MenuItemDisabled(ID_MENU_HIDE));
    EXPECT_FALSE(MenuItemDisabled(ID_MENU_SHOW));
    ResetIndicator();
    SetActivity(0, "");
}

TEST(IndicatorCommands, StoppingBeforeTheFirstTickLeavesThePercentBare)
{
    ResetIndicator();
    SetActivity(0, "");
    StopTracking();
    EXPECT_STREQ(trayIconData.szTip, "Kaltrow v1.1 [stopped] - %");
    // Every paint refreshes the tray icon and tip too.
    SetActivity(12, "12");
    SendMessageA(World().indicator, WM_PAINT, 0, 0);
    EXPECT_STREQ(trayIconData.szTip, "Kaltrow v1.1 [stopped] - 12%");
    EXPECT_EQ(trayIconData.hIcon, Icon(IDI_STOPPED));
    StartTracking();
    SendMessageA(World().indicator, WM_PAINT, 0, 0);
    EXPECT_STREQ(trayIconData.szTip, "Kaltrow v1.1 [tracking] - 12%");
    EXPECT_EQ(trayIconData.uCallbackMessage, WM_TRAY_NOTIFY);
    EXPECT_EQ(trayIconData.hWnd, World().indicator);
    SetActivity(0, "");
}

TEST(IndicatorTray, LeftButtonTogglesTheStripAndSavesIt)
{
    ResetIndicator();
    HWND indicator = World().indicator;
    EXPECT_EQ(IndicatorDialogProc(indicator, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN), TRUE);
    EXPECT_FALSE(IsWindowVisible(indicator));
    EXPECT_EQ(SettingValue(BannerFile(), "show"), "0");
    IndicatorDialogProc(indicator, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(IsWindowVisible(indicator));
    EXPECT_EQ(SettingValue(BannerFile(), "show"), "5");
    // Other notices change nothing.
    EXPECT_EQ(IndicatorDialogProc(indicator, WM_TRAY_NOTIFY, 0, WM_MOUSEMOVE), TRUE);
    EXPECT_TRUE(IsWindowVisible(indicator));
}

namespace {
bool menuSeen = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
        menuSeen = true;
        EndMenu();
    }
}
} // namespace

TEST(IndicatorTray, RightButtonAndContextMenuShowThePopupMenu)
{
    ResetIndicator();
    HWND indicator = World().indicator;
    for (auto [message, lParam] : {std::pair<UINT, LPARAM>{WM_TRAY_NOTIFY, WM_RBUTTONUP}, {WM_CONTEXTMENU, 0}}) {
        menuSeen = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenu);
        EXPECT_EQ(IndicatorDialogProc(indicator, message, 0, lParam), TRUE);
        KillTimer(nullptr, timer);
        EXPECT_TRUE(menuSeen) << message;
    }
    Pump();
}

TEST(IndicatorTray, DoubleClickSavesEverythingBeforeStartingTheViewer)
{
    ResetIndicator();
    const std::string logPath = logSettings.LogPath();
    // A stand-in viewer where the tracker looks for it: one window, closed below.
    const std::string viewer = World().programFolder + "\\klr_stat.exe";
    ASSERT_TRUE(CopyFileA(KLR_TESTAPP_EXE, viewer.c_str(), FALSE));
    ASSERT_EQ(FindWindowA("KlrTestApp", nullptr), nullptr);
    const std::string files[] = {World().dataFolder + "\\kaltrow.ini", World().dataFolder + "\\banner.ini",
                                 TodayDayFile(logPath), TodayMonthTotal(logPath), TodayYearTotal(logPath)};
    for (const std::string& file : files)
        DeleteFileA(file.c_str());
    StopTracking();  // still saves and starts the viewer
    EXPECT_EQ(IndicatorDialogProc(World().indicator, WM_TRAY_NOTIFY, 0, WM_LBUTTONDBLCLK), TRUE);
    // Saved by the time the viewer was started, before any timer could run.
    for (const std::string& file : files)
        EXPECT_NE(FileText(file), "<missing>") << file;
    EXPECT_EQ(SettingValue(files[0], "log_path"), logPath);

    HWND started = nullptr;
    for (int i = 0; i < 200 && !started; ++i) {
        Pump(50);
        started = FindWindowA("KlrTestApp", nullptr);
    }
    ASSERT_NE(started, nullptr) << "the viewer was not started";
    DWORD pid = 0;
    GetWindowThreadProcessId(started, &pid);
    std::string name;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == pid)
            name = entry.szExeFile;
    }
    CloseHandle(snapshot);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    PostMessageA(started, WM_CLOSE, 0, 0);
    if (process) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    EXPECT_EQ(name.substr(name.find_last_of('\\') + 1), "klr_stat.exe");
    DeleteFileA(viewer.c_str());
    ResetIndicator();
}

TEST(IndicatorMessages, UnhandledMessagesReturnZero)
{
    HWND indicator = World().indicator;
    EXPECT_EQ(IndicatorDialogProc(indicator, WINDOW_REDRAWN, 0, 0), FALSE);
    EXPECT_EQ(IndicatorDialogProc(indicator, WM_USER + 7, 0, 0), FALSE);
    EXPECT_EQ(IndicatorDialogProc(indicator, WM_PAINT, 0, 0), FALSE);
    EXPECT_EQ(IndicatorDialogProc(indicator, WM_COMMAND, 4242, 0), TRUE);
}
