#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "folder_browser.h"
#include "indicator.h"
#include "indicator_parts.h"
#include "my_menu.h"
#include "my_tooltip.h"
#include "skins.h"
#include "resource.h"
#include "tracker_messages.h"
#include "ui_support.h"

namespace {

BYTE LayeredAlpha(HWND window)
{
    BYTE alpha = 0;
    COLORREF key = 0;
    DWORD flags = 0;
    GetLayeredWindowAttributes(window, &key, &alpha, &flags);
    return alpha;
}

std::string ToolText(HWND tooltip, HWND owner, UINT id, RECT* rect = nullptr)
{
    char text[256] = {};
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = text;
    if (!SendMessageA(tooltip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)))
        return "<no tool>";
    if (rect)
        *rect = info.rect;
    SendMessageA(tooltip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    return text;
}

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

COLORREF PixelOf(HDC dc, int x, int y)
{
    return GetPixel(dc, x, y);
}

} // namespace

TEST(Wrappers, TransparencyTakesTheLowByteOfTheValue)
{
    HWND indicator = World().indicator;
    EXPECT_TRUE(GetWindowLongPtrA(indicator, GWL_EXSTYLE) & WS_EX_LAYERED);
    for (auto [value, alpha] : {std::pair{0, 0}, {255, 255}, {256, 0}, {300, 44}}) {
        indicatorDialog.SetTransparency(value);
        EXPECT_EQ(LayeredAlpha(indicator), alpha) << "value " << value;
    }
    indicatorDialog.SetTransparency(255);
}

TEST(Wrappers, IndicatorHasTheSizeOfItsFace)
{
    RECT r;
    GetWindowRect(World().indicator, &r);
    EXPECT_EQ(r.right - r.left, kFaceWidth);
    EXPECT_EQ(r.bottom - r.top, kFaceHeight);
    char caption[32] = {};
    GetWindowTextA(World().indicator, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Kaltrow");
    EXPECT_TRUE(GetWindowLongPtrA(World().indicator, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(Wrappers, UpdateShowHideDisablesStartAndShowOrHide)
{
    World();
    for (int code : {0, 5}) {
        MyPopupMenu menu;
        menu.Load(World().indicator, IDR_POPUP_MENU);
        menu.UpdateShowHide(code);
        HMENU items = menu.FirstSubmenu();
        auto disabled = [&](UINT command) {
            return (GetMenuState(items, command, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0;
        };
        EXPECT_TRUE(disabled(ID_MENU_START)) << code;
        EXPECT_FALSE(disabled(ID_MENU_STOP)) << code;
        EXPECT_EQ(disabled(ID_MENU_SHOW), code == 5) << code;
        EXPECT_EQ(disabled(ID_MENU_HIDE), code != 5) << code;
        EXPECT_EQ(GetMenuDefaultItem(items, FALSE, 0), static_cast<UINT>(ID_MENU_STATISTICS));
    }
}

TEST(Wrappers, IndicatorToolsAreMadeAtTheFirstMoveAsOneTwoThreeWithTheirRectanglesAndTexts)
{
    HWND indicator = World().indicator;
    // Made when the pointer first comes, with the day's activity already in tool 3.
    SetActivity(17, "17");
    SendMessageA(indicator, WM_MOUSEMOVE, 0, MAKELPARAM(60, 5));
    SendMessageA(indicator, WM_MOUSELEAVE, 0, 0);
    HWND tooltip = IndicatorParts(indicator).toolTip.Handle();
    ASSERT_TRUE(tooltip);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 3);
    RECT r1, r2, r3;
    EXPECT_EQ(ToolText(tooltip, indicator, 1, &r1), "Stop/Start tracking");
    EXPECT_EQ(ToolText(tooltip, indicator, 2, &r2), "Hide");
    EXPECT_EQ(ToolText(tooltip, indicator, 3, &r3), "Working activity during the day: 17%");
    // A second move makes no second set.
    SendMessageA(indicator, WM_MOUSEMOVE, 0, MAKELPARAM(61, 5));
    SendMessageA(indicator, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(IndicatorParts(indicator).toolTip.Handle(), tooltip);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 3);
    EXPECT_EQ((std::vector<LONG>{r1.left, r1.top, r1.right, r1.bottom}), (std::vector<LONG>{0, 0, 19, 18}));
    EXPECT_EQ((std::vector<LONG>{r2.left, r2.top, r2.right, r2.bottom}), (std::vector<LONG>{139, 0, 159, 18}));
    EXPECT_EQ((std::vector<LONG>{r3.left, r3.top, r3.right, r3.bottom}), (std::vector<LONG>{20, 0, 139, 18}));

    // Each paint replaces the third text with the day's activity.
    SetActivity(42, "42");
    SendMessageA(indicator, WM_PAINT, 0, 0);
    EXPECT_EQ(ToolText(tooltip, indicator, 3), "Working activity during the day: 42%");
    SetActivity(0, "");
    SendMessageA(indicator, WM_PAINT, 0, 0);
    EXPECT_EQ(ToolText(tooltip, indicator, 3), "Working activity during the day: %");
}

TEST(Wrappers, SetPosMovesWithoutResizingAndCenteringUsesTheClientSize)
{
    World();
    MyDialog dialog(IDD_SETTINGS, NoHandling);
    HWND window = dialog.CreateModeless();
    ASSERT_TRUE(window);
    RECT before;
    GetWindowRect(window, &before);
    dialog.SetPos(before.left + 37, before.top + 11, false);
    RECT after;
    GetWindowRect(window, &after);
    EXPECT_EQ(after.left, before.left + 37);
    EXPECT_EQ(after.top, before.top + 11);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
    EXPECT_TRUE(IsWindowVisible(window));

    dialog.CenterOnScreen(false);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(dialog.GetLeft(), GetSystemMetrics(SM_CXFULLSCREEN) / 2 - client.right / 2);
    EXPECT_EQ(dialog.GetTop(), GetSystemMetrics(SM_CYFULLSCREEN) / 2 - client.bottom / 2);
    EXPECT_FALSE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    dialog.SetCaption(std::string(300, 'c').c_str());
    EXPECT_EQ(std::string(dialog.Caption()), std::string(255, 'c'));
    DestroyWindow(window);
}

TEST(Wrappers, EditReadsAtMostItsBufferAndAddressesTheControlThroughItsParent)
{
    World();
    MyDialog dialog(IDD_SETTINGS, NoHandling);
    HWND window = dialog.CreateModeless();
    MyEdit edit(IDC_LOG_PATH);
    edit.AttachAndSetText("C:\\Logs", window, IDC_LOG_PATH);
    char text[64] = {};
    GetDlgItemTextA(window, IDC_LOG_PATH, text, sizeof(text));
    EXPECT_STREQ(text, "C:\\Logs");
    SetDlgItemTextA(window, IDC_LOG_PATH, std::string(7000, 'x').c_str());
    EXPECT_EQ(std::string(edit.GetText()).size(), 6399u);

    MyCheckBox box(window, IDC_STARTUP);
    box.SetCheck(1);
    EXPECT_EQ(box.IsChecked(), 1);
    box.SetCheck(0);
    EXPECT_EQ(box.IsChecked(), 0);

    MyTrackBar bar(255);
    bar.AttachAndInit(window, IDC_TRANSPARENCY, 170);
    EXPECT_EQ(bar.GetPos(), 170);
    EXPECT_EQ(SendMessageA(bar.Handle(), TBM_GETRANGEMAX, 0, 0), 255);
    DestroyWindow(window);
}

TEST(Skins, BarLightsCellsFromTheLeft)
{
    // Cells of 3 x 4 pixels: lit ones black, unlit ones white.
    MyBarBitmap bar(3, 4, "no such folder\\lit.bmp", "no such folder\\unlit.bmp",
                    [](HDC d, int x, int y, int w, int h) {
                        RECT r = {x, y, x + w, y + h};
                        FillRect(d, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
                    },
                    [](HDC d, int x, int y, int w, int h) {
                        RECT r = {x, y, x + w, y + h};
                        FillRect(d, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                    });
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 80, 10);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    for (auto [percent, lit] : {std::pair{0u, 1}, {4u, 1}, {5u, 2}, {94u, 19}, {95u, 20}, {99u, 20},
                                {100u, 20}, {500u, 20}}) {
        RECT all = {0, 0, 80, 10};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        bar.Draw(5, 2, percent, dc);
        std::string cells;
        for (int i = 0; i < MyBarBitmap::kCells; ++i) {
            COLORREF c = PixelOf(dc, 5 + i * 3 + 1, 4);
            cells += c == RGB(0, 0, 0) ? '#' : c == RGB(255, 255, 255) ? '.' : '?';
        }
        EXPECT_EQ(cells, std::string(lit, '#') + std::string(MyBarBitmap::kCells - lit, '.')) << percent;
        EXPECT_EQ(PixelOf(dc, 5 + MyBarBitmap::kCells * 3, 4), RGB(128, 128, 128)) << percent;   // 20 cells, no more
    }
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

TEST(Skins, MissingPictureDrawsItsStandInOrNothing)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 40, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all = {0, 0, 40, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    MyBitmap silent(10, 10, "no such folder\\none.bmp");
    EXPECT_FALSE(silent.Loaded());
    silent.Draw(0, 0, dc);
    EXPECT_EQ(PixelOf(dc, 5, 5), RGB(255, 255, 255));

    MyBitmap painted(10, 10, "no such folder\\none.bmp", [](HDC d, int x, int y, int w, int h) {
        RECT r = {x, y, x + w, y + h};
        HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(d, &r, b);
        DeleteObject(b);
    });
    painted.Draw(20, 5, dc);
    EXPECT_EQ(PixelOf(dc, 25, 10), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(dc, 31, 10), RGB(255, 255, 255));

    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

namespace {
DWORD WINAPI CancelBrowser(LPVOID)
{
    // The browser is a dialog of this process titled by its owner's text.
    for (int i = 0; i < 200; ++i) {
        Sleep(25);
        HWND dialog = FindWindowA("#32770", nullptr);
        while (dialog) {
            DWORD pid = 0;
            GetWindowThreadProcessId(dialog, &pid);
            if (pid == GetCurrentProcessId() && IsWindowVisible(dialog) &&
                FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr)) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return 1;
            }
            dialog = FindWindowExA(nullptr, dialog, "#32770", nullptr);
        }
    }
    return 0;
}
} // namespace

TEST(FolderBrowser, CancelYieldsAnEmptyText)
{
    World();
    BROWSEINFOA info = InitBrowseInfo("Please choose directory to save log files", World().indicator);
    EXPECT_EQ(info.pidlRoot, nullptr);
    EXPECT_EQ(info.ulFlags, 0u);
    char path[MAX_PATH] = "left over";
    HANDLE canceller = CreateThread(nullptr, 0, CancelBrowser, nullptr, 0, nullptr);
    EXPECT_STREQ(BrowseForFolder(info, path), "");
    WaitForSingleObject(canceller, 10000);
    DWORD found = 0;
    GetExitCodeThread(canceller, &found);
    CloseHandle(canceller);
    EXPECT_EQ(found, 1u);
}
