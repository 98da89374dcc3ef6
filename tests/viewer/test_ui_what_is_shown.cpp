// What the user sees, read from the real controls: the columns and captions
// of the lists and dialogs, and the bars and the bold Total row as the
// lists paint them.
#include "ui_fixture.h"

namespace {

using Strings = std::vector<std::string>;

struct Column {
    std::string caption;
    int width;
    bool operator==(const Column& o) const { return caption == o.caption && width == o.width; }
};
using Columns = std::vector<Column>;

void PrintTo(const Column& c, std::ostream* os)
{
    *os << c.caption << "/" << c.width;
}

Columns ColumnsOf(HWND list)
{
    Columns columns;
    int n = Header_GetItemCount(ListView_GetHeader(list));
    for (int i = 0; i < n; ++i) {
        char text[256] = {};
        LVCOLUMNA col;
        ZeroMemory(&col, sizeof(col));
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.pszText = text;
        col.cchTextMax = sizeof(text);
        SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
        columns.push_back({text, col.cx});
    }
    return columns;
}

// A child's place in its parent's client area: left, top, width, height.
std::vector<int> Place(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

std::vector<int> ClientSize(HWND window)
{
    RECT r;
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

std::string TextOf(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

bool Styled(HWND window, DWORD style)
{
    return (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & style) == style;
}

DWORD ExtendedListStyle(HWND list)
{
    return static_cast<DWORD>(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

// A list view's client area painted into a memory bitmap, as WM_PAINT
// would paint it, custom drawing included.
class Painted {
public:
    explicit Painted(HWND list)
    {
        RECT r;
        GetClientRect(list, &r);
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, r.right, r.bottom);
        ReleaseDC(nullptr, screen);
        old_ = SelectObject(dc_, bitmap_);
        SendMessageA(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND);
    }
    ~Painted()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y) & 0xFFFFFF; }
    // Pixels of the rectangle darker than mid grey: the ink of its text.
    int Ink(const RECT& r) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                COLORREF c = At(x, y);
                n += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
            }
        }
        return n;
    }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// The ink of a text in a font, drawn black on white.
int InkOfText(const std::string& text, HFONT font, int weight)
{
    LOGFONTA lf;
    GetObjectA(font, sizeof(lf), &lf);
    lf.lfWeight = weight;
    HFONT drawn = CreateFontIndirectA(&lf);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, drawn);
    RECT all{0, 0, 200, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 2, 2, text.c_str(), static_cast<int>(text.size()));
    int n = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            n += GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 128;
        }
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DeleteObject(drawn);
    return n;
}

class Shown : public ViewerApp {
protected:
    Shown() { WriteStandardTree(); }
    void StartWithProject() { Start("\"" + ProjectFile() + "\""); }
};

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kSilver = RGB(192, 192, 192);

} // namespace

TEST_F(Shown, TheListsPaintTheirBarsAndTheBoldTotalRow)
{
    StartWithProject();
    TSDIAppForm& m = Main();
    m.monthClick();   // period rows with bars too
    ASSERT_EQ(m.appl_list.ItemCount(), 3);
    ASSERT_EQ(m.tot_list.ItemCount(), 2);
    Painted apps(m.appl_list.Handle());

    // Notepad's input is 7:0 of 15:0 active this month (46 %): a grey
    // frame, a silver bar that far, no silver beyond it.
    RECT cell = m.appl_list.SubItemRect(0, 6);
    RECT frame{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
    int mid = (frame.top + frame.bottom) / 2;
    EXPECT_EQ(apps.At(frame.left, mid), kGrey);
    EXPECT_EQ(apps.At(frame.right - 1, mid), kGrey);
    EXPECT_EQ(apps.At((frame.left + frame.right) / 2, frame.top), kGrey);
    int barRight = frame.left + (frame.right - frame.left - 2) * 46 / 100;
    EXPECT_EQ(apps.At(frame.left + 4, mid), kSilver);
    EXPECT_EQ(apps.At(barRight - 3, mid), kSilver);
    EXPECT_NE(apps.At(barRight + 3, mid), kSilver);

    // The Total row's texts in bold, the others' not.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(m.appl_list.Handle(), WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    auto boldness = [&](int item, int column, const std::string& text) {
        RECT r = m.appl_list.SubItemRect(item, column);
        if (column == 0)
            r.right = m.appl_list.SubItemRect(item, 1).left;
        int ink = apps.Ink(r);
        int plain = InkOfText(text, font, FW_NORMAL), bold = InkOfText(text, font, FW_BOLD);
        EXPECT_LT(plain, bold) << text;
        return std::abs(ink - bold) < std::abs(ink - plain);
    };
    EXPECT_TRUE(boldness(2, 0, "Total"));
    EXPECT_TRUE(boldness(2, 2, m.appl_list.ItemText(2, 2)));
    EXPECT_FALSE(boldness(0, 0, "Notepad"));
    EXPECT_FALSE(boldness(1, 2, m.appl_list.ItemText(1, 2)));

    // The period list draws its bars in its second column: 11 March's input
    // is 2:0 of 5:0 active.
    Painted periods(m.tot_list.Handle());
    cell = m.tot_list.SubItemRect(0, 1);
    frame = {cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
    mid = (frame.top + frame.bottom) / 2;
    EXPECT_EQ(periods.At(frame.left, mid), kGrey);
    EXPECT_EQ(periods.At(frame.right - 1, mid), kGrey);
    EXPECT_EQ(periods.At(frame.left + 4, mid), kSilver);
    barRight = frame.left + (frame.right - frame.left - 2) * 40 / 100;
    EXPECT_NE(periods.At(barRight + 3, mid), kSilver);
}

TEST_F(Shown, TheReportListsColumnsAndStyles)
{
    Start();
    TSDIAppForm& m = Main();
    HWND apps = m.appl_list.Handle();
    EXPECT_EQ(ColumnsOf(apps), (Columns{{"Application", 200}, {"Loaded", 80}, {"Active", 80}, {"Mouse", 80},
                                        {"Keyboard", 80}, {"Input", 80}, {"Usage activity", 150}}));
    EXPECT_TRUE(Styled(apps, LVS_REPORT));
    EXPECT_FALSE(Styled(apps, LVS_EDITLABELS));   // read-only
    EXPECT_NE(ExtendedListStyle(apps) & LVS_EX_FULLROWSELECT, 0u);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(apps, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), m.Icons.Handle());

    HWND periods = m.tot_list.Handle();
    EXPECT_EQ(ColumnsOf(periods), (Columns{{"Period", 100}, {"Common usage activity", 200}}));
    EXPECT_TRUE(Styled(periods, LVS_REPORT));
    EXPECT_FALSE(Styled(periods, LVS_EDITLABELS));
    // The row under the pointer is underlined.
    EXPECT_NE(ExtendedListStyle(periods) & LVS_EX_UNDERLINEHOT, 0u);

    EXPECT_EQ(m.Label2.Text(), "Applications");
    EXPECT_EQ(TextOf(m.Panel2.Handle()), "Statistics");
}

TEST_F(Shown, TheAddApplicationDialogsControls)
{
    Start();
    TAppl_form& form = app->ApplForm();
    EXPECT_EQ(TextOf(form.Handle()), "Add application");
    EXPECT_EQ(ClientSize(form.Handle()), (std::vector<int>{443, 320}));
    HWND list = form.Appl_run.Handle();
    EXPECT_EQ(Place(list), (std::vector<int>{4, 4, 433, 277}));
    EXPECT_EQ(ColumnsOf(list), (Columns{{"Applications running", 429}}));
    EXPECT_TRUE(Styled(list, LVS_REPORT));
    EXPECT_FALSE(Styled(list, LVS_EDITLABELS));
    EXPECT_NE(ExtendedListStyle(list) & LVS_EX_FULLROWSELECT, 0u);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), form.icons.Handle());
    int cx = 0, cy = 0;
    ImageList_GetIconSize(form.icons.Handle(), &cx, &cy);
    EXPECT_EQ(cx, 32);
    EXPECT_EQ(cy, 32);

    EXPECT_EQ(TextOf(form.Button3.Handle()), "Add");
    EXPECT_EQ(Place(form.Button3.Handle()), (std::vector<int>{204, 288, 75, 25}));
    EXPECT_TRUE(Styled(form.Button3.Handle(), BS_DEFPUSHBUTTON));
    EXPECT_EQ(TextOf(form.Button2.Handle()), "Cancel");
    EXPECT_EQ(Place(form.Button2.Handle()), (std::vector<int>{284, 288, 75, 25}));
    EXPECT_EQ(TextOf(form.Button1.Handle()), "Help");
    EXPECT_EQ(Place(form.Button1.Handle()), (std::vector<int>{364, 288, 75, 25}));
}

TEST_F(Shown, TheCustomPeriodDialogsControls)
{
    Start();
    TCustForm& form = app->CustForm();
    EXPECT_EQ(TextOf(form.Handle()), "Custom");
    EXPECT_EQ(ClientSize(form.Handle()), (std::vector<int>{313, 96}));
    LOGFONTA lf;
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(form.Button3.Handle(), WM_GETFONT, 0, 0)),
                           sizeof(lf), &lf));
    EXPECT_STREQ(lf.lfFaceName, "MS Sans Serif");

    EXPECT_EQ(TextOf(form.GroupBox1.Handle()), "Choose evaluation period");
    EXPECT_EQ(Place(form.GroupBox1.Handle()), (std::vector<int>{4, 4, 305, 53}));
    EXPECT_EQ(form.Label1.Text(), "Start date:");
    EXPECT_EQ(Place(form.Label1.Handle())[0], 8);
    EXPECT_EQ(Place(form.Label1.Handle())[1], 24);
    EXPECT_EQ(form.Label2.Text(), "Final date:");
    EXPECT_EQ(Place(form.Label2.Handle())[0], 156);
    EXPECT_EQ(Place(form.Label2.Handle())[1], 24);
    for (ui::DatePicker* picker : {&form.StartDate, &form.EndDate}) {
        HWND p = picker->Handle();
        char cls[64] = {};
        GetClassNameA(p, cls, sizeof(cls));
        EXPECT_STREQ(cls, DATETIMEPICK_CLASSA);
        // Date only in the short format, with the drop-down calendar, typed text not parsed.
        EXPECT_TRUE(Styled(p, DTS_SHORTDATEFORMAT));
        EXPECT_FALSE(Styled(p, DTS_UPDOWN));
        EXPECT_FALSE(Styled(p, DTS_APPCANPARSE));
        EXPECT_FALSE(Styled(p, DTS_TIMEFORMAT));
    }
    EXPECT_EQ(Place(form.StartDate.Handle()), (std::vector<int>{60, 20, 85, 21}));
    EXPECT_EQ(Place(form.EndDate.Handle()), (std::vector<int>{208, 20, 85, 21}));

    const struct {
        ui::Button* button;
        const char* text;
        std::vector<int> place;
    } buttons[] = {{&form.Button3, "OK", {72, 64, 75, 25}},
                   {&form.Button2, "Cancel", {152, 64, 75, 25}},
                   {&form.Button1, "Help", {232, 64, 75, 25}}};
    for (const auto& b : buttons) {
        EXPECT_EQ(TextOf(b.button->Handle()), b.text);
        EXPECT_EQ(Place(b.button->Handle()), b.place) << b.text;
    }

    // Tab order: the two pickers, then Help, Cancel and OK.
    Strings order;
    for (HWND c = GetWindow(form.Handle(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (Styled(c, WS_TABSTOP))
            order.push_back(c == form.StartDate.Handle() ? "start" : c == form.EndDate.Handle() ? "end" : TextOf(c));
    }
    EXPECT_EQ(order, (Strings{"start", "end", "Help", "Cancel", "OK"}));
}
