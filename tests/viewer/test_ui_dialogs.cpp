// The settings form, the add-application dialog and the progress dialog.
#include "ui_fixture.h"

namespace {

using Strings = std::vector<std::string>;

// A top-level window of the test that stands for the tracker's: it counts
// the reload messages it is given, whoever dispatches them.
class TrackerWindow {
public:
    explicit TrackerWindow(const char* title, bool visible = false)
    {
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof(wc));
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KlrTestTracker";
        RegisterClassA(&wc);
        hwnd = CreateWindowA("KlrTestTracker", title, WS_POPUP | (visible ? WS_VISIBLE : 0), 0, 0, 50, 20, nullptr,
                             nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    }
    ~TrackerWindow() { DestroyWindow(hwnd); }
    // Whether message 2114 came, with both parameters 0.
    bool Received()
    {
        ui::ProcessMessages();
        return GetWindowLongPtrA(hwnd, GWLP_USERDATA) != 0;
    }
    HWND hwnd;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_RELOAD_SETTINGS && wParam == 0 && lParam == 0)
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, GetWindowLongPtrA(hwnd, GWLP_USERDATA) + 1);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
};

class SettingsForm : public ViewerApp {
protected:
    SettingsForm()
    {
        Start();
        kaltrowIni = ReadBytes(Data("kaltrow.ini"));
        interfaceIni = ReadBytes(Data("interface.ini"));
    }
    TSettingsForm& Form() { return app->SettingsForm(); }
    // Opens the form, runs `inside` in it, then presses OK; true when that closed it.
    bool OkWith(const std::function<void()>& inside)
    {
        bool closed = true;
        tasks.Post([&] {
            inside();
            Form().Button3.Click();
        });
        tasks.Post([&] {
            if (Form().IsModal()) {
                closed = false;
                Form().Button2.Click();
            }
        });
        Form().ShowModal();
        Pump();   // the second task, when OK closed the form, finds it closed
        return closed;
    }
    std::string kaltrowIni, interfaceIni;
};

} // namespace

TEST_F(SettingsForm, ShowsTheSharedFileAsTheTrackerLastWroteIt)
{
    WriteBytes(Data("kaltrow.ini"), "log_path = D:\\Logs\r\nstartup = 0\r\nnew_day = 1\r\n");
    Form().FormShow();
    EXPECT_EQ(Form().SavePath.Text(), "D:\\Logs");
    EXPECT_FALSE(Form().Startup.Checked());
    EXPECT_TRUE(Form().NewDay.Checked());
    EXPECT_FALSE(Form().Autoupdateflag.Checked());
    EXPECT_EQ(Form().AutoUpdateTime.Text(), "5");
}

TEST_F(SettingsForm, RefreshTimesOutsideOneToFiftyNineAreRefusedAndNothingIsStored)
{
    TrackerWindow tracker("Kaltrow");
    for (const char* text : {"0", "60", "-5"}) {
        answers.boxes.clear();
        EXPECT_FALSE(OkWith([&] {
            Form().AutoUpdateTime.SetText(text);
            Form().SavePath.SetText("X:\\elsewhere");
        })) << text;
        ASSERT_EQ(answers.boxes.size(), 1u) << text;
        EXPECT_EQ(answers.boxes[0].text, "Autoupdate time should be between 1 and 59");
        EXPECT_EQ(answers.boxes[0].caption, "Kaltrow");
        EXPECT_EQ(answers.boxes[0].flags, static_cast<unsigned>(MB_OK));
    }
    EXPECT_EQ(ReadBytes(Data("kaltrow.ini")), kaltrowIni);
    EXPECT_EQ(ReadBytes(Data("interface.ini")), interfaceIni);
    EXPECT_EQ(Model().logSettings->log_path, tree.LogPath());
    EXPECT_FALSE(tracker.Received());
}

TEST_F(SettingsForm, ATimeThatIsNoIntegerGivesTheConversionError)
{
    for (const char* text : {"abc", "", "5x"}) {
        answers.boxes.clear();
        EXPECT_FALSE(OkWith([&] { Form().AutoUpdateTime.SetText(text); })) << text;
        ASSERT_EQ(answers.boxes.size(), 1u);
        EXPECT_EQ(answers.boxes[0].text, "'" + std::string(text) + "' is not a valid integer value.");
        EXPECT_EQ(answers.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    }
    EXPECT_EQ(ReadBytes(Data("kaltrow.ini")), kaltrowIni);
}

TEST_F(SettingsForm, OkStoresSavesBothFilesTellsTheTrackerAndMovesEveryLevel)
{
    TrackerWindow tracker("Kaltrow");
    TrackerWindow other("Kaltrow helper");
    EXPECT_TRUE(OkWith([&] {
        Form().AutoUpdateTime.SetText("59");
        Form().Autoupdateflag.SetChecked(true);
        Form().Startup.SetChecked(false);
        Form().NewDay.SetChecked(true);
        Form().SavePath.SetText("X:\\elsewhere");
    }));
    EXPECT_TRUE(answers.boxes.empty());
    EXPECT_EQ(ReadBytes(Data("kaltrow.ini")), "log_path = X:\\elsewhere\r\nstartup = 0\r\nnew_day = 1\r\n");
    std::string iface = ReadBytes(Data("interface.ini"));
    EXPECT_NE(iface.find("autoupdate = 1\r\nautoupdatetime = 59\r\n"), std::string::npos);
    EXPECT_TRUE(Main().RefreshTime.IsEnabled());
    EXPECT_EQ(Main().RefreshTime.Interval(), 59000u);
    EXPECT_TRUE(tracker.Received());
    EXPECT_FALSE(other.Received());
    for (Statistics* level : Model().Levels())
        EXPECT_EQ(level->LogFolder(), "X:\\elsewhere");

    // Unchecked: the timer stops and keeps its interval; 1 is accepted; a blank folder is the default.
    EXPECT_TRUE(OkWith([&] {
        Form().AutoUpdateTime.SetText("1");
        Form().Autoupdateflag.SetChecked(false);
        Form().SavePath.SetText(" ");
    }));
    for (Statistics* level : Model().Levels())
        EXPECT_EQ(level->LogFolder(), Data("Log"));
    EXPECT_FALSE(Main().RefreshTime.IsEnabled());
    EXPECT_EQ(Main().RefreshTime.Interval(), 59000u);
    EXPECT_EQ(Model().interfaceSettings->Autoupdate(), 0);
    EXPECT_EQ(Model().interfaceSettings->Autoupdatetime(), 1);
}

TEST_F(SettingsForm, CancelAfterEditingEveryFieldChangesNothing)
{
    tasks.Post([&] {
        Form().AutoUpdateTime.SetText("7");
        Form().Autoupdateflag.SetChecked(true);
        Form().Startup.SetChecked(false);
        Form().NewDay.SetChecked(false);
        Form().SavePath.SetText("X:\\elsewhere");
        Form().Button2.Click();
    });
    EXPECT_EQ(Form().ShowModal(), IDCANCEL);
    EXPECT_EQ(ReadBytes(Data("kaltrow.ini")), kaltrowIni);
    EXPECT_EQ(ReadBytes(Data("interface.ini")), interfaceIni);
    EXPECT_EQ(Model().logSettings->log_path, tree.LogPath());
    EXPECT_EQ(Model().interfaceSettings->Autoupdatetime(), 5);
    EXPECT_FALSE(Main().RefreshTime.IsEnabled());
    // Opened again, it shows what is stored, not what was typed.
    Form().FormShow();
    EXPECT_EQ(Form().SavePath.Text(), tree.LogPath());
    EXPECT_EQ(Form().AutoUpdateTime.Text(), "5");
}

TEST_F(SettingsForm, EscapeDoesNotCloseItAndHelpOpensItsTopic)
{
    bool open = false;
    tasks.Post([&] {
        SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    tasks.Post([&] {
        open = Form().IsModal();
        Form().Button1.Click();
        Form().Button2.Click();
    });
    Form().ShowModal();
    EXPECT_TRUE(open);
    EXPECT_EQ(answers.helpTopics, (std::vector<DWORD>{1009}));
}

namespace {

BOOL CALLBACK CancelDialog(HWND window, LPARAM title)
{
    char caption[128] = {};
    GetWindowTextA(window, caption, sizeof(caption));
    char cls[16] = {};
    GetClassNameA(window, cls, sizeof(cls));
    // The dialog's loop may run this before it has shown the dialog.
    if (std::string(cls) == "#32770") {
        *reinterpret_cast<std::string*>(title) = caption;
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return TRUE;
}

} // namespace

TEST_F(SettingsForm, ACancelledFolderDialogLeavesTheLogFolderAsItWas)
{
    std::string cancelled;
    tasks.Post([&] {
        Form().SavePath.SetText("C:\\kept");
        // The shell's dialog runs its own loop; the next task runs in it.
        tasks.Post([&] { EnumThreadWindows(GetCurrentThreadId(), CancelDialog, reinterpret_cast<LPARAM>(&cancelled)); });
        Form().Browse.Click();
        Form().Button2.Click();
    });
    Form().ShowModal();
    EXPECT_FALSE(cancelled.empty());
    EXPECT_EQ(Form().SavePath.Text(), "C:\\kept");
}

namespace {

class AddDialog : public ViewerApp {
protected:
    AddDialog() : window("klr test window", true) { Start(); }
    TAppl_form& Form() { return app->ApplForm(); }
    std::string Self()
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof(path));
        CharLowerA(path);
        return path;
    }
    int SelfIndex()
    {
        const ApplicList& rows = Form().RunningList();
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].path == Self())
                return static_cast<int>(i);
        }
        return -1;
    }
    TrackerWindow window;
};

} // namespace

TEST_F(AddDialog, ListsTheApplicationOfARunningWindowOnceWithItsDescription)
{
    Form().FormActivate();
    int self = SelfIndex();
    ASSERT_GE(self, 0);
    const Applic& row = Form().RunningList()[static_cast<size_t>(self)];
    EXPECT_EQ(row.name, "Kaltrow statistics");   // the description in this program's version resource
    EXPECT_EQ(Form().Appl_run.ItemText(self), "Kaltrow statistics");
    EXPECT_EQ(Form().Appl_run.ItemImage(self), self);
    EXPECT_EQ(Form().icons.Count(), Form().Appl_run.ItemCount());
    // Two visible windows of this program, two activations: still one row.
    size_t count = Form().RunningList().size();
    Form().FormActivate();
    EXPECT_EQ(Form().RunningList().size(), count);
    EXPECT_EQ(Form().Appl_run.ItemCount(), static_cast<int>(count));
}

TEST_F(AddDialog, AddWithoutASelectionAsksForOneAndStaysOpen)
{
    bool open = false;
    tasks.Post([&] { Form().Button3.Click(); });
    tasks.Post([&] {
        open = Form().IsModal();
        Form().Button2.Click();
    });
    EXPECT_EQ(Form().ShowModal(), IDCANCEL);
    EXPECT_TRUE(open);
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0].text, "No application selected. Please select application you want to add.");
    EXPECT_EQ(answers.boxes[0].caption, "Kaltrow");
    EXPECT_TRUE(Model().projectList.empty());
}

TEST_F(AddDialog, ADoubleClickAddsBeforeTheClosingRowAndRefusesADuplicate)
{
    Model().projectList = {Applic("c:\\a.exe", "A"), Applic("Total", "")};
    Model().projectList.back().active = My_Time(0, 0, 9);
    tasks.Post([&] {
        Form().Appl_run.SetItemState(SelfIndex(), LVIS_SELECTED, LVIS_SELECTED);
        Form().Appl_runDblClick();
    });
    EXPECT_EQ(Form().ShowModal(), IDOK);
    ASSERT_EQ(Model().projectList.size(), 3u);
    EXPECT_EQ(Model().projectList[1].path, Self());
    EXPECT_EQ(Model().projectList[2].path, "Total");
    EXPECT_EQ(Model().projectList[2].active.seconds, 9);   // the same closing row

    bool open = false;
    tasks.Post([&] {
        Form().Appl_run.SetItemState(SelfIndex(), LVIS_SELECTED, LVIS_SELECTED);
        Form().Appl_runDblClick();
    });
    tasks.Post([&] {
        open = Form().IsModal();
        SendMessageA(Form().Handle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);   // Escape
    });
    EXPECT_EQ(Form().ShowModal(), IDCANCEL);
    EXPECT_TRUE(open);
    EXPECT_EQ(answers.boxes.at(0).text, "Specified application is already selected. Please choose another one.");
    EXPECT_EQ(Model().projectList.size(), 3u);
}

TEST_F(AddDialog, AddingToAnEmptyProjectMakesANewClosingRow)
{
    tasks.Post([&] {
        Form().Appl_run.SetItemState(SelfIndex(), LVIS_SELECTED, LVIS_SELECTED);
        Form().Button3.Click();
    });
    EXPECT_EQ(Form().ShowModal(), IDOK);
    ASSERT_EQ(Model().projectList.size(), 2u);
    EXPECT_EQ(Model().projectList[1].path, "Total");
    EXPECT_EQ(Model().projectList[1].name, "");
    tasks.Post([&] { Form().Button1.Click(); Form().Button2.Click(); });
    Form().ShowModal();
    EXPECT_EQ(answers.helpTopics, (std::vector<DWORD>{1014}));
}

namespace {

// Whether a window was shown at any moment, seen from its own messages.
struct ShowWatch {
    static HWND& Window()
    {
        static HWND window = nullptr;
        return window;
    }
    static bool& Shown()
    {
        static bool shown = false;
        return shown;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && m->hwnd == Window()) {
            if ((m->message == WM_SHOWWINDOW && m->wParam) ||
                (m->message == WM_WINDOWPOSCHANGING &&
                 (reinterpret_cast<const WINDOWPOS*>(m->lParam)->flags & SWP_SHOWWINDOW)))
                Shown() = true;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    explicit ShowWatch(HWND window)
    {
        Window() = window;
        Shown() = false;
        hook = SetWindowsHookExA(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
    }
    ~ShowWatch() { UnhookWindowsHookEx(hook); }
    HHOOK hook;
};

} // namespace

TEST_F(ViewerApp, TheProgressDialogFollowsARunWithoutShowing)
{
    WriteStandardTree();
    Start();
    TWaitForm& wait = app->WaitForm();
    EXPECT_EQ(wait.Text(), "Statistics");
    EXPECT_EQ(wait.Label1.Text(), "Please wait while computing...");
    EXPECT_EQ(wait.Button1.Text(), "Abort");
    wait.SetPosition(66);
    EXPECT_EQ(wait.ProgressBar1.Position(), 66);
    {
        ShowWatch watch(wait.Handle());
        ASSERT_NE(watch.hook, nullptr);
        Model().klr->recompute = true;
        Model().klr->Show();
        Pump();
        EXPECT_FALSE(ShowWatch::Shown());
    }
    EXPECT_NE(wait.ProgressBar1.Position(), 66);   // the run moved the bar
    EXPECT_FALSE(IsWindowVisible(wait.Handle()));
    // Abort asks the latest worker to stop.
    ASSERT_NE(CurrentWorker(), nullptr);
    wait.Button1Click();
    EXPECT_TRUE(CurrentWorker()->Terminated());
}
