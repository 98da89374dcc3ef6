#pragma once
#include <windows.h>
#include <shellapi.h>

#include "my_window.h"

// The tray record: one for the process, reused to add, modify and delete the icon.
extern NOTIFYICONDATAA trayIconData;

// The tray tip shown right after the icon is added.
extern const char* const kProductTip;  // "Kaltrow v1.1"

// A dialog from a template of the program's own module.
class MyDialog : public MyWindow {
public:
    MyDialog(int templateId, DLGPROC procedure);

    // A further modeless window of the template at each call; kept and returned.
    HWND CreateModeless();

    void AddTrayIcon(int iconId);
    // The tip keeps at most 63 characters.
    void ModifyTrayIcon(int iconId, const char* tip);
    // Alpha is the value's low byte (0 transparent, 255 opaque); needs Windows 2000.
    void SetTransparency(int alpha);

    int TemplateId() const { return templateId_; }

private:
    void FillTrayRecord(int iconId, const char* tip);

    int templateId_;
    DLGPROC procedure_;
};
