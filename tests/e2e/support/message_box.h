#pragma once
#include <windows.h>

#include <string>

// The text a message box shows: its first static control with text.
std::string MessageBoxText(HWND box);

// Presses the button `id` of a dialog (IDOK, IDCANCEL, IDYES, IDNO...);
// false when the dialog has no such button.
bool PressDialogButton(HWND dialog, int id);
