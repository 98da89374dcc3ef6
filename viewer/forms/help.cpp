#include "help.h"

#include "html_help.h"

#include <shellapi.h>

#include <string>

namespace {

HelpFunction& Function()
{
    static HelpFunction function = nullptr;
    return function;
}

} // namespace

void SetHelpFunction(HelpFunction function)
{
    Function() = function;
}

void ShowHelpTopic(HWND owner, DWORD context)
{
    if (Function()) {
        Function()(owner, context);
        return;
    }
    ShowHelpContext(owner, context);
}

std::string HomePagePath()
{
    char module[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof(module));
    std::string path(module, n < sizeof(module) ? n : 0);
    size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "homepage.html";
}

void OpenHomePage()
{
    ShellExecuteA(nullptr, nullptr, HomePagePath().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
