#include "main_form.h"

#include "about_box.h"
#include "help.h"
#include "messages.h"
#include "settings_form.h"
#include "viewer_resource.h"

int TSDIAppForm::SavePrompt(UINT buttons)
{
    if (!model_.klr || model_.klr->saved)
        return IDNO;
    std::string path = SaveDialog.FileName();
    size_t slash = path.find_last_of('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty())
        name = "Untitled.klr";
    int answer = ShowMessageBox("Save changes to '" + name + "' ?", "Kaltrow", buttons);
    // A project that could not be written is not closed: the command stops.
    if (answer == IDYES && !SaveProject(SaveDialog.FileName()))
        return IDCANCEL;
    return answer;
}

void TSDIAppForm::FileNew1Execute()
{
    if (SavePrompt(MB_YESNO) == IDCANCEL)
        return;
    model_.klr->New();
    SetCaption("Untitled.klr - Kaltrow");
    // OpenDialog and Proj_path stay: the next start reopens the last project
    // unless the new one is saved.
    SaveDialog.SetFileName(std::string());
}

void TSDIAppForm::FileOpen1Execute()
{
    if (SavePrompt(MB_YESNO) == IDCANCEL)
        return;
    if (OpenDialog.Execute(Handle()))
        OpenProjectFile();
}

bool TSDIAppForm::SaveProject(const std::string& previousName)
{
    if (SaveDialog.FileName().empty() && !SaveDialog.Execute(Handle()))
        return true;   // no name: nothing saved, and nothing went wrong
    const std::string name = SaveDialog.FileName();
    if (!model_.klr->Save(name)) {
        // The caption, the names and the project to reopen stay with the
        // file that holds the project.
        SaveDialog.SetFileName(previousName);
        ShowMessageBox("The project could not be saved to " + name + ".", "Kaltrow", MB_OK | MB_ICONERROR);
        return false;
    }
    SetCaption(ProjectCaption(name));
    model_.interfaceSettings->SetProjPath(name);
    return true;
}

void TSDIAppForm::FileSave1Execute()
{
    SaveProject(SaveDialog.FileName());
}

void TSDIAppForm::FileSaveAs1Execute()
{
    const std::string previousName = SaveDialog.FileName();
    if (SaveDialog.Execute(Handle()))
        SaveProject(previousName);
}

void TSDIAppForm::FileExit1Execute()
{
    SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TSDIAppForm::SettingsExecute()
{
    if (settings_)
        settings_->ShowModal();
}

void TSDIAppForm::Add_applicationExecute()
{
    model_.iface->AddApplication();
    MergeProjectRows(*model_.iface, model_.resultList);
    model_.klr->saved = false;
}

void TSDIAppForm::del_applExecute()
{
    model_.iface->DeleteApplication();
    MergeProjectRows(*model_.iface, model_.resultList);
    model_.klr->saved = false;
}

void TSDIAppForm::Action1Execute()
{
    bool hide = Total_panel.Visible();
    Hor_split.SetVisible(!hide);
    Total_panel.SetVisible(!hide);
    // Its shortcut too: with both panels hidden nothing could show them again.
    actions.Find(ID_APPLICATIONS)->enabled = !hide;
    ToolBar1.EnableButton(ID_APPLICATIONS, !hide);
    MainMenu1.EnableItem(ID_APPLICATIONS, !hide);
    MainMenu1.SetItemCaption(ID_ACTION1, hide ? "Show Period" : "Hide Period");
    ToolBar1.SetButtonImage(ID_APPLICATIONS, hide ? IMG_TOTAL : IMG_APPLICATIONS);
    ToolBar1.SetButtonImage(ID_ACTION1, hide ? IMG_APPLICATIONS : IMG_TOTAL);
    MainPanel.AlignControls();
}

void TSDIAppForm::ApplicationsExecute()
{
    bool hide = Appl_panel.Visible();
    if (hide) {
        model_.savedPeriodHeight = Total_panel.Height();
        Hor_split.align = ui::Align::Bottom;
        Total_panel.align = ui::Align::Client;
        Hor_split.SetVisible(false);
        Appl_panel.SetVisible(false);
    } else {
        Total_panel.align = ui::Align::Top;
        Total_panel.SetHeight(model_.savedPeriodHeight);
        Hor_split.align = ui::Align::Top;
        Hor_split.SetVisible(true);
        Appl_panel.SetVisible(true);
    }
    actions.Find(ID_ACTION1)->enabled = !hide;
    ToolBar1.EnableButton(ID_ACTION1, !hide);
    MainMenu1.EnableItem(ID_ACTION1, !hide);
    MainMenu1.SetItemCaption(ID_APPLICATIONS, hide ? "Show Applications" : "Hide Applications");
    ToolBar1.SetButtonImage(ID_APPLICATIONS, hide ? IMG_TOTAL : IMG_APPLICATIONS);
    ToolBar1.SetButtonImage(ID_ACTION1, hide ? IMG_APPLICATIONS : IMG_TOTAL);
    MainPanel.AlignControls();
}

void TSDIAppForm::HelpAbout1Execute()
{
    if (about_)
        about_->ShowModal();
}

void TSDIAppForm::Contents1Click()
{
    ShowHelpTopic(Handle(), IDH_MAIN);
}

void TSDIAppForm::Kaltrowhomepage1Click()
{
    OpenHomePage();
}

void TSDIAppForm::RefreshTimeTimer()
{
    if (Computing())
        return;
    model_.klr->recompute = true;
    model_.klr->Show();
}

bool TSDIAppForm::FormClose()
{
    int answer = SavePrompt(MB_YESNOCANCEL);
    // The layout is kept whatever the answer, Cancel included.
    if (model_.interfaceSettings) {
        model_.interfaceSettings->SetSplitPos(Total_panel.Height());
        model_.interfaceSettings->Save();
    }
    return answer != IDCANCEL;
}
