#pragma once
#include <memory>
#include <string>

#include "about_box.h"
#include "appl_form.h"
#include "cust_form.h"
#include "main_form.h"
#include "settings_form.h"
#include "viewer_model.h"
#include "wait_form.h"

// The viewer program: its process-wide lists and its six windows, created
// in a fixed order and kept until it ends.
class Application {
public:
    explicit Application(const std::string& commandTail);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Shows the main window maximized; its first showing builds the model.
    void ShowMainForm();
    // Shows the main window and runs the message loop until it is closed.
    int Run();

    ViewerModel& Model() { return model_; }
    TSDIAppForm& MainForm() { return *main_; }
    TAboutBox& AboutBox() { return *about_; }
    TAppl_form& ApplForm() { return *appl_; }
    TWaitForm& WaitForm() { return *wait_; }
    TCustForm& CustForm() { return *cust_; }
    TSettingsForm& SettingsForm() { return *settings_; }

private:
    ViewerModel model_;
    std::unique_ptr<TSDIAppForm> main_;
    std::unique_ptr<TAboutBox> about_;
    std::unique_ptr<TAppl_form> appl_;
    std::unique_ptr<TWaitForm> wait_;
    std::unique_ptr<TCustForm> cust_;
    std::unique_ptr<TSettingsForm> settings_;
};

// The command line without the program's name and the blanks after it.
std::string CommandTail(const std::string& commandLine);
