#include "application.h"

#include <commctrl.h>

#include "messages.h"
#include "progress_thread.h"

std::string CommandTail(const std::string& commandLine)
{
    size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t close = commandLine.find('"', 1);
        i = close == std::string::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && commandLine[i] != ' ' && commandLine[i] != '\t')
            ++i;
    }
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t'))
        ++i;
    return commandLine.substr(i);
}

Application::Application(const std::string& commandTail)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_DATE_CLASSES |
                                              ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    model_.commandTail = commandTail;
    SetApplicationTitle("Untitled.klr - Kaltrow");
    // The main window first, so it is the one the dialogs belong to.
    main_.reset(new TSDIAppForm(model_));
    HWND owner = main_->Handle();
    about_.reset(new TAboutBox(owner));
    appl_.reset(new TAppl_form(owner, &model_.projectList));
    wait_.reset(new TWaitForm(owner));
    cust_.reset(new TCustForm(owner));
    settings_.reset(new TSettingsForm(owner, model_, main_->RefreshTime));
    main_->SetDialogs(about_.get(), appl_.get(), wait_.get(), cust_.get(), settings_.get());
}

Application::~Application()
{
    SetReadingObjects(nullptr, nullptr);
    main_->RefreshTime.SetEnabled(false);
    main_->onDestroy = nullptr;
    settings_.reset();
    cust_.reset();
    wait_.reset();
    appl_.reset();
    about_.reset();
    main_.reset();
}

void Application::ShowMainForm()
{
    ShowWindow(main_->Handle(), SW_SHOWMAXIMIZED);
    UpdateWindow(main_->Handle());
    SetFocus(main_->LVStat.Handle());
    main_->FormShow();
}

int Application::Run()
{
    main_->onDestroy = [] { PostQuitMessage(0); };
    ShowMainForm();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (main_->IsShortCut(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
