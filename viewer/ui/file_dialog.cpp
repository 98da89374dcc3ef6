#include "file_dialog.h"

#include <commdlg.h>

#include <vector>

namespace ui {

namespace {

FileDialogFunction& Function()
{
    static FileDialogFunction function = nullptr;
    return function;
}

} // namespace

void SetFileDialogFunction(FileDialogFunction function)
{
    Function() = function;
}

bool FileDialog::Execute(HWND owner)
{
    if (Function())
        return Function()(*this);
    std::string filter = filter_;
    for (char& c : filter) {
        if (c == '|')
            c = '\0';
    }
    filter.append(2, '\0');
    std::vector<char> name(MAX_PATH * 4, '\0');
    lstrcpynA(name.data(), fileName_.c_str(), static_cast<int>(name.size()));
    OPENFILENAMEA ofn;
    ZeroMemory(&ofn, sizeof(ofn));
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrDefExt = defaultExt_.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (save_)
        ofn.Flags |= OFN_OVERWRITEPROMPT;
    else
        ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    BOOL ok = save_ ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok)
        return false;
    fileName_ = name.data();
    return true;
}

} // namespace ui
