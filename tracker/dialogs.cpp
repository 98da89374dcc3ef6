#include "dialogs.h"

#include "commands.h"
#include "data_folder.h"
#include "folder_browser.h"
#include "html_help.h"
#include "indicator.h"
#include "settings.h"
#include "skins.h"
#include "tracker_globals.h"
#include "resource.h"
#include "tracker_messages.h"
#include "tracker_ui.h"
#include "win_version.h"
#include "caption_fit.h"

MyEdit logPathEdit(IDC_LOG_PATH);
MyTrackBar transparencyTrackBar(255);

namespace {

struct SettingsControls {
    BROWSEINFOA browse = InitBrowseInfo("Please choose directory to save log files", nullptr);
    MyCheckBox startupCheckBox{nullptr, IDC_STARTUP};
    MyCheckBox newDayCheckBox{nullptr, IDC_NEW_DAY};
};

void InitSettings(HWND dialog, SettingsControls& controls)
{
    logPathEdit.AttachAndSetText(logSettings.LogPath().c_str(), dialog, IDC_LOG_PATH);
    transparencyTrackBar.AttachAndInit(dialog, IDC_TRANSPARENCY, bannerSettings.Transparency());
    controls.startupCheckBox.SetHandle(dialog);
    controls.newDayCheckBox.SetHandle(dialog);
    controls.browse.hwndOwner = dialog;
    // Ticked exactly when the setting has its effect: startup runs only on 1,
    // the new-day message shows on anything but 0.
    controls.startupCheckBox.SetCheck(logSettings.Startup() == 1 ? 1 : 0);
    controls.newDayCheckBox.SetCheck(logSettings.NewDay() != 0 ? 1 : 0);
    if (!IsWin2000Plus()) {
        ShowWindow(GetDlgItem(dialog, IDC_TRANSPARENCY_GROUP), SW_HIDE);
        ShowWindow(GetDlgItem(dialog, IDC_TRANSPARENCY), SW_HIDE);
    }
}

void OnSettingsCommand(HWND dialog, int command, SettingsControls& controls)
{
    switch (command) {
    case IDC_BROWSE: {
        char path[MAX_PATH] = {};
        if (BrowseForFolder(controls.browse, path)[0] != '\0')
            logPathEdit.SetText(path);
        break;
    }
    case IDC_SETTINGS_OK: {
        int newDay = controls.newDayCheckBox.IsChecked();
        int startup = controls.startupCheckBox.IsChecked();
        std::string logPath = LogFolderAsRead(logPathEdit.GetText());
        // Saved before anything is applied: a tracker saving into a folder the file
        // does not name splits the log tree from the viewer's and the next start's.
        if (!logSettings.SaveWith(logPath, startup, newDay)) {
            ShowTrackerBox(logSettings.Path() + " could not be saved. The settings were not changed.", "Kaltrow",
                           MB_ICONERROR);
            break;  // the dialog stays open with what was typed
        }
        ApplySettings(logPath, startup, newDay);
        DestroyWindow(dialog);
        break;
    }
    case IDCANCEL: DestroyWindow(dialog); break;
    case IDC_HELP_BUTTON: ShowHelpContext(indicatorDialog.Handle(), IDH_SETTINGS); break;
    default: break;
    }
}

void OnTransparencyMoved(int code)
{
    if (code != TB_THUMBTRACK && code != TB_ENDTRACK)
        return;
    int alpha = transparencyTrackBar.GetPos();
    indicatorDialog.SetTransparency(alpha);
    bannerSettings.SetTransparency(alpha);
    bannerSettings.Save();
}

// The background of what was uncovered is erased now, so the default
// processing does not erase it again over what we paint.
void EraseNow(HWND window)
{
    RECT unused;
    GetUpdateRect(window, &unused, TRUE);
}

struct CaptionLimit {
    int right;
};

BOOL CALLBACK WidenCutCaption(HWND control, LPARAM param)
{
    char className[16] = {};
    GetClassNameA(control, className, sizeof(className));
    LONG kind = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    bool checkBox = lstrcmpiA(className, "Button") == 0 && (kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX);
    if (checkBox || lstrcmpiA(className, "Static") == 0)
        WidenToCaption(control, reinterpret_cast<CaptionLimit*>(param)->right);
    return TRUE;
}

// The templates fit "MS Sans Serif"; where the system gives a wider font, a
// cut check box or label grows to its text, up to `rightDlu` (dialog units).
void WidenCutCaptions(HWND dialog, int rightDlu)
{
    RECT limit = {0, 0, rightDlu, 0};
    MapDialogRect(dialog, &limit);
    CaptionLimit caption{limit.right};
    EnumChildWindows(dialog, WidenCutCaption, reinterpret_cast<LPARAM>(&caption));
}

} // namespace

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    static SettingsControls controls;
    switch (message) {
    case WM_INITDIALOG:
        WidenCutCaptions(dialog, 205);   // inside the "Kaltrow" frame (7 + 205 - 7)
        InitSettings(dialog, controls);
        return TRUE;
    case WM_COMMAND: OnSettingsCommand(dialog, LOWORD(wParam), controls); return TRUE;
    case WM_HSCROLL: OnTransparencyMoved(LOWORD(wParam)); return TRUE;
    case WM_DESTROY:
        // A later Settings command then opens a new dialog.
        if (SettingsDialog().Handle() == dialog)
            SettingsDialog().SetHandle(nullptr);
        return FALSE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    static MyBitmap logoBitmap(400, 137, "logo.bmp");
    switch (message) {
    case WM_PAINT: {
        EraseNow(dialog);
        HDC dc = GetDC(dialog);
        logoBitmap.Draw(0, 0, dc);
        ReleaseDC(dialog, dc);
        return FALSE;
    }
    case WM_INITDIALOG:
        WidenCutCaptions(dialog, 247);   // inside the frame (11 + 242 - 6)
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        if (AboutDialog().Handle() == dialog)
            AboutDialog().SetHandle(nullptr);
        return FALSE;
    default: return FALSE;
    }
}
