#include "indicator.h"

#include <commctrl.h>
#include <windowsx.h>

#include "commands.h"
#include "common_controls.h"
#include "dialogs.h"
#include "html_help.h"
#include "indicator_parts.h"
#include "records.h"
#include "settings.h"
#include "stat_file.h"
#include "tracker_globals.h"
#include "tracker_ui.h"
#include "resource.h"
#include "tracker_messages.h"

MyDialog indicatorDialog(IDD_INDICATOR, IndicatorDialogProc);
MyPopupMenu popupMenu;

namespace {

IndicatorObjects* builtParts = nullptr;

BOOL CALLBACK CountWindow(HWND window, LPARAM)
{
    // One window at a time, so ticks are not held up by a long enumeration.
    return CountOpenWindow(window);
}

// The template's size is in dialog units of a tiny font, which systems map to
// different real fonts (under Wine the strip came out 53 x 6 pixels); the face is
// painted in pixels, so the window takes the face's size.
void SizeToFace(HWND window)
{
    RECT r = {0, 0, kFaceWidth, kFaceHeight};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void OnInitDialog(HWND window)
{
    SizeToFace(window);
    EnumWindows(CountWindow, 0);
}

// The tooltips are made when the pointer first comes over the strip: until
// then the tracker needs nothing of comctl32 (see LoadCommonControls). The move
// that made them is handed on, so the first tip shows as soon as later ones do.
void MakeToolTipsOnFirstMove(HWND window, WPARAM wParam, LPARAM lParam, IndicatorObjects& parts)
{
    if (parts.toolTip.Handle() || !LoadCommonControls())
        return;
    parts.toolTip.Create(window, programInstance);
    parts.toolTip.AddTool(IDS_TOGGLE_TRACKING, 0, 0, kBarLeft, kFaceHeight);
    parts.toolTip.AddTool(IDS_HIDE, kHideLeft, 0, kFaceWidth - kHideLeft, kFaceHeight);
    parts.activityToolId = parts.toolTip.AddTool(IDS_ACTIVITY_TIP, kBarLeft + 1, 0, kHideLeft - kBarLeft - 1,
                                                 kFaceHeight);
    UpdateActivityTip(parts);
    DWORD pos = GetMessagePos();
    MSG move = {window, WM_MOUSEMOVE, wParam, lParam, static_cast<DWORD>(GetMessageTime()),
                {GET_X_LPARAM(pos), GET_Y_LPARAM(pos)}};
    SendMessageA(parts.toolTip.Handle(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

// An open Settings or About dialog comes forward instead of a second one: the
// control wrappers serve one dialog at a time.
void OpenDialog(MyDialog& dialog)
{
    HWND open = dialog.Handle();
    if (open && IsWindow(open)) {
        ShowWindow(open, SW_SHOW);
        SetForegroundWindow(open);
        return;
    }
    // The Settings dialog holds a trackbar.
    LoadCommonControls();
    dialog.CreateModeless();
    dialog.CenterOnScreen(false);
}

void OnCommand(HWND window, int command, IndicatorObjects& parts)
{
    switch (command) {
    case ID_MENU_STATISTICS: OpenStatistics(); break;
    case ID_MENU_SETTINGS: OpenDialog(parts.settingsDialog); break;
    case ID_MENU_START: StartTracking(); break;
    case ID_MENU_STOP: StopTracking(); break;
    case ID_MENU_SHOW: ShowIndicator(); break;
    case ID_MENU_HIDE: HideIndicator(); break;
    case ID_MENU_HELP: ShowHelpContext(window, IDH_INDICATOR); break;
    case ID_MENU_ABOUT: OpenDialog(parts.aboutDialog); break;
    // Quit saves nothing: the timer saved within the last second.
    case ID_MENU_QUIT: DestroyWindow(window); break;
    default: break;
    }
}

void OnTrayNotify(LPARAM event)
{
    switch (event) {
    case WM_LBUTTONDOWN:
        if (IsWindowVisible(indicatorDialog.Handle()))
            HideIndicator();
        else
            ShowIndicator();
        bannerSettings.Save();
        break;
    case WM_LBUTTONDBLCLK: OpenStatistics(); break;
    case WM_RBUTTONUP: popupMenu.Track(); break;
    default: break;
    }
}

void OnReloadSettings()
{
    // A missing file leaves the defaults, which are then applied.
    LogSettings fresh("kaltrow.ini");
    fresh.Load();
    ApplySettings(fresh.LogPath(), fresh.Startup(), fresh.NewDay());
}

void OnClose(HWND window)
{
    bannerSettings.Save();
    SaveStatFiles();
    DestroyWindow(window);
}

void OnDestroy()
{
    {
        // A running tick or file write ends before the tray icon goes.
        StatisticsHold hold(100);
        Shell_NotifyIconA(NIM_DELETE, &trayIconData);
    }
    StatFile::TellUnsaved();
    PostQuitMessage(0);
}

} // namespace

IndicatorObjects::IndicatorObjects(HWND window)
    : settingsDialog(IDD_SETTINGS, SettingsDialogProc),
      aboutDialog(IDD_ABOUT, AboutDialogProc),
      shellHook(hookLibrary.Handle(), window, 0),
      mouseHook(hookLibrary.Handle(), window, 0),
      keyboardHook(hookLibrary.Handle(), window, 0)
{
}

IndicatorObjects& IndicatorParts(HWND window)
{
    static IndicatorObjects parts(window);
    builtParts = &parts;
    return parts;
}

MyDialog& SettingsDialog()
{
    return builtParts->settingsDialog;
}

MyDialog& AboutDialog()
{
    return builtParts->aboutDialog;
}

INT_PTR CALLBACK IndicatorDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The first message builds the hooks, so they are in place before WM_INITDIALOG.
    IndicatorObjects& parts = IndicatorParts(window);
    switch (message) {
    case WM_INITDIALOG: OnInitDialog(window); return TRUE;
    case WM_PAINT:
        PaintFace(window, parts);
        return FALSE;
    case WM_CONTEXTMENU: popupMenu.Track(); return TRUE;
    case WM_LBUTTONDOWN: OnLeftButtonDown(window); return TRUE;
    case WM_MOUSEMOVE:
        MakeToolTipsOnFirstMove(window, wParam, lParam, parts);
        OnMouseMove(window);
        return TRUE;
    case WM_LBUTTONUP: OnLeftButtonUp(window); return TRUE;
    case WM_MOUSELEAVE: OnMouseLeave(window); return TRUE;
    case WM_TRAY_NOTIFY: OnTrayNotify(lParam); return TRUE;
    case WM_COMMAND: OnCommand(window, LOWORD(wParam), parts); return TRUE;
    case WM_RELOAD_SETTINGS: OnReloadSettings(); return TRUE;
    case WM_CLOSE: OnClose(window); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    default:
        if (!HandleHookMessage(message, lParam))
            return FALSE;
        // A box its handling asked for under the lists' lock.
        ShowDeferredBoxes();
        return TRUE;
    }
}
