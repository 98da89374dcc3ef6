#include "html_help.h"

namespace {

constexpr UINT kHelpContextCommand = 0x000F;  // HH_HELP_CONTEXT

typedef HWND(WINAPI* HtmlHelpAFn)(HWND, LPCSTR, UINT, DWORD_PTR);

HtmlHelpAFn HtmlHelpEntry()
{
    // Loaded once and kept: the help window lives on after the call returns,
    // and no import library is needed.
    static HtmlHelpAFn entry = [] {
        HMODULE library = LoadLibraryA("hhctrl.ocx");
        return library ? reinterpret_cast<HtmlHelpAFn>(reinterpret_cast<void*>(GetProcAddress(library, "HtmlHelpA")))
                       : nullptr;
    }();
    return entry;
}

} // namespace

void ShowHelpContext(HWND owner, unsigned context)
{
    if (HtmlHelpAFn help = HtmlHelpEntry())
        help(owner, "klr.chm", kHelpContextCommand, context);
}
