// klr_testapp: one visible top-level window with an edit field, an
// application for the end-to-end tests to track. Everything comes from the
// command line:
//   --title TEXT        window title (default "klr test app")
//   --pos X Y           top-left corner in screen pixels (default 100 100)
//   --size W H          window size (default 400 300)
//   --show-after MS     create the window hidden and show it MS later
//   --message-box TEXT  show a Yes/No message box over the window at once;
//                       the program ends with the button's id as exit code
// The window closes on WM_CLOSE and the program then ends with exit code 0.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kClassName[] = "KlrTestApp";
const UINT_PTR kShowTimer = 1;

struct Options {
    std::string title = "klr test app";
    int x = 100, y = 100, width = 400, height = 300;
    int showAfterMs = 0;
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
        else if (a == "--message-box" && has1) {
            o.messageBox = true;
            o.messageText = argv[++i];
        }
    }
    return o;
}

HWND g_edit = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        RECT r;
        GetClientRect(window, &r);
        g_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_MULTILINE, 0, 0,
                                 r.right, r.bottom, window, nullptr, nullptr, nullptr);
        return 0;
    }
    case WM_SIZE:
        if (g_edit)
            MoveWindow(g_edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (g_edit)
            SetFocus(g_edit);
        return 0;
    case WM_TIMER:
        if (wParam == kShowTimer) {
            KillTimer(window, kShowTimer);
            ShowWindow(window, SW_SHOW);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Options o = ParseOptions(__argc, __argv);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);

    // Created hidden and shown afterwards, as most programs do.
    HWND window = CreateWindowExA(0, kClassName, o.title.c_str(), WS_OVERLAPPEDWINDOW, o.x, o.y, o.width,
                                  o.height, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    if (o.showAfterMs > 0)
        SetTimer(window, kShowTimer, o.showAfterMs, nullptr);
    else
        ShowWindow(window, SW_SHOW);

    if (o.messageBox)
        return MessageBoxA(window, o.messageText.c_str(), o.title.c_str(), MB_YESNO);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
