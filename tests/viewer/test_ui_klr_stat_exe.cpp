// klr_stat.exe itself, started from the dist folder with a quoted project
// path on its command line, as a user or a shortcut would start it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "data_folder.h"
#include "message_box.h"
#include "pump.h"
#include "test_process.h"
#include "top_windows.h"
#include "viewer_date.h"
#include "viewer_fakes.h"
#include "viewer_resource.h"

namespace {

// The program reads its settings from the data folder of this Wine prefix.
// The test puts its own files there and gives the old ones back afterwards.
class SettingsFiles {
public:
    SettingsFiles() : folder_(DataFolder())
    {
        for (const char* name : {"kaltrow.ini", "interface.ini"}) {
            std::string path = folder_ + "\\" + name;
            saved_.push_back({path, FileExists(path), ReadBytes(path)});
            DeleteFileA(path.c_str());
        }
    }
    ~SettingsFiles()
    {
        for (const Saved& s : saved_) {
            if (s.existed)
                WriteBytes(s.path, s.bytes);
            else
                DeleteFileA(s.path.c_str());
        }
    }
    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }

private:
    struct Saved {
        std::string path;
        bool existed;
        std::string bytes;
    };
    std::string folder_;
    std::vector<Saved> saved_;
};

struct Search {
    int id;
    HWND found;
};

BOOL CALLBACK MatchId(HWND w, LPARAM p)
{
    Search* s = reinterpret_cast<Search*>(p);
    if (GetDlgCtrlID(w) != s->id)
        return TRUE;
    s->found = w;
    return FALSE;
}

HWND FindDescendant(HWND parent, int id)
{
    Search search{id, nullptr};
    EnumChildWindows(parent, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a list item in another process: the request and the text
// travel through memory taken in that process.
std::string RemoteItemText(HANDLE process, HWND list, int item, int column)
{
    const SIZE_T textSize = 256;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + textSize, MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return "<no memory>";
    LVITEMA request;
    ZeroMemory(&request, sizeof(request));
    request.iSubItem = column;
    request.pszText = remote + sizeof(LVITEMA);
    request.cchTextMax = static_cast<int>(textSize);
    WriteProcessMemory(process, remote, &request, sizeof(request), nullptr);
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(remote));
    char text[textSize] = {};
    ReadProcessMemory(process, remote + sizeof(LVITEMA), text, textSize - 1, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

HWND WaitForWindow(const char* title, DWORD milliseconds)
{
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
        if (HWND w = FindWindowA(nullptr, title))
            return w;
        Sleep(100);
    }
    return nullptr;
}

int reloads = 0;

LRESULT CALLBACK CountReloads(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    reloads += msg == WM_RELOAD_SETTINGS;
    return DefWindowProcA(w, msg, wp, lp);
}

} // namespace

TEST(KlrStatExe, OpensTheProjectOnItsCommandLineShowsTodaysTimesAndRemembersIt)
{
    SetDataFolderOverride(std::string());
    SettingsFiles settings;
    LogTree tree;
    TempDir dir;
    WriteBytes(settings.Path("kaltrow.ini"), "log_path = " + tree.LogPath() + "\r\nstartup = 1\r\nnew_day = 1\r\n");
    // Today as the program will see it, and the days around it in case midnight passes.
    for (int offset = -1; offset <= 1; ++offset) {
        int y, m, d;
        DecodeDate(CurrentDate() + offset, y, m, d);
        tree.File(std::to_string(y) + "\\" + std::to_string(m) + "\\" + std::to_string(d),
                  Record("notepad.exe", My_Time(1, 0, 0), My_Time(0, 7, 0), My_Time(0, 1, 0), My_Time(0, 2, 0)));
    }
    std::string project = dir / "p.klr";
    WriteBytes(project, "\"c:\\windows\\notepad.exe\"\t\"Notepad\"\r\n");
    const std::string stale = ".~klr2147483644.tmp";  // left by a crash
    for (const char* name : {"kaltrow.ini", "interface.ini"})
        WriteBytes(settings.Path(name) + stale, "x");

    std::string exe = std::string(KLR_DIST_DIR) + "\\klr_stat.exe";
    ASSERT_TRUE(FileExists(exe)) << exe;
    std::string command = "\"" + exe + "\" \"" + project + "\"";
    STARTUPINFOA si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, KLR_DIST_DIR, &si, &pi));

    HWND main = WaitForWindow("p.klr - Kaltrow", 30000);
    ASSERT_NE(main, nullptr);
    HWND list = FindDescendant(main, IDC_APPL_LIST);
    ASSERT_NE(list, nullptr);
    // The window shows once the first computations are done.
    for (int i = 0; i < 100 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 2; ++i)
        Sleep(100);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(RemoteItemText(pi.hProcess, list, 0, 0), "Notepad");
    EXPECT_EQ(RemoteItemText(pi.hProcess, list, 0, 2), "0:7:0");
    EXPECT_EQ(RemoteItemText(pi.hProcess, list, 0, 5), "0:3:0");
    EXPECT_EQ(RemoteItemText(pi.hProcess, list, 1, 0), "Total");
    EXPECT_EQ(RemoteItemText(pi.hProcess, list, 1, 1), " ");
    EXPECT_TRUE(FileExists(settings.Path("interface.ini")));   // written with its defaults at start
    EXPECT_FALSE(FileExists(settings.Path("kaltrow.ini") + stale) || FileExists(settings.Path("interface.ini") + stale));

    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    std::string iface = ReadBytes(settings.Path("interface.ini"));
    EXPECT_EQ(iface.substr(0, iface.find("\r\n")), "Proj_path = " + project);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

TEST(KlrStatExe, SettingsThatCannotBeSavedAreToldAndNothingIsApplied)
{
    SetDataFolderOverride(std::string());
    SettingsFiles settings;
    const std::string kaltrowIni = "log_path = C:\\Old\r\nstartup = 1\r\nnew_day = 1\r\n";
    WriteBytes(settings.Path("kaltrow.ini"), kaltrowIni);
    // Stands for the tracker's window: counts the reload messages posted to it.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountReloads;
    wc.lpszClassName = "KlrTestTracker";
    RegisterClassA(&wc);
    HWND tracker = CreateWindowA(wc.lpszClassName, "Kaltrow", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    TestProcess viewer;
    ASSERT_TRUE(viewer.Start(std::string(KLR_DIST_DIR) + "\\klr_stat.exe", {}, KLR_DIST_DIR));
    HWND main = FindTopWindow("Untitled.klr - Kaltrow", viewer.Pid(), 30000);
    PostMessageA(main, WM_COMMAND, ID_SETTINGS, 0);
    HWND form = FindTopWindow("Settings - Kaltrow", viewer.Pid());
    HWND path = FindDescendant(form, IDC_SAVE_PATH);
    SendMessageA(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\New"));

    HANDLE held = HoldUnshared(settings.Path("kaltrow.ini"));
    PressDialogButton(form, IDC_SETTINGS_OK);
    HWND box = FindDialog(viewer.Pid(), 10000);
    EXPECT_EQ(MessageBoxText(box), "The settings could not be saved to " + settings.Path("kaltrow.ini") + ".");
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 5000));
    EXPECT_EQ(WindowText(path), "C:\\New");   // still open with the entry
    // Opened again while the file is unreadable, it shows the folder in use.
    PressDialogButton(form, IDC_SETTINGS_CANCEL);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(form); }, 5000));
    PostMessageA(main, WM_COMMAND, ID_SETTINGS, 0);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form); }, 5000));
    EXPECT_EQ(WindowText(path), "C:\\Old");
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(settings.Path("kaltrow.ini")), kaltrowIni);
    EXPECT_EQ(reloads, 0);
    DestroyWindow(tracker);
}
