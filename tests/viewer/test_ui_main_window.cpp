// The main window from its first showing: the model it builds, the project
// it opens, the navigator, the labels, the drill-down and the panels.
#include "ui_fixture.h"

namespace {

using Strings = std::vector<std::string>;

class MainWindow : public ViewerApp {
protected:
    MainWindow() { WriteStandardTree(); }
    void StartWithProject() { Start("\"" + ProjectFile() + "\""); }
    // Selects a navigator item the way a click does and lets it take effect.
    void Choose(int item)
    {
        Main().LVStat.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Pump();
    }
    void DrillDown(int row)
    {
        Main().tot_list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Pump();
    }
    Strings Labels()
    {
        TSDIAppForm& m = Main();
        return {Shown(m.PeriodName), Shown(m.year), Shown(m.month), Shown(m.day), Shown(m.Custom)};
    }
};

} // namespace

TEST_F(MainWindow, FirstStartWritesTheInterfaceFileAndShowsTodayWithoutAProject)
{
    Start();
    EXPECT_EQ(Main().Text(), "Untitled.klr - Kaltrow");
    EXPECT_EQ(ApplicationTitle(), "Untitled.klr - Kaltrow");
    EXPECT_EQ(Model().interfaceSettings->ProjPath(), "");
    // Half of the main panel's height, now also the period panel's.
    int split = Main().MainPanel.Height() / 2;
    EXPECT_GT(split, 0);
    EXPECT_EQ(Main().Total_panel.Height(), split);
    const std::string today = std::to_string(static_cast<int>(TestToday()));
    EXPECT_EQ(ReadBytes(Data("interface.ini")), "Proj_path = \r\nWinState = 3\r\nSplitPos = " + std::to_string(split) +
                                                    "\r\nBegDate = " + today + "\r\nEndDate = " + today +
                                                    "\r\nautoupdate = 0\r\nautoupdatetime = 5\r\n");
    // Today's Day statistics were read: the Day level with its labels.
    EXPECT_EQ(Klr().level, Model().day.get());
    EXPECT_FALSE(Klr().recompute);
    EXPECT_EQ(Model().resultList.size(), 3u);
    EXPECT_EQ(Labels(), (Strings{"All years", "2024", FormatDate("mmmm", TestToday()), "13", "-"}));
    EXPECT_EQ(Main().appl_list.ItemCount(), 0);
    EXPECT_EQ(Main().tot_list.ItemCount(), 0);
    EXPECT_FALSE(Main().RefreshTime.IsEnabled());
}

TEST_F(MainWindow, AQuotedProjectPathOnTheCommandLineIsOpenedAndRemembered)
{
    StartWithProject();
    EXPECT_EQ(Main().Text(), "p.klr - Kaltrow");
    EXPECT_EQ(ApplicationTitle(), "p.klr - Kaltrow");
    EXPECT_EQ(Model().interfaceSettings->ProjPath(), ProjectFile());
    EXPECT_EQ(Main().SaveDialog.FileName(), ProjectFile());
    EXPECT_EQ(Items(Main().appl_list), (Strings{"Notepad", "Word", "Total"}));
    // Today's times, the Total row without a loaded time.
    EXPECT_EQ(Items(Main().appl_list, 2), (Strings{"0:10:0", "0:20:0", "0:30:0"}));
    EXPECT_EQ(Items(Main().appl_list, 1), (Strings{"2:0:0", "1:0:0", " "}));
    EXPECT_EQ(Items(Main().appl_list, 5), (Strings{"0:5:0", "0:10:0", "0:15:0"}));
    EXPECT_TRUE(Klr().saved);
}

TEST_F(MainWindow, TheCommandTailLosesItsFirstAndLastCharacters)
{
    Start("ab");
    EXPECT_EQ(Model().interfaceSettings->ProjPath(), "");
    EXPECT_EQ(Main().Text(), "Untitled.klr - Kaltrow");
    app.reset();

    // Without quotes the path loses real characters and names no file.
    Start("x" + ProjectFile() + "x");
    EXPECT_EQ(Model().interfaceSettings->ProjPath(), ProjectFile());
    EXPECT_EQ(Main().appl_list.ItemCount(), 3);
}

TEST_F(MainWindow, TheLastProjectAndTheLayoutAreRestoredFromTheInterfaceFile)
{
    WriteBytes(Data("interface.ini"), "Proj_path = " + ProjectFile() +
                                          "\r\nWinState = 3\r\nSplitPos = 123\r\nBegDate = 38000\r\n"
                                          "EndDate = 38010\r\nautoupdate = 1\r\nautoupdatetime = 5\r\n");
    Start();
    EXPECT_EQ(Main().Text(), "p.klr - Kaltrow");
    EXPECT_EQ(Main().Total_panel.Height(), 123);
    EXPECT_EQ(app->CustForm().StartValue(), 38000);
    EXPECT_EQ(app->CustForm().EndValue(), 38010);
    EXPECT_TRUE(Main().RefreshTime.IsEnabled());
    EXPECT_EQ(Main().RefreshTime.Interval(), 5000u);
    EXPECT_TRUE(app->SettingsForm().Autoupdateflag.Checked());
}

TEST_F(MainWindow, TheNavigatorShowsTodaysNamesInOneCentredColumn)
{
    Start();
    ui::ListView& nav = Main().LVStat;
    EXPECT_EQ(Items(nav), (Strings{FormatDate("dddd", TestToday()), "Week", FormatDate("mmmm", TestToday()), "2024",
                                   "All years", "Custom", "Refresh"}));
    int x = nav.ClientWidth() / 2 - 16;
    for (int i = 0; i < nav.ItemCount(); ++i) {
        POINT p = nav.ItemPosition(i);
        EXPECT_EQ(p.x, x) << i;
        EXPECT_EQ(p.y, 70 * i + 17) << i;
        EXPECT_EQ(nav.ItemImage(i), i);
    }
}

TEST_F(MainWindow, EachNavigatorItemSwitchesTheLevelAndComputesIt)
{
    StartWithProject();
    TSDIAppForm& m = Main();

    Choose(2);   // Month
    EXPECT_EQ(Klr().level, Model().month.get());
    EXPECT_EQ(Items(m.tot_list), (Strings{FormatDate("ddd, dd", EncodeDate(2024, 3, 11)),
                                          FormatDate("ddd, dd", EncodeDate(2024, 3, 13))}));
    EXPECT_EQ(Items(m.appl_list, 2), (Strings{"0:15:0", "0:20:0", "0:35:0"}));
    EXPECT_EQ(Labels(), (Strings{"All years", "2024", FormatDate("mmmm", TestToday()), "-", "-"}));
    // The item can be chosen again at once: it is no longer selected.
    EXPECT_EQ(m.LVStat.ItemState(2, LVIS_SELECTED), 0u);
    // Pressed while it computed; the button is up again now.
    EXPECT_EQ(m.LVStat.ItemImage(2), 2);
    m.LVStatSelectItem(2, true);
    EXPECT_EQ(m.LVStat.ItemImage(2), 2 + 14);
    m.LVStatMouseUp();
    EXPECT_EQ(m.LVStat.ItemImage(2), 2);

    Choose(3);   // Year
    EXPECT_EQ(Klr().level, Model().year.get());
    EXPECT_EQ(Items(m.tot_list), (Strings{FormatDate("mmmm", EncodeDate(2024, 2, 1)),
                                          FormatDate("mmmm", EncodeDate(2024, 3, 1))}));

    Choose(4);   // All years
    EXPECT_EQ(Klr().level, Model().allYears.get());
    EXPECT_EQ(Items(m.tot_list), (Strings{"2023", "2024"}));
    EXPECT_EQ(Labels(), (Strings{"All years", "-", "-", "-", "-"}));

    Choose(1);   // Week: Monday 11 to Sunday 17 March
    EXPECT_EQ(Klr().level, Model().week.get());
    EXPECT_EQ(Model().period->from, EncodeDate(2024, 3, 11));
    EXPECT_EQ(Model().period->to, EncodeDate(2024, 3, 17));
    EXPECT_EQ(m.tot_list.ItemCount(), 2);
    EXPECT_EQ(Shown(m.Custom), FormatDate("yyyy, mmmm, d", EncodeDate(2024, 3, 11)) + " - " +
                                   FormatDate("yyyy, mmmm, d", EncodeDate(2024, 3, 17)));
    EXPECT_EQ(Shown(m.PeriodName), "-");

    Choose(0);   // Day
    EXPECT_EQ(Klr().level, Model().day.get());
    EXPECT_EQ(m.tot_list.ItemCount(), 0);
    EXPECT_EQ(Items(m.appl_list, 2), (Strings{"0:10:0", "0:20:0", "0:30:0"}));
}

TEST_F(MainWindow, ChoosingTheSameItemTwiceComputesTwiceAndRefreshReadsAgain)
{
    StartWithProject();
    Choose(0);
    tree.File("2024\\3\\13", Record("notepad.exe", My_Time(), My_Time(0, 0, 7), My_Time(), My_Time()));
    Choose(0);
    EXPECT_EQ(Main().appl_list.ItemText(0, 2), "0:0:7");
    tree.File("2024\\3\\13", Record("notepad.exe", My_Time(), My_Time(0, 0, 9), My_Time(), My_Time()));
    Choose(6);   // Refresh
    EXPECT_EQ(Main().appl_list.ItemText(0, 2), "0:0:9");
    EXPECT_EQ(Klr().level, Model().day.get());
}

TEST_F(MainWindow, DrillDownGoesFromAllYearsToAYearToAMonthToADay)
{
    StartWithProject();
    TSDIAppForm& m = Main();
    Choose(4);
    DrillDown(1);   // 2024
    EXPECT_EQ(Klr().level, Model().year.get());
    EXPECT_EQ(Model().period->from, EncodeDate(2024, 1, 1));
    EXPECT_EQ(m.tot_list.ItemCount(), 2);
    DrillDown(0);   // February
    EXPECT_EQ(Klr().level, Model().month.get());
    EXPECT_EQ(Model().period->from, EncodeDate(2024, 2, 1));
    EXPECT_EQ(Items(m.tot_list), (Strings{FormatDate("ddd, dd", EncodeDate(2024, 2, 20))}));
    EXPECT_EQ(Items(m.appl_list, 2), (Strings{"0:30:0", "0:0:0", "0:30:0"}));
    DrillDown(0);   // 20 February
    EXPECT_EQ(Klr().level, Model().day.get());
    EXPECT_EQ(Model().period->from, EncodeDate(2024, 2, 20));
    EXPECT_EQ(m.tot_list.ItemCount(), 0);
    EXPECT_EQ(Shown(m.day), "20");

    // The year label shows the current year, whatever year was shown.
    Choose(4);
    DrillDown(0);   // 2023
    EXPECT_EQ(Shown(m.year), "2023");
    m.yearClick();
    EXPECT_EQ(Model().period->from, TestToday());
    EXPECT_EQ(Shown(m.year), "2024");
    m.monthClick();
    EXPECT_EQ(Klr().level, Model().month.get());
    m.PeriodNameClick();
    EXPECT_EQ(Klr().level, Model().allYears.get());
}

TEST_F(MainWindow, TheWeekDrillsDownIntoADay)
{
    StartWithProject();
    Choose(1);
    DrillDown(1);
    EXPECT_EQ(Klr().level, Model().day.get());
    EXPECT_EQ(Model().period->from, EncodeDate(2024, 3, 13));
}

TEST_F(MainWindow, TheClickableLabelsUnderlineUnderThePointer)
{
    Start();
    ui::Label& year = Main().year;
    year.onMouseEnter();
    EXPECT_EQ(year.FontStyle(), static_cast<unsigned>(ui::kUnderline));
    year.onMouseLeave();
    EXPECT_EQ(year.FontStyle(), static_cast<unsigned>(ui::kPlain));
    EXPECT_FALSE(Main().day.onMouseEnter);
    EXPECT_FALSE(Main().day.onClick);
}

TEST_F(MainWindow, ThePointerHighlightsTheIconUnderItOnly)
{
    Start();
    TSDIAppForm& m = Main();
    POINT p = m.LVStat.ItemPosition(2);
    m.LVStatMouseMove(p.x + 5, p.y + 5);
    EXPECT_EQ(m.LVStat.ItemImage(2), 9);
    m.LVStatMouseMove(p.x + 60, p.y + 5);   // beside the icons
    EXPECT_EQ(m.LVStat.ItemImage(2), 2);
    m.LVStatMouseMove(p.x + 5, p.y + 5);
    m.LVStatMouseMove(-1, -1);   // the pointer left the list
    EXPECT_EQ(m.LVStat.ItemImage(2), 2);
}

TEST_F(MainWindow, F1OnTheListsOpensTheMainHelpTopic)
{
    Start();
    Main().LVStatKeyDown(VK_F1);
    Main().tot_listKeyDown(VK_F1);
    Main().appl_listKeyDown(VK_F1);
    Main().LVStatKeyDown('A');
    EXPECT_EQ(answers.helpTopics, (std::vector<DWORD>{1001, 1001, 1001}));
}

TEST_F(MainWindow, HidingThePeriodPanelDisablesHidingTheOther)
{
    Start();
    TSDIAppForm& m = Main();
    ASSERT_TRUE(m.actions.HandleShortcut('T', ui::kCtrl));
    EXPECT_FALSE(m.Total_panel.Visible());
    EXPECT_FALSE(m.Hor_split.Visible());
    EXPECT_FALSE(m.ToolBar1.ButtonEnabled(ID_APPLICATIONS));
    EXPECT_FALSE(m.MainMenu1.ItemEnabled(ID_APPLICATIONS));
    EXPECT_EQ(m.MainMenu1.ItemCaption(ID_ACTION1), "Show Period");
    EXPECT_EQ(m.ToolBar1.ButtonImage(ID_APPLICATIONS), IMG_TOTAL);
    EXPECT_EQ(m.ToolBar1.ButtonImage(ID_ACTION1), IMG_APPLICATIONS);
    EXPECT_EQ(m.appl_list.Top() + m.Appl_panel.Top(), m.Panel6.Height());   // the applications take the room
    // Nor does the shortcut hide the other panel: one always stays.
    EXPECT_FALSE(m.actions.HandleShortcut('A', ui::kCtrl));
    EXPECT_TRUE(m.Appl_panel.Visible());

    m.Action1Execute();
    EXPECT_TRUE(m.Total_panel.Visible());
    EXPECT_TRUE(m.Hor_split.Visible());
    EXPECT_TRUE(m.ToolBar1.ButtonEnabled(ID_APPLICATIONS));
    EXPECT_TRUE(m.MainMenu1.ItemEnabled(ID_APPLICATIONS));
    EXPECT_EQ(m.MainMenu1.ItemCaption(ID_ACTION1), "Hide Period");
    EXPECT_EQ(m.ToolBar1.ButtonImage(ID_APPLICATIONS), IMG_APPLICATIONS);
    EXPECT_EQ(m.ToolBar1.ButtonImage(ID_ACTION1), IMG_TOTAL);
}

TEST_F(MainWindow, HidingTheApplicationsLetsThePeriodsFillThePanelAndRestoresTheirHeight)
{
    Start();
    TSDIAppForm& m = Main();
    m.Total_panel.SetHeight(200);
    ASSERT_TRUE(m.actions.HandleShortcut('A', ui::kCtrl));
    EXPECT_FALSE(m.Appl_panel.Visible());
    EXPECT_EQ(m.Total_panel.Height(), m.MainPanel.ClientHeight());
    EXPECT_FALSE(m.ToolBar1.ButtonEnabled(ID_ACTION1));
    EXPECT_FALSE(m.MainMenu1.ItemEnabled(ID_ACTION1));
    EXPECT_EQ(m.MainMenu1.ItemCaption(ID_APPLICATIONS), "Show Applications");
    EXPECT_FALSE(m.actions.HandleShortcut('T', ui::kCtrl));
    EXPECT_TRUE(m.Total_panel.Visible());

    // Closing now keeps the whole height as the split position.
    EXPECT_TRUE(m.FormClose());
    EXPECT_EQ(Model().interfaceSettings->SplitPos(), m.MainPanel.ClientHeight());

    m.ApplicationsExecute();
    EXPECT_TRUE(m.Appl_panel.Visible());
    EXPECT_EQ(m.Total_panel.Height(), 200);
    EXPECT_EQ(m.Hor_split.Top(), 200);
    EXPECT_TRUE(m.ToolBar1.ButtonEnabled(ID_ACTION1));
    EXPECT_EQ(m.MainMenu1.ItemCaption(ID_APPLICATIONS), "Hide Applications");
}

TEST_F(MainWindow, TheAutoRefreshTimerComputesTheCurrentLevelAgain)
{
    StartWithProject();
    tree.File("2024\\3\\13", Record("notepad.exe", My_Time(), My_Time(0, 0, 3), My_Time(), My_Time()));
    Main().RefreshTime.onTimer();
    EXPECT_EQ(Main().appl_list.ItemText(0, 2), "0:0:3");
}

TEST_F(MainWindow, OneErrorBoxAtATimeWhicheverCommandStartedTheRun)
{
    StartWithProject();
    tree.Folder("2024\\13");   // no calendar month: the Year level of 2024 fails
    struct Start {
        const char* name;
        std::function<void()> before, run;
    };
    const Start starts[] = {
        {"timer", [&] { Main().yearClick(); }, [&] { Main().RefreshTime.onTimer(); }},
        {"label", [] {}, [&] { Main().yearClick(); }},
        {"navigator", [] {}, [&] { Choose(3); }},
        {"drill-down", [&] { Choose(4); }, [&] { DrillDown(1); }},
    };
    for (const Start& start : starts) {
        SCOPED_TRACE(start.name);
        Choose(0);   // the Day level reads well
        start.before();
        answers.boxes.clear();
        int nested = 0;
        // Inside the box the timer fires and a queued choice arrives.
        answers.onBox = [&] {
            if (nested++ == 0) {
                Main().RefreshTime.onTimer();
                Main().LVStatSelectItem(0, true);
                Main().PeriodNameClick();
            }
        };
        start.run();
        answers.onBox = nullptr;
        ASSERT_EQ(answers.boxes.size(), 1u);
        EXPECT_EQ(answers.boxes[0].text, "Invalid argument to date encode.");
        EXPECT_EQ(answers.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(Klr().level, Model().year.get());
        EXPECT_TRUE(Klr().recompute);   // still due
        EXPECT_EQ(Main().tot_list.ItemCount(), 0);
    }
    Main().RefreshTime.onTimer();   // the next tick tries again
    EXPECT_EQ(answers.boxes.size(), 2u);
}

TEST_F(MainWindow, ShortcutsRunOnlyForTheMainWindowWhileItIsEnabled)
{
    Start();
    // Ctrl held down, as the message loop sees it.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    MSG msg{};
    msg.message = WM_KEYDOWN;
    msg.wParam = 'T';

    msg.hwnd = app->AboutBox().Handle();   // another window's key
    EXPECT_FALSE(Main().IsShortCut(msg));
    EXPECT_TRUE(Main().Total_panel.Visible());
    msg.hwnd = Main().LVStat.Handle();
    EnableWindow(Main().Handle(), FALSE);   // as while a dialog is modal
    EXPECT_FALSE(Main().IsShortCut(msg));
    EXPECT_TRUE(Main().Total_panel.Visible());
    EnableWindow(Main().Handle(), TRUE);
    EXPECT_TRUE(Main().IsShortCut(msg));
    EXPECT_FALSE(Main().Total_panel.Visible());

    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}
