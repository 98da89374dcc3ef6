#pragma once
#include <gtest/gtest.h>

// The real viewer in the test's own process: its windows over a data folder
// and a log tree of the test, with message boxes, file dialogs and help
// answered by the test.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "application.h"
#include "data_folder.h"
#include "file_dialog.h"
#include "help.h"
#include "viewer_fakes.h"
#include "viewer_resource.h"

// Runs functions on the UI thread from its message queue, in the order
// posted: the way to act inside a modal dialog's own message loop.
class TaskQueue {
public:
    TaskQueue();
    ~TaskQueue();
    void Post(std::function<void()> task);
    // Drops what has not run: it may refer to a finished test's variables.
    void Clear() { tasks_.clear(); }

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::deque<std::function<void()>> tasks_;
};

// Message boxes, file dialogs and help topics as the viewer asked for them.
struct Answers {
    struct Box {
        std::string text, caption;
        unsigned flags;
    };
    std::vector<Box> boxes;
    std::deque<int> boxAnswers;          // IDOK when empty
    std::function<void()> onBox;         // runs while a box is "open"
    std::vector<bool> fileDialogs;       // true: save dialog
    std::deque<std::string> fileNames;   // empty: the dialog is cancelled
    std::vector<DWORD> helpTopics;
    static Answers*& Current();
};

class ViewerApp : public ::testing::Test {
protected:
    ViewerApp();
    ~ViewerApp() override;

    // A log tree around Wednesday 13 March 2024 and the project "p.klr" of
    // notepad.exe and winword.exe (see ui_fixture.cpp).
    void WriteStandardTree();
    std::string ProjectFile() const { return files / "p.klr"; }

    // Creates the windows and shows the main window, which builds the model.
    void Start(const std::string& commandTail = std::string());
    void Pump() { ui::ProcessMessages(); }

    TSDIAppForm& Main() { return app->MainForm(); }
    ViewerModel& Model() { return app->Model(); }
    KLR& Klr() { return *Model().klr; }
    std::vector<std::string> Items(ui::ListView& list, int column = 0);
    // A visible label's caption, or "-" when it is hidden.
    static std::string Shown(ui::Label& label);
    std::string Data(const std::string& name) const { return data / name; }

    TempDir data;
    TempDir files;
    LogTree tree;
    Answers answers;
    TaskQueue tasks;
    std::unique_ptr<Application> app;
};

// Today for every UI test: Wednesday 13 March 2024.
TDate TestToday();
