#include "about_box.h"

#include "dialog_font.h"
#include "viewer_resource.h"

TAboutBox::TAboutBox(HWND owner)
{
    Create("About", 400, 312, kDialog, owner);
    SetFont(DialogFont());
    CenterOnScreen();
    logo_ = static_cast<HBITMAP>(LoadImageA(ui::Instance(), MAKEINTRESOURCEA(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));
    Picture.Create(*this, 0, 0, 400, 137);
    Picture.SetPicture(logo_);
    Panel1.Create(*this, 8, 145, 384, 121);
    Panel1.SetLowered(true);
    ProductName.Create(Panel1, "Kaltrow", 16, 16);
    Version.Create(Panel1, "Version 1.1", 16, 40);
    OKButton.Create(*this, "OK", 162, 276, 75, 25, IDC_ABOUT_OK, true);
    OKButton.onClick = [this] { SetModalResult(IDOK); };
    SetDefaultButton(&OKButton);
}

TAboutBox::~TAboutBox()
{
    if (logo_)
        DeleteObject(logo_);
}
