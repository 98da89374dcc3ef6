#include <gtest/gtest.h>

#include "viewer_fakes.h"
#include "viewer_interface.h"

namespace {

Applic Row(const std::string& path, int active, int mouse = 0)
{
    Applic r(path, "");
    r.active = My_Time(0, 0, active);
    r.mouse = My_Time(0, 0, mouse);
    return r;
}

class FakeAddDialog : public AddApplicationView {
public:
    explicit FakeAddDialog(ApplicList* project) : project_(project) {}
    int ShowModal() override
    {
        if (result != IDOK)
            return result;
        Applic total = project_->empty() ? Applic("Total", "") : project_->back();
        if (!project_->empty())
            project_->pop_back();
        project_->push_back(chosen);
        project_->push_back(total);
        return IDOK;
    }
    int result = IDOK;
    Applic chosen;

private:
    ApplicList* project_;
};

class Merge : public ::testing::Test {
protected:
    Merge() : view(&project), periods(&totals), dialog(&project), iface(&dialog, &view, &project, &icons, &totals)
    {
        totals.view = &periods;
        iface.SetLabels(&name, &year, &month, &day, &custom);
    }

    void AddProjectRow(const std::string& path, const std::string& display)
    {
        dialog.chosen = Applic(path, display);
        iface.AddApplication();
    }

    ApplicList project;
    TotalDates totals;
    FakeApplList view;
    FakeTotalList periods;
    FakeImageList icons;
    FakeAddDialog dialog;
    Interface iface;
    FakeLabel name{16}, year{80}, month{124}, day{176}, custom{256};
};

} // namespace

TEST(FindApplicByFileName, MatchesTheFileNamePartExactly)
{
    ApplicList list = {Row("calc.exe", 1), Row("notepad.exe", 2), Row("Notepad.exe", 3), Row("notepad.exe", 4)};
    Applic wanted("c:\\windows\\notepad.exe", "Notepad");
    EXPECT_EQ(FindApplicByFileName(list, wanted), 1u);
    EXPECT_EQ(FindApplicByFileName(list, wanted, 2), 3u);
    EXPECT_EQ(FindApplicByFileName(list, wanted, 4), 4u);
    EXPECT_EQ(FindApplicByFileName(list, Applic("d:\\x\\word.exe", "")), list.size());
}

TEST_F(Merge, ProjectRowsCollectTheirRecordsAndTotalSumsOnlyThem)
{
    AddProjectRow("c:\\windows\\notepad.exe", "Notepad");
    AddProjectRow("c:\\office\\winword.exe", "Word");
    AddProjectRow("d:\\old\\notepad.exe", "Old notepad");
    AddProjectRow("c:\\games\\sol.exe", "Solitaire");
    ASSERT_EQ(project.size(), 5u);
    EXPECT_EQ(view.items, (std::vector<std::string>{"Notepad", "Word", "Old notepad", "Solitaire", "Total"}));

    ApplicList results = {Row("winword.exe", 40, 10), Row("notepad.exe", 30), Row("Notepad.exe", 1000),
                          Row("outsider.exe", 500), Row("winword.exe", 30, 55), Row("notepad.exe", 45)};
    MergeProjectRows(iface, results);
    EXPECT_EQ(TimeToText(project[0].active), "0:1:15");
    EXPECT_EQ(TimeToText(project[1].active), "0:1:10");
    EXPECT_EQ(TimeToText(project[1].mouse), "0:1:5");
    EXPECT_EQ(TimeToText(project[2].active), "0:1:15");   // same file name, other folder
    EXPECT_EQ(TimeToText(project[3].active), "0:0:0");
    EXPECT_EQ(project[4].path, "Total");
    EXPECT_EQ(TimeToText(project[4].active), "0:3:40");
    EXPECT_EQ(TimeToText(project[4].mouse), "0:1:5");
    EXPECT_EQ(view.updated, (std::vector<int>{0, 1, 2, 3, 4}));

    // A second merge starts the rows from zero.
    MergeProjectRows(iface, {Row("sol.exe", 7)});
    EXPECT_EQ(TimeToText(project[0].active), "0:0:0");
    EXPECT_EQ(TimeToText(project[3].active), "0:0:7");
    EXPECT_EQ(TimeToText(project[4].active), "0:0:7");
}

TEST_F(Merge, ThePeriodListIsRebuiltFromThePeriodDates)
{
    totals.rowDateFormat = "d";
    totals.periodDates = {EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 2)};
    MergeProjectRows(iface, {});   // empty project: the period list still follows the level
    EXPECT_EQ(periods.items, (std::vector<std::string>{"1", "2"}));
    totals.periodDates = {EncodeDate(2024, 3, 9)};
    AddProjectRow("c:\\a.exe", "A");
    MergeProjectRows(iface, {});
    EXPECT_EQ(periods.items, (std::vector<std::string>{"9"}));
    totals.rowDateFormat = "";
    MergeProjectRows(iface, {});
    EXPECT_TRUE(periods.items.empty());
}

TEST_F(Merge, AddingAndDeletingApplications)
{
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    dialog.chosen = Applic("c:\\a.exe", "A");
    dialog.chosen.icon = icon;
    iface.AddApplication();
    EXPECT_EQ(view.items, (std::vector<std::string>{"A", "Total"}));
    EXPECT_EQ(icons.Count(), 1);
    EXPECT_EQ(view.images, (std::vector<int>{0}));

    dialog.result = IDCANCEL;
    iface.AddApplication();
    EXPECT_EQ(icons.Count(), 1);
    EXPECT_EQ(project.size(), 2u);

    dialog.result = IDOK;
    AddProjectRow("c:\\b.exe", "B");   // no icon: no image
    EXPECT_EQ(view.items, (std::vector<std::string>{"A", "B", "Total"}));
    EXPECT_EQ(view.images, (std::vector<int>{0, -1}));
    EXPECT_EQ(icons.Count(), 1);

    view.selected = -1;   // nothing selected
    iface.DeleteApplication();
    EXPECT_EQ(project.size(), 3u);
    view.selected = 2;    // the Total row
    iface.DeleteApplication();
    EXPECT_EQ(project.size(), 3u);
    view.selected = 0;
    iface.DeleteApplication();
    EXPECT_EQ(view.items, (std::vector<std::string>{"B", "Total"}));
    ASSERT_EQ(project.size(), 2u);
    EXPECT_EQ(project[0].path, "c:\\b.exe");
    view.selected = 0;
    iface.DeleteApplication();
    EXPECT_TRUE(project.empty());
    EXPECT_TRUE(view.items.empty());
    view.selected = -1;
    iface.DeleteApplication();   // an empty list: nothing
    EXPECT_EQ(icons.Count(), 1);   // images are never removed
}

TEST_F(Merge, LabelsStandLeftToRightFiveApart)
{
    totals.labels[0] = "All years";
    totals.labels[1] = "2024";
    totals.labels[2] = "March";
    totals.labels[3] = "";
    day.caption = "old caption";
    iface.ShowLabels();
    EXPECT_TRUE(name.visible && year.visible && month.visible);
    EXPECT_FALSE(day.visible);
    EXPECT_FALSE(custom.visible);
    EXPECT_EQ(name.left, 16);
    EXPECT_EQ(year.left, 16 + 90 + 5);
    EXPECT_EQ(month.left, 111 + 40 + 5);
    EXPECT_EQ(day.left, 156 + 50 + 5);
    EXPECT_EQ(year.caption, "2024");

    // A range caption: only Custom, at PeriodName's place.
    totals.labels[0] = "2024, March, 4 - 2024, March, 10";
    totals.labels[1] = totals.labels[2] = "";
    iface.ShowLabels();
    EXPECT_FALSE(name.visible || year.visible || month.visible || day.visible);
    EXPECT_TRUE(custom.visible);
    EXPECT_EQ(custom.left, 16);
    EXPECT_EQ(custom.caption, totals.labels[0]);
}
