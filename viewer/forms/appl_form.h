#pragma once
#include "controls.h"
#include "form.h"
#include "image_list.h"
#include "list_view.h"
#include "views.h"

#include "applic.h"

// The add-application dialog: the applications with a visible window, with
// their icons and names; the one chosen goes into the project before its
// closing row. The list only grows: each activation adds what is new.
class TAppl_form : public ui::Form, public AddApplicationView {
public:
    TAppl_form(HWND owner, ApplicList* projectList);
    ~TAppl_form() override;

    int ShowModal() override { return Form::ShowModal(); }

    void FormActivate();
    void Appl_runDblClick();
    void Button3Click();
    void Button2Click();
    void Button1Click();

    // One row per application listed, item i showing row i and image i.
    // The rows' shell icons are the dialog's; it frees them when it goes.
    const ApplicList& RunningList() const { return runningList_; }

    // Before the list that shows it, so the list goes first.
    ui::ImageList icons;
    ui::ListView Appl_run;
    ui::Button Button3;
    ui::Button Button2;
    ui::Button Button1;

private:
    friend BOOL CALLBACK AddRunningWindow(HWND window, LPARAM parameter);
    void AddRunning(HWND window);

    ApplicList* projectList_;
    ApplicList runningList_;
    HMODULE processLibrary_ = nullptr;
};

// The enumeration callback: lists the window's application once. The
// parameter is the dialog. Always goes on with the next window.
BOOL CALLBACK AddRunningWindow(HWND window, LPARAM parameter);
