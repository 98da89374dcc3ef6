#pragma once
#include <string>

// Message boxes of the model go through one seam, so tests see the text,
// caption and flags without a real box.
using MessageBoxFunction = int (*)(const std::string& text, const std::string& caption, unsigned flags);

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags);
// Null restores the real message box.
void SetMessageBoxFunction(MessageBoxFunction function);

// The application's title, the caption of error boxes; the main window keeps
// it equal to its own caption.
const std::string& ApplicationTitle();
void SetApplicationTitle(const std::string& title);

// Errors that stop a computation: error icon, the application's title.
void ShowRunError(const std::string& text);
