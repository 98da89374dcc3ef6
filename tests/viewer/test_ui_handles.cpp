// Handles of the viewer: every image list and shell icon has one owner and
// is freed once, however often projects are opened and rows come and go.
#include "ui_fixture.h"

#include <set>

#include "project.h"

namespace {

// The shell icons the projects' rows were given, and how many of them the
// system still holds: counted outside the viewer.
std::set<HICON> g_handed;

HICON NotedShellIcon(const std::string& path)
{
    HICON icon = GetShellIcon(path);
    g_handed.insert(icon);
    return icon;
}

int Alive(const std::set<HICON>& icons)
{
    int n = 0;
    for (HICON icon : icons) {
        ICONINFO info;
        if (icon && GetIconInfo(icon, &info)) {
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            ++n;
        }
    }
    return n;
}

class Handles : public ViewerApp {
protected:
    Handles() { WriteStandardTree(); }
    ~Handles() override { SetShellIconFunction(nullptr); }
    std::string Self()
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, sizeof(path));
        CharLowerA(path);
        return path;
    }
    // Adds this test program through the add-application dialog.
    void AddSelf()
    {
        tasks.Post([&] {
            TAppl_form& form = app->ApplForm();
            const ApplicList& rows = form.RunningList();
            for (size_t i = 0; i < rows.size(); ++i) {
                if (rows[i].path == Self())
                    form.Appl_run.SetItemState(static_cast<int>(i), LVIS_SELECTED, LVIS_SELECTED);
            }
            form.Button3Click();
        });
        Main().Add_applicationExecute();
    }
    int RunningIcons()
    {
        int n = 0;
        for (const Applic& row : app->ApplForm().RunningList())
            n += row.icon != nullptr;
        return n;
    }
};

} // namespace

TEST_F(Handles, TheListViewsLeaveTheirImageListsToTheWrappers)
{
    Start();
    TSDIAppForm& m = Main();
    for (ui::ListView* list : {&m.LVStat, &m.tot_list, &m.appl_list, &app->ApplForm().Appl_run})
        EXPECT_NE(GetWindowLongA(list->Handle(), GWL_STYLE) & LVS_SHAREIMAGELISTS, 0);

    // A list view that goes leaves the image list it showed to its owner.
    ui::ImageList images;
    images.Create(16, 16);
    images.AddIcon(LoadIcon(nullptr, IDI_APPLICATION));
    {
        ui::ListView list;
        list.Create(m, ui::ListView::kReport, 999);
        list.SetImageList(images.Handle(), LVSIL_SMALL);
        list.AddItem("x", 0);
    }
    EXPECT_EQ(ImageList_GetImageCount(images.Handle()), 1);
}

TEST_F(Handles, ShellIconsAndImagesStayFlatOverOpensDeletesAndAddsAndAllAreFreedAtExit)
{
    // Two files the prefix holds, so the shell gives real icons.
    WriteBytes(ProjectFile(), "\"c:\\windows\\notepad.exe\"\t\"Notepad\"\r\n"
                              "\"c:\\windows\\regedit.exe\"\t\"Registry\"\r\n");
    g_handed.clear();
    SetShellIconFunction(&NotedShellIcon);
    Start("\"" + ProjectFile() + "\"");
    for (int i = 0; i < 200; ++i) {
        Main().OpenDialog.SetFileName(ProjectFile());
        Main().OpenProjectFile();
    }
    ASSERT_EQ(Main().appl_list.ItemCount(), 3);
    EXPECT_EQ(Main().Icons.Count(), 2);   // one image per row shown
    ASSERT_EQ(g_handed.size(), 402u);
    EXPECT_EQ(Alive(g_handed), 0);   // the image list holds copies

    // The dialog keeps the icons of the applications it lists; the rows it
    // copies into the project hold none of their own.
    for (int i = 0; i < 20; ++i) {
        AddSelf();
        ASSERT_EQ(Main().appl_list.ItemCount(), 4) << i;
        EXPECT_EQ(Model().projectList[2].icon, nullptr);
        Main().appl_list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
        Main().del_applExecute();
        ASSERT_EQ(Main().appl_list.ItemCount(), 3) << i;
        EXPECT_EQ(Main().Icons.Count(), 2) << i;
    }
    std::set<HICON> listed;
    for (const Applic& row : app->ApplForm().RunningList())
        listed.insert(row.icon);
    ASSERT_GT(RunningIcons(), 0);
    EXPECT_EQ(Alive(listed), RunningIcons());
    Main().appl_list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    Main().del_applExecute();
    EXPECT_EQ(Main().Icons.Count(), 1);
    EXPECT_EQ(Main().appl_list.ItemImage(0), 0);   // Registry's image moved down with it
    Main().FileNew1Execute();
    EXPECT_EQ(Main().Icons.Count(), 0);

    // The viewer goes: each icon was freed.
    app.reset();
    EXPECT_EQ(Alive(listed), 0);
}
