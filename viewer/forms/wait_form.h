#pragma once
#include "controls.h"
#include "form.h"
#include "label.h"
#include "views.h"

// The progress dialog of a reading run. Runs move its bar and hide it; it
// is not shown (a run reads every file, so Abort would stop nothing).
class TWaitForm : public ui::Form, public WaitView {
public:
    explicit TWaitForm(HWND owner);

    void SetPosition(int position) override { ProgressBar1.SetPosition(position); }
    void Hide() override { ShowWindow(Handle(), SW_HIDE); }

    // Asks the latest worker to stop and closes the dialog.
    void Button1Click();

    ui::Label Label1;
    ui::Button Button1;
    ui::ProgressBar ProgressBar1;
};
