#include "appl_form.h"

#include "dialog_font.h"
#include "help.h"
#include "messages.h"
#include "project.h"
#include "running_apps.h"
#include "viewer_resource.h"

TAppl_form::TAppl_form(HWND owner, ApplicList* projectList) : projectList_(projectList)
{
    Create("Add application", 443, 320, kDialog, owner);
    SetFont(DialogFont());
    SetWindowPos(Handle(), nullptr, 356, 377, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    icons.Create(32, 32);
    Appl_run.Create(*this, ui::ListView::kReport, IDC_APPL_RUN, LVS_SINGLESEL);
    Appl_run.SetBounds(4, 4, 433, 277);
    Appl_run.AddColumn("Applications running", 429);
    Appl_run.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    Appl_run.SetImageList(icons.Handle(), LVSIL_SMALL);
    Appl_run.onDblClick = [this] { Appl_runDblClick(); };
    Button3.Create(*this, "Add", 204, 288, 75, 25, IDC_APPL_ADD, true);
    Button2.Create(*this, "Cancel", 284, 288, 75, 25, IDC_APPL_CANCEL);
    Button1.Create(*this, "Help", 364, 288, 75, 25, IDC_APPL_HELP);
    Button3.onClick = [this] { Button3Click(); };
    Button2.onClick = [this] { Button2Click(); };
    Button1.onClick = [this] { Button1Click(); };
    SetDefaultButton(&Button3);
    SetCancelButton(&Button2);
    onActivate = [this] { FormActivate(); };

    // From Windows 2000 on the process-status library names the modules;
    // before it the kernel's tool-help snapshot does.
    if (LoadLibraryByName("psapi.dll", processLibrary_))
        BindPsapi(processLibrary_);
    else if (LoadLibraryByName("kernel32.dll", processLibrary_))
        BindToolhelp(processLibrary_);
    BindFullImageName(GetModuleHandleA("kernel32.dll"));
}

TAppl_form::~TAppl_form()
{
    for (Applic& row : runningList_)
        FreeShellIcon(row.icon);
    if (processLibrary_)
        FreeLibrary(processLibrary_);
}

BOOL CALLBACK AddRunningWindow(HWND window, LPARAM parameter)
{
    reinterpret_cast<TAppl_form*>(parameter)->AddRunning(window);
    return TRUE;
}

void TAppl_form::AddRunning(HWND window)
{
    Applic row;
    if (!RunningApplicOfWindow(window, row) || IsApplicInList(runningList_, row))
        return;
    row.icon = GetShellIcon(row.path);
    // Item i shows image i: a file without an icon gets the system's
    // application icon, so the images of later rows stay in step.
    if (icons.AddIcon(row.icon) < 0)
        icons.AddIcon(LoadIcon(nullptr, IDI_APPLICATION));
    Appl_run.AddItem(row.name, static_cast<int>(runningList_.size()));
    runningList_.push_back(row);
}

void TAppl_form::FormActivate()
{
    EnumWindows(AddRunningWindow, reinterpret_cast<LPARAM>(this));
}

void TAppl_form::Appl_runDblClick()
{
    int i = Appl_run.NextItem(-1, LVNI_SELECTED);
    if (i < 0 || static_cast<size_t>(i) >= runningList_.size())
        return;
    const Applic& chosen = runningList_[static_cast<size_t>(i)];
    if (IsApplicInList(*projectList_, chosen)) {
        ShowMessageBox("Specified application is already selected. Please choose another one.", "Kaltrow",
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Applic closing("Total", "");
    if (!projectList_->empty()) {
        closing = projectList_->back();
        projectList_->pop_back();
    }
    projectList_->push_back(chosen);
    projectList_->push_back(closing);
    SetModalResult(IDOK);
}

void TAppl_form::Button3Click()
{
    if (Appl_run.NextItem(-1, LVNI_SELECTED) < 0) {
        ShowMessageBox("No application selected. Please select application you want to add.", "Kaltrow",
                       MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Appl_runDblClick();
}

void TAppl_form::Button2Click()
{
    SetModalResult(IDCANCEL);
}

void TAppl_form::Button1Click()
{
    ShowHelpTopic(Handle(), IDH_ADD_APPLICATION);
}
