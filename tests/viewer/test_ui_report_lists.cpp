// The list wrappers over real list views: rows kept in step with their
// vectors, the time columns, the usage bar and the navigator's images.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "form.h"
#include "image_list.h"
#include "report_lists.h"
#include "viewer_resource.h"

namespace {

using Strings = std::vector<std::string>;

Applic Row(const std::string& name, My_Time active, My_Time mouse, My_Time keyboard)
{
    Applic a("c:\\" + name + ".exe", name);
    a.loaded = My_Time(1, 2, 3);
    a.active = active;
    a.mouse = mouse;
    a.keyboard = keyboard;
    return a;
}

class Lists : public ::testing::Test {
protected:
    Lists()
    {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        form.Create("lists", 800, 400, ui::Form::kSizeable);
        report.Create(form, ui::ListView::kReport, 1, LVS_SINGLESEL);
        report.SetBounds(0, 0, 800, 300);
        report.AddColumn("Application", 200);
        for (int i = 0; i < 5; ++i)
            report.AddColumn("t", 80);
        report.AddColumn("Usage activity", 150);
        icons.Create(32, 32);
        icons.AddStrip(IDB_NAVIGATOR, RGB(255, 0, 255));
        nav.Create(form, ui::ListView::kIcons, 2, LVS_SINGLESEL);
        nav.SetBounds(0, 300, 165, 600);
        nav.SetImageList(icons.Handle(), LVSIL_NORMAL);
        for (int i = 0; i < 7; ++i)
            nav.AddItem("item", i);
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    }
    Strings Items(int column = 0)
    {
        Strings items;
        for (int i = 0; i < report.ItemCount(); ++i)
            items.push_back(report.ItemText(i, column));
        return items;
    }
    // Adds a row the way the model does: before the closing row, then the item.
    void Add(ApplList& list, const Applic& row)
    {
        if (project.empty())
            project.push_back(Applic("Total", ""));
        project.insert(project.end() - 1, row);
        list.AddRow(-1);
    }

    ui::Form form;
    ui::ListView report;
    ui::ListView nav;
    ui::ImageList icons;
    ApplicList project;
};

// A memory picture the size of the list to draw cells into.
class Picture {
public:
    Picture(int w, int h)
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, h);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        RECT r{0, 0, w, h};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Picture()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

} // namespace

TEST_F(Lists, TheApplicationListKeepsTotalLastAndDeletesLikeTheProject)
{
    ApplList list(&report, &project);
    Add(list, Row("a", My_Time(), My_Time(), My_Time()));
    EXPECT_EQ(Items(), (Strings{"a", "Total"}));
    Add(list, Row("b", My_Time(), My_Time(), My_Time()));
    EXPECT_EQ(Items(), (Strings{"a", "b", "Total"}));

    list.SelectItem(2);
    list.DeleteRow(2);   // Total: nothing happens
    EXPECT_EQ(Items(), (Strings{"a", "b", "Total"}));
    EXPECT_EQ(project.size(), 3u);

    list.SelectItem(0);
    list.DeleteRow(list.SelectedIndex());
    EXPECT_EQ(Items(), (Strings{"b", "Total"}));
    ASSERT_EQ(project.size(), 2u);
    EXPECT_EQ(project[0].name, "b");

    list.SelectItem(0);
    list.DeleteRow(0);   // the only application: everything goes
    EXPECT_EQ(report.ItemCount(), 0);
    EXPECT_TRUE(project.empty());
    EXPECT_EQ(list.SelectedIndex(), 0);
}

TEST_F(Lists, UpdateRowShowsTheTimesAndNoLoadedTimeOnTotal)
{
    ApplList list(&report, &project);
    Add(list, Row("a", My_Time(0, 2, 0), My_Time(0, 0, 40), My_Time(0, 0, 30)));
    project.back().loaded = My_Time(9, 9, 9);
    project.back().active = My_Time(0, 2, 0);
    list.UpdateRow(0);
    list.UpdateRow(1);
    list.UpdateRow(1);   // again: the same cells
    EXPECT_EQ(Items(1), (Strings{"1:2:3", " "}));
    EXPECT_EQ(Items(2), (Strings{"0:2:0", "0:2:0"}));
    EXPECT_EQ(Items(3), (Strings{"0:0:40", "0:0:0"}));
    EXPECT_EQ(Items(4), (Strings{"0:0:30", "0:0:0"}));
    EXPECT_EQ(Items(5), (Strings{"0:1:10", "0:0:0"}));
    EXPECT_EQ(report.ItemText(0, 0), "a");
}

TEST(UsageBar, TheBarIsTheInputShareOfTheActiveTimeInsideAGreyFrame)
{
    const RECT cell{100, 10, 250, 27};   // frame 102..248: 146 wide
    UsageBar none = UsageBarGeometry(cell, Row("x", My_Time(0, 2, 0), My_Time(), My_Time()));
    EXPECT_FALSE(none.hasBar);
    EXPECT_EQ(none.frame.left, 102);
    EXPECT_EQ(none.frame.right, 248);
    EXPECT_EQ(none.frame.top, 12);
    EXPECT_EQ(none.frame.bottom, 25);

    UsageBar half = UsageBarGeometry(cell, Row("x", My_Time(0, 2, 0), My_Time(0, 0, 30), My_Time(0, 0, 30)));
    EXPECT_TRUE(half.hasBar);
    EXPECT_EQ(half.bar.left, 104);
    EXPECT_EQ(half.bar.top, 14);
    EXPECT_EQ(half.bar.bottom, 23);
    EXPECT_EQ(half.bar.right, 102 + 144 / 2);   // from the frame's left edge

    UsageBar full = UsageBarGeometry(cell, Row("x", My_Time(0, 2, 0), My_Time(0, 2, 0), My_Time()));
    EXPECT_EQ(full.bar.right, 248 - 2);
    // No active time: the share divides by one second and is held at the whole bar.
    UsageBar clamped = UsageBarGeometry(cell, Row("x", My_Time(), My_Time(0, 0, 1), My_Time()));
    EXPECT_EQ(clamped.bar.right, 246);

    UsageBar third = UsageBarGeometry(RECT{0, 0, 105, 20}, Row("x", My_Time(0, 0, 3), My_Time(0, 0, 1), My_Time()));
    EXPECT_EQ(third.bar.right, 2 + static_cast<int>(99 * 0.33));   // 33 %, truncated
}

TEST_F(Lists, TheUsageCellIsDrawnHereAndTheTotalRowIsBold)
{
    ApplList list(&report, &project);
    Add(list, Row("a", My_Time(0, 2, 0), My_Time(0, 1, 0), My_Time()));
    Add(list, Row("b", My_Time(0, 2, 0), My_Time(), My_Time()));
    Picture picture(800, 300);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(report.Handle(), WM_GETFONT, 0, 0));

    report.DrawCanvas().Begin(picture.dc, font);
    EXPECT_TRUE(list.DrawSubItem(0, 3));   // other columns: the list draws them
    EXPECT_FALSE(list.DrawSubItem(0, 6));
    EXPECT_FALSE(list.DrawSubItem(1, 6));
    EXPECT_EQ(report.DrawCanvas().BrushColor(), RGB(255, 255, 255));   // the brush is given back
    EXPECT_TRUE(list.DrawItem(0));
    EXPECT_EQ(report.DrawCanvas().FontStyle(), static_cast<unsigned>(ui::kPlain));
    EXPECT_TRUE(list.DrawItem(2));
    EXPECT_EQ(report.DrawCanvas().FontStyle(), static_cast<unsigned>(ui::kBold));
    report.DrawCanvas().End();

    RECT cell = report.SubItemRect(0, 6);
    UsageBar bar = UsageBarGeometry(cell, project[0]);
    EXPECT_EQ(picture.At(bar.frame.left, bar.frame.top), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(picture.At(bar.frame.right - 1, bar.frame.bottom - 1), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(picture.At(bar.bar.left + 3, (bar.bar.top + bar.bar.bottom) / 2), RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(picture.At(bar.bar.right + 2, (bar.bar.top + bar.bar.bottom) / 2), RGB(255, 255, 255));
    // Row b has no input: the frame only.
    RECT empty = report.SubItemRect(1, 6);
    UsageBar frameOnly = UsageBarGeometry(empty, project[1]);
    EXPECT_EQ(picture.At(frameOnly.frame.left, frameOnly.frame.top + 3), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(picture.At(frameOnly.frame.left + 4, frameOnly.frame.top + 4), RGB(255, 255, 255));
}

TEST_F(Lists, ThePeriodListCaptionsItsDatesAndDrawsTheirTotals)
{
    TotalDates totals;
    TotalList list(&report, &totals);
    totals.periodDates = {EncodeDate(2024, 1, 1), EncodeDate(2024, 2, 1)};
    list.UpdateRow(0);
    EXPECT_EQ(report.ItemCount(), 0);   // the Day level's empty format shows nothing
    totals.rowDateFormat = "mmmm";
    list.Clear();
    list.UpdateRow(0);
    list.UpdateRow(1);
    EXPECT_EQ(Items(), (Strings{FormatDate("mmmm", totals.periodDates[0]), FormatDate("mmmm", totals.periodDates[1])}));
    EXPECT_EQ(list.SelectedIndex(), 2);

    totals.totals = {Row("t", My_Time(0, 1, 0), My_Time(0, 1, 0), My_Time())};
    Picture picture(800, 300);
    report.DrawCanvas().Begin(picture.dc, nullptr);
    EXPECT_TRUE(list.DrawSubItem(0, 0));
    EXPECT_FALSE(list.DrawSubItem(0, 1));
    EXPECT_TRUE(list.DrawSubItem(1, 1));   // no total at its index: default drawing
    report.DrawCanvas().End();
}

TEST_F(Lists, IconHitTestCountsBothEdgesOfTheIcon)
{
    MenuListView menu(&nav);
    nav.SetItemPosition(3, 40, 227);
    POINT p = nav.ItemPosition(3);
    EXPECT_EQ(menu.IconHitTest(p.x + 32, p.y + 32), 3);
    EXPECT_EQ(menu.IconHitTest(p.x, p.y), 3);
    EXPECT_EQ(menu.IconHitTest(p.x + 33, p.y), -1);
    EXPECT_EQ(menu.IconHitTest(p.x, p.y - 1), -1);
}

TEST_F(Lists, HighlightAndResetHighlightMoveBetweenTheThreeImageSets)
{
    MenuListView menu(&nav);
    menu.Highlight(2, true);
    EXPECT_EQ(nav.ItemImage(2), 9);
    menu.Highlight(2, false);
    EXPECT_EQ(nav.ItemImage(2), 16);
    menu.Highlight(2, true);   // pressed stays pressed under the pointer
    EXPECT_EQ(nav.ItemImage(2), 16);
    menu.Highlight(2, false);
    EXPECT_EQ(nav.ItemImage(2), 16);
    menu.Highlight(4, true);
    menu.ResetHighlight();   // one item per call, the first one found
    EXPECT_EQ(nav.ItemImage(2), 2);
    EXPECT_EQ(nav.ItemImage(4), 11);
    menu.ResetHighlight();
    EXPECT_EQ(nav.ItemImage(4), 4);
    menu.ResetHighlight();
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(nav.ItemImage(i), i);
}

TEST_F(Lists, TheNavigatorImagesAreTwentyOneDistinctPictures)
{
    ASSERT_EQ(icons.Count(), 21);
    // Each item's three images differ from each other.
    auto pixels = [&](int image) {
        Picture p(32, 32);
        ImageList_Draw(icons.Handle(), image, p.dc, 0, 0, ILD_NORMAL);
        std::vector<COLORREF> all;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                all.push_back(p.At(x, y));
        return all;
    };
    for (int i = 0; i < 7; ++i) {
        EXPECT_NE(pixels(i), pixels(i + 7)) << i;
        EXPECT_NE(pixels(i), pixels(i + 14)) << i;
        EXPECT_NE(pixels(i + 7), pixels(i + 14)) << i;
    }
}
