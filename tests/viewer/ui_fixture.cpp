#include <gtest/gtest.h>

#include "ui_fixture.h"

namespace {

const UINT kRunTask = WM_APP + 40;

int AnswerBox(const std::string& text, const std::string& caption, unsigned flags)
{
    Answers* a = Answers::Current();
    a->boxes.push_back({text, caption, flags});
    if (a->onBox)
        a->onBox();
    if (a->boxAnswers.empty())
        return IDOK;
    int answer = a->boxAnswers.front();
    a->boxAnswers.pop_front();
    return answer;
}

bool AnswerFileDialog(ui::FileDialog& dialog)
{
    Answers* a = Answers::Current();
    a->fileDialogs.push_back(dialog.IsSave());
    if (a->fileNames.empty())
        return false;
    std::string name = a->fileNames.front();
    a->fileNames.pop_front();
    if (name.empty())
        return false;
    dialog.SetFileName(name);
    return true;
}

void AnswerHelp(HWND, DWORD context)
{
    Answers::Current()->helpTopics.push_back(context);
}

} // namespace

TDate TestToday()
{
    return EncodeDate(2024, 3, 13);
}

Answers*& Answers::Current()
{
    static Answers* current = nullptr;
    return current;
}

TaskQueue::TaskQueue()
{
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof(wc));
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "KlrTestTasks";
    RegisterClassA(&wc);
    window_ = CreateWindowA("KlrTestTasks", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TaskQueue::~TaskQueue()
{
    DestroyWindow(window_);
}

void TaskQueue::Post(std::function<void()> task)
{
    tasks_.push_back(std::move(task));
    PostMessageA(window_, kRunTask, 0, 0);
}

LRESULT CALLBACK TaskQueue::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kRunTask) {
        TaskQueue* self = reinterpret_cast<TaskQueue*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self && !self->tasks_.empty()) {
            std::function<void()> task = std::move(self->tasks_.front());
            self->tasks_.pop_front();
            task();
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

ViewerApp::ViewerApp()
{
    SetDataFolderOverride(data.Path());
    SetCurrentDateOverride(TestToday());
    Answers::Current() = &answers;
    SetMessageBoxFunction(&AnswerBox);
    ui::SetFileDialogFunction(&AnswerFileDialog);
    SetHelpFunction(&AnswerHelp);
    WriteBytes(data / "kaltrow.ini", "log_path = " + tree.LogPath() + "\r\nstartup = 1\r\nnew_day = 1\r\n");
}

ViewerApp::~ViewerApp()
{
    tasks.Clear();
    app.reset();
    Pump();
    SetHelpFunction(nullptr);
    ui::SetFileDialogFunction(nullptr);
    SetMessageBoxFunction(nullptr);
    Answers::Current() = nullptr;
    SetCurrentDateOverride(-1);
    SetDataFolderOverride(std::string());
}

void ViewerApp::WriteStandardTree()
{
    auto t = [](int h, int m, int s) { return My_Time(h, m, s); };
    tree.File("2024\\3\\11", Record("notepad.exe", t(1, 0, 0), t(0, 5, 0), t(0, 1, 0), t(0, 1, 0)));
    tree.File("2024\\3\\13", Record("notepad.exe", t(2, 0, 0), t(0, 10, 0), t(0, 2, 0), t(0, 3, 0)) +
                                   Record("winword.exe", t(1, 0, 0), t(0, 20, 0), t(0, 5, 0), t(0, 5, 0)) +
                                   Record("calc.exe", t(0, 9, 0), t(0, 1, 0), t(0, 0, 0), t(0, 0, 0)));
    tree.File("2024\\3\\total", Record("notepad.exe", t(3, 0, 0), t(0, 15, 0), t(0, 3, 0), t(0, 4, 0)) +
                                      Record("winword.exe", t(1, 0, 0), t(0, 20, 0), t(0, 5, 0), t(0, 5, 0)));
    tree.File("2024\\2\\20", Record("notepad.exe", t(1, 0, 0), t(0, 30, 0), t(0, 0, 0), t(0, 0, 0)));
    tree.File("2024\\2\\total", Record("notepad.exe", t(1, 0, 0), t(0, 30, 0), t(0, 0, 0), t(0, 0, 0)));
    tree.File("2024\\total", Record("notepad.exe", t(4, 0, 0), t(0, 45, 0), t(0, 3, 0), t(0, 4, 0)) +
                                 Record("winword.exe", t(1, 0, 0), t(0, 20, 0), t(0, 5, 0), t(0, 5, 0)));
    tree.File("2023\\12\\1", Record("winword.exe", t(2, 0, 0), t(1, 0, 0), t(0, 10, 0), t(0, 20, 0)));
    tree.File("2023\\12\\total", Record("winword.exe", t(2, 0, 0), t(1, 0, 0), t(0, 10, 0), t(0, 20, 0)));
    tree.File("2023\\total", Record("winword.exe", t(2, 0, 0), t(1, 0, 0), t(0, 10, 0), t(0, 20, 0)));
    WriteBytes(ProjectFile(), "\"c:\\windows\\notepad.exe\"\t\"Notepad\"\r\n"
                              "\"c:\\office\\winword.exe\"\t\"Word\"\r\n");
}

void ViewerApp::Start(const std::string& commandTail)
{
    app.reset(new Application(commandTail));
    app->ShowMainForm();
    Pump();
}

std::vector<std::string> ViewerApp::Items(ui::ListView& list, int column)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.ItemCount(); ++i)
        items.push_back(list.ItemText(i, column));
    return items;
}

std::string ViewerApp::Shown(ui::Label& label)
{
    return label.Visible() ? label.Text() : "-";
}
