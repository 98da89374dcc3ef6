// klr_testapp: a visible top-level window with an edit field (two with
// --second), an application for the end-to-end tests to track. Everything
// comes from the command line:
//   --title TEXT        window title (default "klr test app")
//   --pos X Y           top-left corner in screen pixels (default 100 100)
//   --size W H          window size (default 400 300)
//   --show-after MS     create the window hidden and show it MS later
//   --hidden            create the window hidden and leave it so
//   --title-after MS    start with an empty title, set it MS after start
//   --second TEXT       a second top-level window with that title, beside
//                       the first; the program ends when both are closed
//   --message-box TEXT  show a Yes/No message box over the window at once;
//                       the program ends with the button's id as exit code
// A window closes on WM_CLOSE, shown or hidden; when none is left the program
// ends with exit code 0.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kClassName[] = "KlrTestApp";
const UINT_PTR kShowTimer = 1;
const UINT_PTR kTitleTimer = 2;

struct Options {
    std::string title = "klr test app";
    int x = 100, y = 100, width = 400, height = 300;
    int showAfterMs = 0;
    bool hidden = false;
    int titleAfterMs = 0;
    std::string second;
    bool messageBox = false;
    std::string messageText;
};

Options ParseOptions(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        bool has1 = i + 1 < argc, has2 = i + 2 < argc;
        if (a == "--title" && has1)
            o.title = argv[++i];
        else if (a == "--pos" && has2) {
            o.x = std::atoi(argv[++i]);
            o.y = std::atoi(argv[++i]);
        } else if (a == "--size" && has2) {
            o.width = std::atoi(argv[++i]);
            o.height = std::atoi(argv[++i]);
        } else if (a == "--show-after" && has1)
            o.showAfterMs = std::atoi(argv[++i]);
        else if (a == "--hidden")
            o.hidden = true;
        else if (a == "--title-after" && has1)
            o.titleAfterMs = std::atoi(argv[++i]);
        else if (a == "--second" && has1)
            o.second = argv[++i];
        else if (a == "--message-box" && has1) {
            o.messageBox = true;
            o.messageText = argv[++i];
        }
    }
    return o;
}

Options g_options;
int g_openWindows = 0;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        ++g_openWindows;
        RECT r;
        GetClientRect(window, &r);
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, 0, 0, r.right,
                        r.bottom, window, nullptr, nullptr, nullptr);
        return 0;
    }
    case WM_SIZE:
        if (HWND edit = GetWindow(window, GW_CHILD))
            MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (HWND edit = GetWindow(window, GW_CHILD))
            SetFocus(edit);
        return 0;
    case WM_TIMER:
        KillTimer(window, wParam);
        if (wParam == kShowTimer)
            ShowWindow(window, SW_SHOW);
        else if (wParam == kTitleTimer)
            SetWindowTextA(window, g_options.title.c_str());
        return 0;
    case WM_DESTROY:
        if (--g_openWindows == 0)
            PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    g_options = ParseOptions(__argc, __argv);
    const Options& o = g_options;

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);

    // Created hidden and shown afterwards, as most programs do.
    const char* title = o.titleAfterMs > 0 ? "" : o.title.c_str();
    HWND window = CreateWindowExA(0, kClassName, title, WS_OVERLAPPEDWINDOW, o.x, o.y, o.width, o.height,
                                  nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    if (!o.second.empty()) {
        HWND second = CreateWindowExA(0, kClassName, o.second.c_str(), WS_OVERLAPPEDWINDOW, o.x + o.width + 20,
                                      o.y, o.width, o.height, nullptr, nullptr, instance, nullptr);
        if (second && !o.hidden)
            ShowWindow(second, SW_SHOW);
    }
    if (o.showAfterMs > 0)
        SetTimer(window, kShowTimer, o.showAfterMs, nullptr);
    else if (!o.hidden)
        ShowWindow(window, SW_SHOW);
    if (o.titleAfterMs > 0)
        SetTimer(window, kTitleTimer, o.titleAfterMs, nullptr);

    if (o.messageBox)
        return MessageBoxA(window, o.messageText.c_str(), o.title.c_str(), MB_YESNO);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
