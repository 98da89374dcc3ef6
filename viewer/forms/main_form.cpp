#include "main_form.h"

#include "about_box.h"
#include "appl_form.h"
#include "cust_form.h"
#include "messages.h"
#include "settings_form.h"
#include "viewer_resource.h"
#include "wait_form.h"

namespace {

// The navigator's and the header panels' colour: red 172, green 168, blue 153.
const COLORREF kPanelColor = 10070188;

HFONT ListFont()
{
    return ui::GetFont("Tahoma", 11);
}

} // namespace

std::string ProjectCaption(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? path : path.substr(slash + 1)) + " - Kaltrow";
}

TSDIAppForm::TSDIAppForm(ViewerModel& model)
    : OpenDialog(false, "Kaltrow (*.klr)|*.klr|All Files (*.*)|*.*", "klr"),
      SaveDialog(true, "Kaltrow (*.klr)|*.klr|All Files (*.*)|*.*", "klr"),
      model_(model)
{
    Create("Untitled.klr - Kaltrow", 780, 560, kSizeable, nullptr, LoadIconA(ui::Instance(), MAKEINTRESOURCEA(IDI_KLR_STAT)));
    SetFont(ui::SystemFont());
    ImageList1.Create(16, 16);
    ImageList1.AddStrip(IDB_MENU_IMAGES, RGB(255, 0, 255));
    ImageList2.Create(32, 32);
    ImageList2.AddStrip(IDB_TOOLBAR, RGB(255, 0, 255));
    ImageList3.Create(32, 32);
    ImageList3.AddStrip(IDB_NAVIGATOR, RGB(255, 0, 255));
    Icons.Create(16, 16);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreatePanels();
    WireEvents();
    menuListView_.reset(new MenuListView(&LVStat));
}

TSDIAppForm::~TSDIAppForm() = default;

void TSDIAppForm::SetDialogs(TAboutBox* about, TAppl_form* appl, TWaitForm* wait, TCustForm* cust,
                             TSettingsForm* settings)
{
    about_ = about;
    appl_ = appl;
    wait_ = wait;
    cust_ = cust;
    settings_ = settings;
}

void TSDIAppForm::CreatePanels()
{
    StatusBar.Create(*this, "Press F1 to get Help");
    StatusBar.align = ui::Align::Bottom;

    Panel1.Create(*this, 0, 0, 165, 100);
    Panel1.align = ui::Align::Left;
    Panel2.Create(Panel1, 0, 0, 165, 21);
    Panel2.align = ui::Align::Top;
    Panel2.SetText("Statistics");
    Panel2.SetColor(kPanelColor);
    Panel2.SetCaptionColor(RGB(255, 255, 255));
    Panel2.SetRaised(true);
    Panel2.SetFont(ListFont());
    LVStat.Create(Panel1, ui::ListView::kIcons, IDC_LVSTAT, LVS_SINGLESEL);
    LVStat.align = ui::Align::Client;
    LVStat.SetFont(ListFont());
    LVStat.SetColors(kPanelColor, RGB(255, 255, 255));
    LVStat.SetImageList(ImageList3.Handle(), LVSIL_NORMAL);
    const char* items[] = {"Day", "Week", "Month", "Year", "All years", "Custom", "Refresh"};
    for (int i = 0; i < 7; ++i)
        LVStat.AddItem(items[i], i);

    Splitter1.Create(*this, Panel1, true, 5);
    Splitter1.align = ui::Align::Left;
    Splitter1.SetMinSize(32);

    MainPanel.Create(*this, 0, 0, 100, 100);
    MainPanel.align = ui::Align::Client;
    Total_panel.Create(MainPanel, 0, 0, 100, 260);
    Total_panel.align = ui::Align::Top;
    PeriodPanel.Create(Total_panel, 0, 0, 100, 20);
    PeriodPanel.align = ui::Align::Top;
    PeriodPanel.SetColor(kPanelColor);
    PeriodPanel.SetRaised(true);
    PeriodPanel.SetFont(ListFont());
    const struct {
        ui::Label* label;
        const char* caption;
        int left;
    } labels[] = {{&PeriodName, "All years", 16}, {&year, "year", 80}, {&month, "month", 124},
                  {&day, "day", 176},             {&Custom, "Custom", 256}};
    for (const auto& l : labels) {
        l.label->Create(PeriodPanel, l.caption, l.left, 3, 14);
        l.label->SetTextColor(GetSysColor(COLOR_WINDOW));
    }
    Custom.SetVisible(false);
    for (ui::Label* clickable : {&PeriodName, &year, &month})
        clickable->SetHandCursor(true);
    tot_list.Create(Total_panel, ui::ListView::kReport, IDC_TOT_LIST, LVS_SINGLESEL);
    tot_list.align = ui::Align::Client;
    tot_list.SetFont(ListFont());
    tot_list.AddColumn("Period", 100);
    tot_list.AddColumn("Common usage activity", 200);
    // The row under the pointer is underlined and shows the hand.
    tot_list.SetExtendedStyle(LVS_EX_UNDERLINEHOT | LVS_EX_ONECLICKACTIVATE);

    Hor_split.Create(MainPanel, Total_panel, false, 5);
    Hor_split.align = ui::Align::Top;

    Appl_panel.Create(MainPanel, 0, 0, 100, 100);
    Appl_panel.align = ui::Align::Client;
    Panel6.Create(Appl_panel, 0, 0, 100, 20);
    Panel6.align = ui::Align::Top;
    Panel6.SetColor(kPanelColor);
    Panel6.SetRaised(true);
    Panel6.SetFont(ListFont());
    Label2.Create(Panel6, "Applications", 16, 3, 14);
    Label2.SetTextColor(GetSysColor(COLOR_WINDOW));
    appl_list.Create(Appl_panel, ui::ListView::kReport, IDC_APPL_LIST, LVS_SINGLESEL);
    appl_list.align = ui::Align::Client;
    appl_list.SetFont(ListFont());
    appl_list.AddColumn("Application", 200);
    for (const char* caption : {"Loaded", "Active", "Mouse", "Keyboard", "Input"})
        appl_list.AddColumn(caption, 80);
    appl_list.AddColumn("Usage activity", 150);
    appl_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    appl_list.SetImageList(Icons.Handle(), LVSIL_SMALL);
    AlignControls();
}

void TSDIAppForm::WireEvents()
{
    LVStat.onResize = [this] { LVStatResize(); };
    LVStat.onSelectItem = [this](int item, bool selected) {
        // Carried out once the list has done with the click.
        if (selected)
            PostMessageA(Handle(), WM_KLR_NAVIGATE, static_cast<WPARAM>(item), 0);
    };
    LVStat.onMouseMove = [this](int x, int y) { LVStatMouseMove(x, y); };
    LVStat.onMouseUp = [this] { LVStatMouseUp(); };
    // Leaving the list is a move off every icon.
    LVStat.onMouseLeave = [this] { LVStatMouseMove(-1, -1); };
    LVStat.onKeyDown = [this](WORD key) { LVStatKeyDown(key); };

    PeriodName.onClick = [this] { PeriodNameClick(); };
    year.onClick = [this] { yearClick(); };
    month.onClick = [this] { monthClick(); };
    for (ui::Label* label : {&PeriodName, &year, &month}) {
        label->onMouseEnter = [label] { label->SetFontStyle(ui::kUnderline); };
        label->onMouseLeave = [label] { label->SetFontStyle(ui::kPlain); };
    }

    tot_list.onSelectItem = [this](int item, bool selected) {
        if (selected)
            PostMessageA(Handle(), WM_KLR_DRILL_DOWN, static_cast<WPARAM>(item), 0);
    };
    tot_list.onKeyDown = [this](WORD key) { tot_listKeyDown(key); };
    tot_list.onCustomDrawSubItem = [this](int item, int column) { return tot_listCustomDrawSubItem(item, column); };

    appl_list.onSelectItem = [this](int item, bool selected) { appl_listSelectItem(item, selected); };
    appl_list.onExit = [this] { appl_listExit(); };
    appl_list.onKeyDown = [this](WORD key) { appl_listKeyDown(key); };
    appl_list.onContextPopup = [this](POINT screen) { appl_listContextPopup(screen); };
    appl_list.onCustomDrawItem = [this](int item) { return appl_listCustomDrawItem(item); };
    appl_list.onCustomDrawSubItem = [this](int item, int column) {
        return appl_listCustomDrawSubItem(item, column);
    };

    RefreshTime.onTimer = [this] { RefreshTimeTimer(); };
    onCloseQuery = [this] { return FormClose(); };
}

void TSDIAppForm::ShowHint(const std::string& hint)
{
    StatusBar.SetSimpleText(hint);
}

void TSDIAppForm::SetCaption(const std::string& caption)
{
    SetText(caption);
    SetApplicationTitle(caption);
}

bool TSDIAppForm::IsShortCut(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    // Not while a modal dialog has the main window disabled.
    if (!IsWindowEnabled(Handle()) || (msg.hwnd != Handle() && !IsChild(Handle(), msg.hwnd)))
        return false;
    return actions.HandleShortcut(static_cast<WORD>(msg.wParam), ui::ActionList::CurrentModifiers());
}

LRESULT TSDIAppForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (lParam == 0 && actions.Execute(LOWORD(wParam)))
            return 0;
        break;
    case WM_MENUSELECT: {
        HMENU menu = reinterpret_cast<HMENU>(lParam);
        std::string hint = MainMenu1.HintOf(wParam, menu);
        if (hint.empty())
            hint = Appl_popup.HintOf(wParam, menu);
        ShowHint(hint);
        return 0;
    }
    case WM_EXITMENULOOP:
        ShowHint(std::string());
        break;
    case WM_MEASUREITEM:
        if (MainMenu1.MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)) ||
            Appl_popup.MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (MainMenu1.DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)) ||
            Appl_popup.DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_KLR_NAVIGATE:
        LVStatSelectItem(static_cast<int>(wParam), true);
        // The button was released while the level was computed.
        if (!(GetKeyState(VK_LBUTTON) & 0x8000))
            LVStatMouseUp();
        return 0;
    case WM_KLR_DRILL_DOWN:
        tot_listSelectItem(static_cast<int>(wParam), true);
        return 0;
    }
    return Form::HandleMessage(msg, wParam, lParam);
}
