#pragma once
#include <memory>
#include <string>

#include "action.h"
#include "controls.h"
#include "file_dialog.h"
#include "form.h"
#include "image_list.h"
#include "label.h"
#include "list_view.h"
#include "menu.h"
#include "panel.h"
#include "timer.h"
#include "tool_bar.h"
#include "view_adapters.h"
#include "viewer_model.h"

class TAboutBox;
class TAppl_form;
class TCustForm;
class TSettingsForm;
class TWaitForm;

// The viewer's main window: the period navigator on the left, the period
// list above the application list on the right, menus, tool bar and status
// bar. It builds the model when it first shows and carries out every
// command of the user.
class TSDIAppForm : public ui::Form {
public:
    explicit TSDIAppForm(ViewerModel& model);
    ~TSDIAppForm() override;

    // The dialogs, created after the main window.
    void SetDialogs(TAboutBox* about, TAppl_form* appl, TWaitForm* wait, TCustForm* cust,
                    TSettingsForm* settings);

    // Start-up (main_form_show.cpp).
    void FormShow();
    void OpenProjectFile();
    void LVStatResize();

    // Commands (main_form_commands.cpp).
    void FileNew1Execute();
    void FileOpen1Execute();
    void FileSave1Execute();
    void FileSaveAs1Execute();
    void FileExit1Execute();
    void SettingsExecute();
    void Add_applicationExecute();
    void del_applExecute();
    void Action1Execute();
    void ApplicationsExecute();
    void HelpAbout1Execute();
    void Contents1Click();
    void Kaltrowhomepage1Click();
    void RefreshTimeTimer();
    // A close request; false keeps the window open.
    bool FormClose();

    // The navigator, the labels and the lists (main_form_navigation.cpp).
    void LVStatSelectItem(int item, bool selected);
    void LVStatMouseMove(int x, int y);
    void LVStatMouseUp();
    void LVStatKeyDown(WORD key);
    void PeriodNameClick();
    void yearClick();
    void monthClick();
    void tot_listSelectItem(int item, bool selected);
    void tot_listKeyDown(WORD key);
    bool tot_listCustomDrawSubItem(int item, int column);
    void appl_listSelectItem(int item, bool selected);
    void appl_listExit();
    void appl_listKeyDown(WORD key);
    void appl_listContextPopup(POINT screen);
    bool appl_listCustomDrawItem(int item);
    bool appl_listCustomDrawSubItem(int item, int column);

    // The shortcuts of the actions, from the message loop; true when one ran.
    bool IsShortCut(const MSG& msg);

    // The components, as the form lays them out.
    ui::ActionList actions;
    ui::Menu MainMenu1;
    ui::Menu Appl_popup;
    ui::ImageList ImageList1;   // 16 x 16 menu images
    ui::ImageList ImageList2;   // 32 x 32 tool-bar images
    ui::ImageList ImageList3;   // the navigator's 21 images
    ui::ImageList Icons;        // the applications' small icons
    ui::Panel CoolBar1;
    ui::ToolBar ToolBar1;
    ui::StatusBar StatusBar;
    ui::Panel Panel1;
    ui::Panel Panel2;
    ui::ListView LVStat;
    ui::Splitter Splitter1;
    ui::Panel MainPanel;
    ui::Panel Total_panel;
    ui::Panel PeriodPanel;
    ui::Label PeriodName;
    ui::Label year;
    ui::Label month;
    ui::Label day;
    ui::Label Custom;
    ui::ListView tot_list;
    ui::Splitter Hor_split;
    ui::Panel Appl_panel;
    ui::Panel Panel6;
    ui::Label Label2;
    ui::ListView appl_list;
    ui::Timer RefreshTime;
    ui::FileDialog OpenDialog;
    ui::FileDialog SaveDialog;

    MenuListView* Navigator() const { return menuListView_.get(); }
    ViewerModel& Model() { return model_; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreatePanels();
    void WireEvents();
    // "Save changes to '...' ?" while the project has unsaved changes; the
    // answer (IDYES, IDNO, IDCANCEL); IDNO when there is nothing to save.
    // IDCANCEL too when Yes was answered and the project could not be written.
    int SavePrompt(UINT buttons);
    // Save under SaveDialog's name, asking for one when it has none; false
    // only when the file could not be written (reported, and SaveDialog's
    // name set back to `previousName`).
    bool SaveProject(const std::string& previousName);
    void SetCaption(const std::string& caption);
    void ShowLevel(Statistics* level);
    // A computation is under way (or the model is not built yet).
    bool Computing() const;
    void ShowHint(const std::string& hint);

    ViewerModel& model_;
    std::unique_ptr<MenuListView> menuListView_;
    LabelAdapter periodNameView_{&PeriodName};
    LabelAdapter yearView_{&year};
    LabelAdapter monthView_{&month};
    LabelAdapter dayView_{&day};
    LabelAdapter customView_{&Custom};
    ImageListAdapter iconsView_{&Icons};

    TAboutBox* about_ = nullptr;
    TAppl_form* appl_ = nullptr;
    TWaitForm* wait_ = nullptr;
    TCustForm* cust_ = nullptr;
    TSettingsForm* settings_ = nullptr;
    bool shown_ = false;
};

// Posted to the main window so a navigator or period-list selection is
// carried out after the list has finished its own handling of the click.
const UINT WM_KLR_NAVIGATE = WM_APP + 1;
const UINT WM_KLR_DRILL_DOWN = WM_APP + 2;

// The file-name part of a project's path followed by " - Kaltrow".
std::string ProjectCaption(const std::string& path);
