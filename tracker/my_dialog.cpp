#include "my_dialog.h"

#include <cstring>

#include "process_identity.h"
#include "tracker_messages.h"
#include "win_version.h"

NOTIFYICONDATAA trayIconData;
const char* const kProductTip = "Kaltrow v1.1";

namespace {
constexpr UINT kTrayIconId = 256;
}

MyDialog::MyDialog(int templateId, DLGPROC procedure) : templateId_(templateId), procedure_(procedure) {}

HWND MyDialog::CreateModeless()
{
    window_ = CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId_), nullptr, procedure_, 0);
    return window_;
}

void MyDialog::FillTrayRecord(int iconId, const char* tip)
{
    ZeroMemory(&trayIconData, sizeof(trayIconData));
    // The first form of the record: every shell since Windows 95 takes it.
    trayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    trayIconData.hWnd = window_;
    trayIconData.uID = kTrayIconId;
    trayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData.uCallbackMessage = WM_TRAY_NOTIFY;
    trayIconData.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(iconId));
    // The first form's tip holds 64 characters with its terminator.
    std::strncpy(trayIconData.szTip, tip ? tip : "", 63);
    trayIconData.szTip[63] = '\0';
}

void MyDialog::AddTrayIcon(int iconId)
{
    FillTrayRecord(iconId, kProductTip);
    Shell_NotifyIconA(NIM_ADD, &trayIconData);
}

void MyDialog::ModifyTrayIcon(int iconId, const char* tip)
{
    FillTrayRecord(iconId, tip);
    Shell_NotifyIconA(NIM_MODIFY, &trayIconData);
}

void MyDialog::SetTransparency(int alpha)
{
    if (!IsWin2000Plus())
        return;
    LONG_PTR style = GetWindowLongPtrA(window_, GWL_EXSTYLE);
    SetWindowLongPtrA(window_, GWL_EXSTYLE, style | WS_EX_LAYERED);
    if (pSetLayeredWindowAttributes)
        pSetLayeredWindowAttributes(window_, 0, static_cast<BYTE>(alpha & 0xFF), LWA_ALPHA);
}
