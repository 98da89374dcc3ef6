#include "settings_form.h"

#include <algorithm>
#include <cctype>
#include <climits>

#include "browse_folder.h"
#include "caption_fit.h"
#include "data_folder.h"
#include "dialog_font.h"
#include "help.h"
#include "messages.h"
#include "viewer_resource.h"

bool StrictToInt(const std::string& text, int& value)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    if (i == text.size())
        return false;
    long long n = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        n = n * 10 + (text[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    n = negative ? -n : n;
    if (n > INT_MAX || n < INT_MIN)
        return false;
    value = static_cast<int>(n);
    return true;
}

void ShowStandardError(const std::string& text)
{
    std::string shown = text;
    if (!shown.empty() && shown.back() != '.')
        shown += '.';
    ShowRunError(shown);
}

// The layout fits "MS Sans Serif"; where the system gives a wider font, a cut
// check box grows to its text inside the frame, and the refresh time and its
// unit move right as far as the check box before them grew.
namespace {

void WidenCutCaptions(TSettingsForm& form)
{
    ui::GroupBox& GroupBox1 = form.GroupBox1;
    ui::CheckBox &Startup = form.Startup, &NewDay = form.NewDay, &Autoupdateflag = form.Autoupdateflag;
    ui::Edit& AutoUpdateTime = form.AutoUpdateTime;
    ui::Label& Label3 = form.Label3;
    const int frameRight = GroupBox1.Left() + GroupBox1.Width() - 8;
    for (ui::CheckBox* box : {&Startup, &NewDay}) {
        int wanted = std::min(CaptionWidth(box->Handle()), frameRight - box->Left());
        if (wanted > box->Width())
            box->SetWidth(wanted);
    }
    const int unitRight = Label3.Left() + Label3.Width();
    int room = frameRight - unitRight;
    int wanted = std::min(CaptionWidth(Autoupdateflag.Handle()), Autoupdateflag.Width() + room);
    int grow = wanted - Autoupdateflag.Width();
    if (grow > 0) {
        Autoupdateflag.SetWidth(wanted);
        AutoUpdateTime.SetLeft(AutoUpdateTime.Left() + grow);
        Label3.SetLeft(Label3.Left() + grow);
    }
}

} // namespace

TSettingsForm::TSettingsForm(HWND owner, ViewerModel& model, ui::Timer& refreshTime)
    : model_(model), refreshTime_(refreshTime)
{
    Create("Settings - Kaltrow", 327, 191, kDialog, owner);
    SetFont(DialogFont());
    CenterOnScreen();
    Startup.Create(*this, "Start when Windows starts", 16, 24, 153, 17, IDC_STARTUP);
    NewDay.Create(*this, "Show \"New Day\" message", 16, 48, 153, 17, IDC_NEW_DAY);
    Autoupdateflag.Create(*this, "Autoupdate statistics every", 16, 72, 145, 17, IDC_AUTOUPDATE_FLAG);
    AutoUpdateTime.Create(*this, "5", 168, 72, 25, 21, IDC_AUTOUPDATE_TIME);
    Label3.Create(*this, "seconds", 200, 74);
    Label1.Create(*this, "Save log files to:", 16, 96);
    SavePath.Create(*this, "", 16, 114, 217, 21, IDC_SAVE_PATH);
    Browse.Create(*this, "Browse", 240, 112, 65, 25, IDC_BROWSE);
    Button3.Create(*this, "OK", 64, 160, 75, 25, IDC_SETTINGS_OK);
    Button2.Create(*this, "Cancel", 152, 160, 75, 25, IDC_SETTINGS_CANCEL);
    Button1.Create(*this, "Help", 240, 160, 75, 25, IDC_SETTINGS_HELP);
    GroupBox1.Create(*this, "Kaltrow", 8, 8, 313, 145);
    WidenCutCaptions(*this);
    Browse.onClick = [this] { BrowseClick(); };
    Button3.onClick = [this] { Button3Click(); };
    Button2.onClick = [this] { Button2Click(); };
    Button1.onClick = [this] { Button1Click(); };
    onShow = [this] { FormShow(); };
}

void TSettingsForm::FormShow()
{
    LogSettings& log = *model_.logSettings;
    log.Load();   // the tracker may have changed the file; unreadable keeps what is in memory
    SavePath.SetText(log.log_path);
    Startup.SetChecked(log.Startup() != 0);
    NewDay.SetChecked(log.NewDay() != 0);
    InterfaceSettings& iface = *model_.interfaceSettings;
    Autoupdateflag.SetChecked(iface.Autoupdate() != 0);
    AutoUpdateTime.SetText(std::to_string(iface.Autoupdatetime()));
}

void TSettingsForm::Button3Click()
{
    int n = 0;
    std::string text = AutoUpdateTime.Text();
    if (!StrictToInt(text, n)) {
        ShowStandardError("'" + text + "' is not a valid integer value");
        return;
    }
    if (n < 1 || n > 59) {
        ShowMessageBox("Autoupdate time should be between 1 and 59", "Kaltrow", MB_OK);
        return;
    }
    // Nothing is stored or applied until both files are written: a file that
    // cannot be (read-only, held by a backup or sync program) leaves the form
    // open with what the user entered.
    InterfaceSettings iface = *model_.interfaceSettings;
    iface.SetAutoupdate(Autoupdateflag.Checked() ? 1 : 0);
    iface.SetAutoupdatetime(n);
    LogSettings log = *model_.logSettings;
    log.log_path = LogFolderAsRead(SavePath.Text());
    log.SetStartup(Startup.Checked() ? 1 : 0);
    log.SetNewDay(NewDay.Checked() ? 1 : 0);
    const bool logSaved = log.Save();
    if (!logSaved || !iface.Save()) {
        if (logSaved)
            model_.logSettings->Save();   // the shared file back as the tracker knows it
        ShowMessageBox("The settings could not be saved to " + (logSaved ? iface.Path() : log.Path()) + ".",
                       "Kaltrow", MB_OK | MB_ICONERROR);
        return;
    }
    *model_.interfaceSettings = iface;
    *model_.logSettings = log;
    if (Autoupdateflag.Checked()) {
        refreshTime_.SetInterval(static_cast<UINT>(n) * 1000);
        refreshTime_.SetEnabled(true);
    } else {
        refreshTime_.SetEnabled(false);
    }
    // The tracker re-reads "kaltrow.ini"; nobody answers when it is not running.
    if (HWND tracker = FindWindowA(nullptr, "Kaltrow"))
        PostMessageA(tracker, WM_RELOAD_SETTINGS, 0, 0);
    for (Statistics* level : model_.Levels())
        level->SetLogFolder(log.log_path);
    SetModalResult(IDOK);
}

void TSettingsForm::Button2Click()
{
    SetModalResult(IDCANCEL);
}

void TSettingsForm::Button1Click()
{
    ShowHelpTopic(Handle(), IDH_SETTINGS);
}

void TSettingsForm::BrowseClick()
{
    BROWSEINFOA info = InitBrowseInfo(Handle(), "Please choose directory to save log files");
    char path[512];
    BrowseForFolder(info, path, sizeof(path));
    if (path[0] != '\0')
        SavePath.SetText(path);
}
