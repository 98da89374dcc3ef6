#include "main_form.h"

#include "viewer_resource.h"

namespace {

// Hints of the tool buttons whose actions have none of their own.
const char kAddButtonHint[] = "Add|Add application";
const char kDeleteButtonHint[] = "Delete|Delete application";

std::string ShortOf(const std::string& hint)
{
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}

std::string LongOf(const std::string& hint)
{
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

} // namespace

void TSDIAppForm::CreateActions()
{
    using ui::kCtrl;
    actions.Add(ID_FILE_NEW, "&New", "New|Create a new file", kCtrl + 'N', [this] { FileNew1Execute(); });
    actions.Add(ID_FILE_OPEN, "&Open", "Open|Open a file", kCtrl + 'O', [this] { FileOpen1Execute(); });
    actions.Add(ID_FILE_SAVE, "&Save", "Save|Save current file", kCtrl + 'S', [this] { FileSave1Execute(); });
    actions.Add(ID_FILE_SAVE_AS, "Save &As...", "Save As|Save current file with different name", 0,
                [this] { FileSaveAs1Execute(); });
    actions.Add(ID_SETTINGS, "Settings", "", 0, [this] { SettingsExecute(); });
    actions.Add(ID_FILE_EXIT, "E&xit", "Exit|Exit application", 0, [this] { FileExit1Execute(); });
    actions.Add(ID_ADD_APPLICATION, "A&dd application", "", kCtrl + 'D', [this] { Add_applicationExecute(); });
    actions.Add(ID_DEL_APPL, "Delete application", "", kCtrl + 'L', [this] { del_applExecute(); });
    actions.Add(ID_ACTION1, "Total", "Show/Hide Total statistics", kCtrl + 'T', [this] { Action1Execute(); });
    actions.Add(ID_APPLICATIONS, "Applications", "Show/Hide Applications statistics", kCtrl + 'A',
                [this] { ApplicationsExecute(); });
    actions.Add(ID_HELP_ABOUT, "&About...", "About|Show the program's name and version", 0,
                [this] { HelpAbout1Execute(); });
    // The two Help items that are not actions, routed the same way.
    actions.Add(ID_HELP_CONTENTS, "Contents", "", 0, [this] { Contents1Click(); });
    actions.Add(ID_HOMEPAGE, "Homepage", "Visit Kaltrow homepage", 0, [this] { Kaltrowhomepage1Click(); });
}

void TSDIAppForm::CreateMenus()
{
    MainMenu1.CreateBar();
    MainMenu1.SetImages(ImageList1.Handle());
    HMENU file = MainMenu1.AddSubmenu("&File", "File related commands");
    MainMenu1.AddItem(file, *actions.Find(ID_FILE_NEW), "", IMG_NEW);
    MainMenu1.AddItem(file, *actions.Find(ID_FILE_OPEN), "", IMG_OPEN);
    MainMenu1.AddItem(file, *actions.Find(ID_FILE_SAVE), "", IMG_SAVE);
    MainMenu1.AddItem(file, *actions.Find(ID_FILE_SAVE_AS));
    MainMenu1.AddSeparator(file);
    MainMenu1.AddItem(file, *actions.Find(ID_SETTINGS), "", IMG_SETTINGS);
    MainMenu1.AddSeparator(file);
    MainMenu1.AddItem(file, *actions.Find(ID_FILE_EXIT));
    HMENU application = MainMenu1.AddSubmenu("&Application", "");
    MainMenu1.AddItem(application, *actions.Find(ID_ADD_APPLICATION), "", IMG_ADD);
    MainMenu1.AddItem(application, *actions.Find(ID_DEL_APPL), "", IMG_DELETE);
    MainMenu1.EnableItem(ID_DEL_APPL, false);
    HMENU window = MainMenu1.AddSubmenu("&Window", "");
    MainMenu1.AddItem(window, *actions.Find(ID_ACTION1), "Hide Period", IMG_TOTAL);
    MainMenu1.AddItem(window, *actions.Find(ID_APPLICATIONS), "Hide Applications", IMG_APPLICATIONS);
    HMENU help = MainMenu1.AddSubmenu("&Help", "Help topics");
    MainMenu1.AddItem(help, *actions.Find(ID_HELP_CONTENTS));
    MainMenu1.AddItem(help, *actions.Find(ID_HOMEPAGE));
    MainMenu1.AddItem(help, *actions.Find(ID_HELP_ABOUT));
    SetMenu(Handle(), MainMenu1.Handle());

    Appl_popup.CreatePopup();
    Appl_popup.SetImages(ImageList1.Handle());
    Appl_popup.AddItem(nullptr, *actions.Find(ID_ADD_APPLICATION), "", IMG_ADD);
    Appl_popup.AddItem(nullptr, *actions.Find(ID_DEL_APPL), "", IMG_DELETE);
}

void TSDIAppForm::CreateToolBar()
{
    CoolBar1.Create(*this, 0, 0, 100, 43);
    CoolBar1.align = ui::Align::Top;
    ToolBar1.Create(CoolBar1, ImageList2.Handle(), 39, 38);
    ToolBar1.align = ui::Align::Client;
    struct Button {
        int id;
        int image;
        std::string hint;
    };
    const std::string none;
    const Button buttons[] = {
        {ID_FILE_NEW, IMG_NEW, none},         {ID_FILE_OPEN, IMG_OPEN, none},
        {ID_FILE_SAVE, IMG_SAVE, none},       {0, 0, none},
        {ID_ADD_APPLICATION, IMG_ADD, kAddButtonHint}, {ID_DEL_APPL, IMG_DELETE, kDeleteButtonHint},
        {0, 0, none},                         {ID_ACTION1, IMG_TOTAL, none},
        {ID_APPLICATIONS, IMG_APPLICATIONS, none}};
    auto hints = std::make_shared<std::map<int, std::string>>();
    for (const Button& b : buttons) {
        if (!b.id) {
            ToolBar1.AddSeparator();
            continue;
        }
        std::string hint = b.hint.empty() ? actions.Find(b.id)->hint : b.hint;
        (*hints)[b.id] = LongOf(hint);
        ToolBar1.AddButton(b.id, b.image, ShortOf(hint));
    }
    ToolBar1.EnableButton(ID_DEL_APPL, false);   // DelAppl starts disabled
    ToolBar1.onClick = [this](int id) { actions.Execute(id); };
    ToolBar1.onHotButton = [this, hints](int id) {
        auto found = hints->find(id);
        ShowHint(found != hints->end() ? found->second : std::string());
    };
}
