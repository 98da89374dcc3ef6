#pragma once
#include <windows.h>

#include <string>

namespace ui {

// The system's file open or save dialog. The filter is given as
// "text|pattern|text|pattern".
class FileDialog {
public:
    FileDialog(bool save, const std::string& filter, const std::string& defaultExt)
        : save_(save), filter_(filter), defaultExt_(defaultExt) {}

    // Runs the dialog; true when the user chose a file, now in FileName().
    bool Execute(HWND owner);
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name) { fileName_ = name; }
    bool IsSave() const { return save_; }

private:
    bool save_;
    std::string filter_;
    std::string defaultExt_;
    std::string fileName_;
};

// Tests answer file dialogs through this seam; null restores the system's.
using FileDialogFunction = bool (*)(FileDialog& dialog);
void SetFileDialogFunction(FileDialogFunction function);

} // namespace ui
