#include "wait_form.h"

#include "dialog_font.h"
#include "progress_thread.h"
#include "viewer_resource.h"

TWaitForm::TWaitForm(HWND owner)
{
    Create("Statistics", 417, 118, kDialog, owner);
    SetFont(DialogFont());
    CenterOnScreen();
    Label1.Create(*this, "Please wait while computing...", 0, 16);
    Label1.SetCentered(417);
    ProgressBar1.Create(*this, 16, 40, 385, 17);
    ProgressBar1.SetRange(0, 100);
    Button1.Create(*this, "Abort", 171, 76, 75, 25, IDC_WAIT_ABORT);
    Button1.onClick = [this] { Button1Click(); };
    SetCancelButton(&Button1);
}

void TWaitForm::Button1Click()
{
    if (ProgressThread* worker = CurrentWorker())
        worker->Terminate();
    if (IsModal())
        SetModalResult(IDCANCEL);
    else
        Hide();
}
