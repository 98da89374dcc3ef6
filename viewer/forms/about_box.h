#pragma once
#include "controls.h"
#include "form.h"
#include "label.h"
#include "panel.h"

// The About box: the product picture, the product's name and version.
class TAboutBox : public ui::Form {
public:
    explicit TAboutBox(HWND owner);
    ~TAboutBox() override;

    ui::Panel Picture;
    ui::Panel Panel1;
    ui::Label ProductName;
    ui::Label Version;
    ui::Button OKButton;

private:
    HBITMAP logo_ = nullptr;
};
