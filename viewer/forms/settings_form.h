#pragma once
#include <string>

#include "controls.h"
#include "form.h"
#include "label.h"
#include "timer.h"
#include "viewer_model.h"

// The settings form: the shared settings of "kaltrow.ini" and the viewer's
// auto-refresh. It fills itself from the settings in memory each time it
// opens; OK checks, stores, saves both files and tells the tracker.
class TSettingsForm : public ui::Form {
public:
    TSettingsForm(HWND owner, ViewerModel& model, ui::Timer& refreshTime);

    void FormShow();
    void Button3Click();
    void Button2Click();
    void Button1Click();
    void BrowseClick();

    ui::CheckBox Startup;
    ui::CheckBox NewDay;
    ui::CheckBox Autoupdateflag;
    ui::Edit AutoUpdateTime;
    ui::Label Label3;
    ui::Label Label1;
    ui::Edit SavePath;
    ui::Button Browse;
    ui::Button Button3;
    ui::Button Button2;
    ui::Button Button1;
    ui::GroupBox GroupBox1;

private:
    ViewerModel& model_;
    ui::Timer& refreshTime_;
};

// A decimal integer with optional leading blanks and sign and nothing after
// it, within 32 bits; false for anything else.
bool StrictToInt(const std::string& text, int& value);
// The standard error box: the text ends with a full stop, the application's
// title is the caption.
void ShowStandardError(const std::string& text);
