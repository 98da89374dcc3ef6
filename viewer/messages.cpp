#include "messages.h"

#include <windows.h>

namespace {

MessageBoxFunction& Function()
{
    static MessageBoxFunction function = nullptr;
    return function;
}

std::string& Title()
{
    static std::string title = "Untitled.klr - Kaltrow";
    return title;
}

} // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    if (Function())
        return Function()(text, caption, flags);
    return MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
}

void SetMessageBoxFunction(MessageBoxFunction function)
{
    Function() = function;
}

const std::string& ApplicationTitle()
{
    return Title();
}

void SetApplicationTitle(const std::string& title)
{
    Title() = title;
}

void ShowRunError(const std::string& text)
{
    ShowMessageBox(text, ApplicationTitle(), MB_OK | MB_ICONERROR);
}
