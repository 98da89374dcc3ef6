// The main window's commands: adding and deleting applications, the File
// commands with their save prompts, closing, the Settings and About commands.
#include "ui_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class Commands : public ViewerApp {
protected:
    Commands() { WriteStandardTree(); }
    void StartWithProject() { Start("\"" + ProjectFile() + "\""); }
    std::string Self()
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof(path));
        CharLowerA(path);
        return path;
    }
    // In the add-application dialog: selects this test program's row.
    void SelectSelf()
    {
        TAppl_form& form = app->ApplForm();
        const ApplicList& rows = form.RunningList();
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].path == Self())
                form.Appl_run.SetItemState(static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    std::string BoxTexts()
    {
        std::string texts;
        for (const Answers::Box& b : answers.boxes)
            texts += b.text + "|";
        return texts;
    }
};

} // namespace

TEST_F(Commands, AddingAnApplicationPutsItBeforeTotalWithItsTimesAndMarksTheProjectUnsaved)
{
    StartWithProject();
    tasks.Post([&] {
        SelectSelf();
        app->ApplForm().Button3Click();
    });
    Main().Add_applicationExecute();
    ASSERT_EQ(Main().appl_list.ItemCount(), 4);
    EXPECT_EQ(Model().projectList[2].path, Self());
    EXPECT_EQ(Main().appl_list.ItemText(3), "Total");
    EXPECT_EQ(Main().appl_list.ItemText(2), Model().projectList[2].name);
    // Merged with the last results, which hold nothing of this program.
    EXPECT_EQ(Main().appl_list.ItemText(2, 2), "0:0:0");
    EXPECT_EQ(Main().appl_list.ItemText(3, 2), "0:30:0");
    EXPECT_FALSE(Klr().saved);

    // The same application again is refused and the dialog stays open.
    bool stayedOpen = false;
    tasks.Post([&] {
        SelectSelf();
        app->ApplForm().Button3Click();
    });
    tasks.Post([&] {
        stayedOpen = app->ApplForm().IsModal();
        app->ApplForm().Button2Click();
    });
    Main().Add_applicationExecute();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(BoxTexts(), "Specified application is already selected. Please choose another one.|");
    EXPECT_EQ(answers.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Main().appl_list.ItemCount(), 4);
}

TEST_F(Commands, CancellingTheAddDialogAddsNothingButMarksTheProjectUnsaved)
{
    StartWithProject();
    tasks.Post([&] { app->ApplForm().Button2Click(); });
    Main().Add_applicationExecute();
    EXPECT_EQ(Items(Main().appl_list), (Strings{"Notepad", "Word", "Total"}));
    EXPECT_FALSE(Klr().saved);
}

TEST_F(Commands, DeletingAnApplicationAndTheDeleteButtonsState)
{
    StartWithProject();
    TSDIAppForm& m = Main();
    // Each selection change enables both, a deselection too.
    m.appl_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    m.appl_listExit();
    ASSERT_FALSE(m.ToolBar1.ButtonEnabled(ID_DEL_APPL));
    m.appl_list.SetItemState(0, 0, LVIS_SELECTED);
    EXPECT_TRUE(m.ToolBar1.ButtonEnabled(ID_DEL_APPL));
    EXPECT_TRUE(m.MainMenu1.ItemEnabled(ID_DEL_APPL));
    m.appl_listExit();
    m.appl_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(m.ToolBar1.ButtonEnabled(ID_DEL_APPL));
    EXPECT_TRUE(m.MainMenu1.ItemEnabled(ID_DEL_APPL));
    m.appl_listExit();
    EXPECT_FALSE(m.ToolBar1.ButtonEnabled(ID_DEL_APPL));
    EXPECT_FALSE(m.MainMenu1.ItemEnabled(ID_DEL_APPL));

    // Ctrl+L acts on the selected row all the same.
    ASSERT_TRUE(m.actions.HandleShortcut('L', ui::kCtrl));
    EXPECT_EQ(Items(m.appl_list), (Strings{"Word", "Total"}));
    EXPECT_EQ(Items(m.appl_list, 2), (Strings{"0:20:0", "0:20:0"}));
    EXPECT_FALSE(Klr().saved);

    // The Total row is never deleted.
    Klr().saved = true;
    m.appl_list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    m.appl_listKeyDown(VK_DELETE);
    EXPECT_EQ(Items(m.appl_list), (Strings{"Word", "Total"}));
    EXPECT_FALSE(Klr().saved);

    // Deleting the last application empties the project, Total included.
    m.appl_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    m.appl_listKeyDown(VK_DELETE);
    EXPECT_EQ(m.appl_list.ItemCount(), 0);
    EXPECT_TRUE(Model().projectList.empty());
}

TEST_F(Commands, SaveWritesTheProjectUnderItsNameOrAsksForOne)
{
    Start();
    tasks.Post([&] {
        SelectSelf();
        app->ApplForm().Button3Click();
    });
    Main().Add_applicationExecute();
    std::string name = files / "new.klr";
    answers.fileNames = {name};
    ASSERT_TRUE(Main().actions.HandleShortcut('S', ui::kCtrl));
    EXPECT_EQ(answers.fileDialogs, (std::vector<bool>{true}));
    EXPECT_EQ(ReadBytes(name), "\"" + Self() + "\"\t\"" + Model().projectList[0].name + "\"\r\n");
    EXPECT_TRUE(Klr().saved);
    EXPECT_EQ(Main().Text(), "new.klr - Kaltrow");
    EXPECT_EQ(Model().interfaceSettings->ProjPath(), name);
    // Named now: saved again without a dialog.
    Main().FileSave1Execute();
    EXPECT_EQ(answers.fileDialogs.size(), 1u);
}

TEST_F(Commands, ACancelledSaveDialogSavesNothing)
{
    Start();
    Klr().saved = false;
    answers.fileNames = {""};
    Main().FileSave1Execute();
    EXPECT_FALSE(Klr().saved);
    EXPECT_EQ(Main().Text(), "Untitled.klr - Kaltrow");
}

TEST_F(Commands, NewAsksToSaveChangesAndEmptiesEverything)
{
    StartWithProject();
    Klr().saved = false;
    WriteBytes(ProjectFile(), "");
    answers.boxAnswers = {IDNO};
    Main().FileNew1Execute();
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0].text, "Save changes to 'p.klr' ?");
    EXPECT_EQ(answers.boxes[0].caption, "Kaltrow");
    EXPECT_EQ(answers.boxes[0].flags, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(ReadBytes(ProjectFile()), "");   // No: nothing saved
    EXPECT_EQ(Main().appl_list.ItemCount(), 0);
    EXPECT_TRUE(Model().projectList.empty());
    EXPECT_TRUE(Klr().saved);
    EXPECT_EQ(Main().Text(), "Untitled.klr - Kaltrow");
    EXPECT_EQ(Main().SaveDialog.FileName(), "");
    // The last project stays the one to reopen.
    EXPECT_EQ(Model().interfaceSettings->ProjPath(), ProjectFile());
}

TEST_F(Commands, OpenWithUnsavedChangesSavesFirstWhenToldThenShowsTheOpenDialog)
{
    StartWithProject();
    Klr().saved = false;
    std::string other = files / "other.klr";
    WriteBytes(other, "\"c:\\x\\calc.exe\"\t\"Calculator\"\r\n");
    WriteBytes(ProjectFile(), "");
    answers.boxAnswers = {IDYES};
    answers.fileNames = {other};
    Main().FileOpen1Execute();
    EXPECT_EQ(ReadBytes(ProjectFile()), "\"c:\\windows\\notepad.exe\"\t\"Notepad\"\r\n"
                                        "\"c:\\office\\winword.exe\"\t\"Word\"\r\n");
    EXPECT_EQ(answers.fileDialogs, (std::vector<bool>{false}));
    EXPECT_EQ(Items(Main().appl_list), (Strings{"Calculator", "Total"}));
    EXPECT_EQ(Items(Main().appl_list, 2), (Strings{"0:1:0", "0:1:0"}));
    EXPECT_EQ(Main().Text(), "other.klr - Kaltrow");

    // Opening leaves the saved flag as it was, here clear.
    Klr().saved = false;
    answers.boxAnswers = {IDNO};
    answers.fileNames = {ProjectFile()};
    Main().FileOpen1Execute();
    EXPECT_EQ(Main().Text(), "p.klr - Kaltrow");
    EXPECT_FALSE(Klr().saved);
}

TEST_F(Commands, ACancelledOpenDialogChangesNothing)
{
    StartWithProject();
    answers.fileNames = {""};
    Main().FileOpen1Execute();
    EXPECT_TRUE(answers.boxes.empty());   // nothing to save
    EXPECT_EQ(Main().Text(), "p.klr - Kaltrow");
    EXPECT_EQ(Main().appl_list.ItemCount(), 3);
}

TEST_F(Commands, ClosingWithCancelKeepsTheWindowButSavesTheLayout)
{
    StartWithProject();
    Klr().saved = false;
    Main().Total_panel.SetHeight(151);
    answers.boxAnswers = {IDCANCEL};
    SendMessageA(Main().Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0].flags, static_cast<unsigned>(MB_YESNOCANCEL));
    EXPECT_TRUE(IsWindow(Main().Handle()));
    EXPECT_NE(ReadBytes(Data("interface.ini")).find("\r\nSplitPos = 151\r\n"), std::string::npos);
}

TEST_F(Commands, ClosingSavesWhenToldEvenAfterACancelledSaveDialogAndWritesTheInterfaceFile)
{
    Start();
    Klr().saved = false;
    Main().Total_panel.SetHeight(150);
    answers.boxAnswers = {IDYES};
    answers.fileNames = {""};
    HWND window = Main().Handle();
    Main().FileExit1Execute();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(answers.boxes[0].text, "Save changes to 'Untitled.klr' ?");
    EXPECT_EQ(answers.fileDialogs, (std::vector<bool>{true}));
    EXPECT_NE(ReadBytes(Data("interface.ini")).find("SplitPos = 150\r\n"), std::string::npos);
}

TEST_F(Commands, ClosingAfterOpeningRemembersTheProject)
{
    StartWithProject();
    HWND window = Main().Handle();
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(answers.boxes.empty());
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(ReadBytes(Data("interface.ini")).substr(0, 14 + ProjectFile().size()),
              "Proj_path = " + ProjectFile() + "\r\n");
}

TEST_F(Commands, AboutAndSettingsAreShownModally)
{
    Start();
    bool aboutModal = false, settingsModal = false;
    tasks.Post([&] {
        aboutModal = app->AboutBox().IsModal() && IsWindowVisible(app->AboutBox().Handle());
        app->AboutBox().OKButton.Click();
    });
    Main().HelpAbout1Execute();
    tasks.Post([&] {
        settingsModal = app->SettingsForm().IsModal();
        app->SettingsForm().Button2Click();
    });
    Main().SettingsExecute();
    EXPECT_TRUE(aboutModal);
    EXPECT_TRUE(settingsModal);
    EXPECT_FALSE(IsWindowVisible(app->AboutBox().Handle()));
    EXPECT_TRUE(IsWindowEnabled(Main().Handle()));
}

TEST_F(Commands, CustomRangeComputesTheChosenDaysAndIsRemembered)
{
    StartWithProject();
    TCustForm& cust = app->CustForm();
    // The selection posts the level switch first; what the user does in
    // the dialog is queued behind it.
    auto chooseCustom = [&](const std::function<void()>& inDialog) {
        Main().LVStat.SetItemState(5, LVIS_SELECTED, LVIS_SELECTED);
        inDialog();
        Pump();
    };
    chooseCustom([&] {
        tasks.Post([&] {
            cust.SetDates(EncodeDate(2024, 2, 20), EncodeDate(2024, 3, 11));
            cust.Button3.Click();
        });
    });
    EXPECT_EQ(Klr().level, Model().custom.get());
    EXPECT_EQ(Model().interfaceSettings->BegDate(), EncodeDate(2024, 2, 20));
    EXPECT_EQ(Model().interfaceSettings->EndDate(), EncodeDate(2024, 3, 11));
    EXPECT_EQ(Items(Main().appl_list, 2), (Strings{"0:35:0", "0:0:0", "0:35:0"}));

    // Chosen again at once, the dialog shows again; a start after the final
    // date is refused and the dialog stays until cancelled.
    bool stayedOpen = false;
    chooseCustom([&] {
        tasks.Post([&] {
            cust.SetDates(EncodeDate(2024, 3, 12), EncodeDate(2024, 3, 11));
            cust.Button3.Click();
        });
        tasks.Post([&] {
            stayedOpen = cust.IsModal();
            cust.Button2.Click();
        });
    });
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(answers.boxes[0].text, "Start date greater than final.");
    EXPECT_EQ(answers.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONEXCLAMATION));
    // Cancelled: level and range stay.
    EXPECT_EQ(Klr().level, Model().custom.get());
    EXPECT_EQ(Model().period->from, EncodeDate(2024, 2, 20));

    chooseCustom([&] {
        tasks.Post([&] {
            cust.SetDates(EncodeDate(2024, 3, 13), EncodeDate(2024, 3, 13));
            cust.Button3.Click();
        });
    });
    EXPECT_EQ(Items(Main().appl_list, 2), (Strings{"0:10:0", "0:20:0", "0:30:0"}));
}

TEST_F(Commands, AProjectThatCannotBeWrittenIsReportedAndTheCommandStops)
{
    std::string folder = files / "gone";
    std::string name = folder + "\\p.klr";
    MakeFolders(folder);
    WriteBytes(name, ReadBytes(ProjectFile()));
    Start("\"" + name + "\"");
    RemoveTree(folder);
    Klr().saved = false;
    auto errorBoxes = [&] {
        int n = 0;
        for (const Answers::Box& b : answers.boxes) {
            if (b.flags == static_cast<unsigned>(MB_OK | MB_ICONERROR) && b.caption == "Kaltrow" &&
                b.text.find(name) != std::string::npos)
                ++n;
        }
        return n;
    };
    auto unchanged = [&](const char* step) {
        EXPECT_EQ(Main().Text(), "p.klr - Kaltrow") << step;
        EXPECT_EQ(Main().SaveDialog.FileName(), name) << step;
        EXPECT_EQ(Model().interfaceSettings->ProjPath(), name) << step;
        EXPECT_EQ(Items(Main().appl_list), (Strings{"Notepad", "Word", "Total"})) << step;
        EXPECT_FALSE(Klr().saved) << step;
    };

    Main().FileSave1Execute();
    EXPECT_EQ(errorBoxes(), 1);
    unchanged("Save");

    // Yes before New, Open and closing: the failed save stops each of them.
    answers.boxAnswers = {IDYES};
    Main().FileNew1Execute();
    EXPECT_EQ(errorBoxes(), 2);
    unchanged("New");
    answers.boxAnswers = {IDYES};
    answers.fileNames = {ProjectFile()};
    Main().FileOpen1Execute();
    EXPECT_EQ(errorBoxes(), 3);
    EXPECT_TRUE(answers.fileDialogs.empty());   // no open dialog
    unchanged("Open");
    answers.fileNames.clear();
    answers.boxAnswers = {IDYES};
    SendMessageA(Main().Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(errorBoxes(), 4);
    ASSERT_TRUE(IsWindow(Main().Handle()));
    unchanged("closing");

    // Save As onto a file that cannot be written keeps the old name.
    std::string elsewhere = folder + "\\q.klr";
    answers.fileNames = {elsewhere};
    Main().FileSaveAs1Execute();
    ASSERT_EQ(answers.boxes.size(), 8u);
    EXPECT_EQ(answers.boxes.back().text.find(elsewhere) != std::string::npos, true);
    EXPECT_EQ(answers.boxes.back().flags, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    unchanged("Save As");

    // Once the file can be written, Save writes it.
    MakeFolders(folder);
    Main().FileSave1Execute();
    EXPECT_TRUE(Klr().saved);
    EXPECT_EQ(ReadBytes(name), ReadBytes(ProjectFile()));
}
