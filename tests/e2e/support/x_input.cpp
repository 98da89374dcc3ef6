#include "x_input.h"

#include "pump.h"
#include "test_process.h"
#include "test_support.h"

namespace {

const char kXdotool[] = "/usr/bin/xdotool";

// Wine's own export: the Unix path of a Windows path, on the process heap.
typedef char*(CDECL* UnixFileNameProc)(LPCWSTR);

UnixFileNameProc UnixFileName()
{
    return reinterpret_cast<UnixFileNameProc>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
}

std::string ToUnixPath(const std::string& windowsPath)
{
    UnixFileNameProc convert = UnixFileName();
    if (!convert)
        return std::string();
    wchar_t wide[MAX_PATH] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH))
        return std::string();
    char* unixPath = convert(wide);
    if (!unixPath)
        return std::string();
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

std::string MarkerPath()
{
    static int counter = 0;
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof(folder), folder);
    return std::string(folder) + "klr_xdo_" + std::to_string(GetCurrentProcessId()) + "_" +
           std::to_string(++counter);
}

} // namespace

bool XInputAvailable()
{
    return UnixFileName() != nullptr &&
           GetFileAttributesA("Z:\\usr\\bin\\xdotool") != INVALID_FILE_ATTRIBUTES;
}

std::string ShellQuote(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

bool RunUnixShell(const std::string& script, DWORD timeoutMs)
{
    std::string marker = MarkerPath();
    std::string unixMarker = ToUnixPath(marker);
    if (unixMarker.empty())
        return false;
    std::string m = ShellQuote(unixMarker), tmp = ShellQuote(unixMarker + ".tmp");
    // The rename makes the marker appear whole.
    std::string whole = "{ " + script + "; } >/dev/null 2>&1; echo $? >" + tmp + "; mv " + tmp + " " + m;
    std::string line = "/bin/sh -c " + QuoteArgument(whole);
    STARTUPINFOA si = NoStandardHandles();
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    if (pi.hThread)
        CloseHandle(pi.hThread);
    if (pi.hProcess)
        CloseHandle(pi.hProcess);
    bool done = PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; },
                          timeoutMs);
    if (!done)
        return false;
    std::string code = ReadBytes(marker);
    DeleteFileA(marker.c_str());
    // The shell's exit status: only success starts with a 0.
    return !code.empty() && code[0] == '0';
}

bool RunXdotool(const std::string& args, DWORD timeoutMs)
{
    return RunUnixShell(std::string(kXdotool) + " " + args, timeoutMs);
}

bool MouseMoveTo(int x, int y)
{
    return RunXdotool("mousemove " + std::to_string(x) + " " + std::to_string(y));
}

bool Click(int button)
{
    return RunXdotool("click " + std::to_string(button));
}

bool TypeText(const std::string& text)
{
    return RunXdotool("type --delay 20 -- " + ShellQuote(text));
}

bool PressKey(const std::string& keysym)
{
    return RunXdotool("key -- " + ShellQuote(keysym));
}

POINT ClientCentre(HWND window)
{
    RECT r = {};
    GetClientRect(window, &r);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(window, &p);
    return p;
}

bool ActivateWindow(HWND window, DWORD timeoutMs)
{
    POINT p = ClientCentre(window);
    HWND root = GetAncestor(window, GA_ROOT);
    std::string click = "mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " click 1";
    DWORD start = GetTickCount();
    // The click can come before a program shown a moment ago has taken the
    // foreground it was given, and then that program takes it back: the click
    // is repeated until the window has the foreground and keeps it past a
    // round trip to the thread that held it before.
    for (;;) {
        HWND before = GetForegroundWindow();
        if (!RunXdotool(click))
            return false;
        if (PumpUntil([&] { return GetForegroundWindow() == root; }, 1000)) {
            DWORD_PTR ignored = 0;
            if (before && before != root)
                SendMessageTimeoutA(before, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
            if (GetForegroundWindow() == root)
                return true;
        }
        if (GetTickCount() - start >= timeoutMs)
            return false;
    }
}
