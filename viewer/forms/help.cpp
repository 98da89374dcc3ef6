#include "help.h"

#include <shellapi.h>

#include <string>

namespace {

typedef HWND(WINAPI* HtmlHelpAFn)(HWND, LPCSTR, UINT, DWORD_PTR);

const UINT kHelpContext = 15;   // HH_HELP_CONTEXT

HelpFunction& Function()
{
    static HelpFunction function = nullptr;
    return function;
}

HtmlHelpAFn BoundHtmlHelp()
{
    // Loaded once; no import library is needed, and a missing library is no error.
    static HtmlHelpAFn entry = [] {
        HMODULE library = LoadLibraryA("hhctrl.ocx");
        return library ? reinterpret_cast<HtmlHelpAFn>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA")))
                       : nullptr;
    }();
    return entry;
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
    if (HtmlHelpAFn htmlHelp = BoundHtmlHelp())
        htmlHelp(owner, "klr.chm", kHelpContext, context);
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
