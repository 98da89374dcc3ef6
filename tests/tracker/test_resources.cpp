#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "my_menu.h"
#include "resource.h"
#include "test_support.h"

namespace {

// The bytes of a resource of this program, or nothing.
std::pair<const uint8_t*, DWORD> Resource(LPCSTR type, int id)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!found) return {nullptr, 0};
    HGLOBAL loaded = LoadResource(nullptr, found);
    return {static_cast<const uint8_t*>(LockResource(loaded)), SizeofResource(nullptr, found)};
}

struct Control {
    int id;
    std::string cls;     // standard classes by name: "Button", "Edit", "Static"
    std::string text;
    int x, y, cx, cy;
    DWORD style;
};

struct Dialog {
    DWORD style = 0, exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string caption, face;
    int pointSize = 0;
    int declaredControls = 0;
    std::vector<Control> controls;
};

// Reads a DLGTEMPLATEEX: a header, the font, then DWORD-aligned items.
class TemplateReader {
public:
    explicit TemplateReader(const uint8_t* p) : base_(p), p_(p) {}

    uint16_t Word() { uint16_t v; std::memcpy(&v, p_, 2); p_ += 2; return v; }
    uint32_t Dword() { uint32_t v; std::memcpy(&v, p_, 4); p_ += 4; return v; }
    int16_t Short() { return static_cast<int16_t>(Word()); }
    void AlignDword() { while ((p_ - base_) % 4) ++p_; }

    std::string Text()
    {
        std::string s;
        for (uint16_t c = Word(); c; c = Word()) s += c < 128 ? char(c) : '?';
        return s;
    }
    // A string, an ordinal (0xFFFF, n) given as "#n", or nothing.
    std::string TextOrOrdinal()
    {
        uint16_t first;
        std::memcpy(&first, p_, 2);
        if (first == 0xFFFF) {
            Word();
            return "#" + std::to_string(Word());
        }
        return Text();
    }

private:
    const uint8_t* base_;
    const uint8_t* p_;
};

std::string ClassName(const std::string& raw)
{
    if (raw == "#128") return "Button";
    if (raw == "#129") return "Edit";
    if (raw == "#130") return "Static";
    return raw;
}

Dialog ReadDialog(int id)
{
    Dialog d;
    auto [bytes, size] = Resource(MAKEINTRESOURCEA(5), id);   // RT_DIALOG
    if (!bytes || size < 26) {
        ADD_FAILURE() << "no dialog " << id;
        return d;
    }
    TemplateReader r(bytes);
    EXPECT_EQ(r.Word(), 1) << "dialog " << id << " is not a DIALOGEX";
    EXPECT_EQ(r.Word(), 0xFFFF);
    r.Dword();   // help id
    d.exStyle = r.Dword();
    d.style = r.Dword();
    d.declaredControls = r.Word();
    d.x = r.Short(), d.y = r.Short(), d.cx = r.Short(), d.cy = r.Short();
    r.TextOrOrdinal();   // menu
    r.TextOrOrdinal();   // class
    d.caption = r.Text();
    if (d.style & DS_SETFONT) {
        d.pointSize = r.Word();
        r.Word();   // weight
        r.Word();   // italic, charset
        d.face = r.Text();
    }
    for (int i = 0; i < d.declaredControls; ++i) {
        r.AlignDword();
        Control c;
        r.Dword();   // help id
        r.Dword();   // extended style
        c.style = r.Dword();
        c.x = r.Short(), c.y = r.Short(), c.cx = r.Short(), c.cy = r.Short();
        c.id = static_cast<int32_t>(r.Dword());
        c.cls = ClassName(r.TextOrOrdinal());
        c.text = r.TextOrOrdinal();
        uint16_t extra = r.Word();
        for (uint16_t k = 0; k < extra; ++k) r.Dword();   // never present here; keeps alignment honest
        d.controls.push_back(c);
    }
    return d;
}

void ExpectControl(const Control& c, int id, const char* cls, const char* text, int x, int y, int cx,
                   int cy)
{
    SCOPED_TRACE(std::string("control \"") + text + "\" " + std::to_string(id));
    EXPECT_EQ(c.id, id);
    EXPECT_STRCASEEQ(c.cls.c_str(), cls);
    EXPECT_EQ(c.text, text);
    EXPECT_EQ(c.x, x);
    EXPECT_EQ(c.y, y);
    EXPECT_EQ(c.cx, cx);
    EXPECT_EQ(c.cy, cy);
    EXPECT_TRUE(c.style & WS_CHILD);
    EXPECT_TRUE(c.style & WS_VISIBLE);
}

DWORD ButtonKind(const Control& c)
{
    return c.style & BS_TYPEMASK;
}

} // namespace

TEST(Resources, IndicatorTemplateIsAnInvisibleToolWindowStrip)
{
    Dialog d = ReadDialog(IDD_INDICATOR);
    EXPECT_EQ(d.style, DWORD(WS_POPUP | DS_SETFONT));
    EXPECT_EQ(d.exStyle, DWORD(WS_EX_TOOLWINDOW));
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 0);
    EXPECT_EQ(d.cx, 106);
    EXPECT_EQ(d.cy, 11);
    EXPECT_EQ(d.pointSize, 2);
    EXPECT_EQ(d.face, "MS Sans Serif");
    EXPECT_EQ(d.caption, "");
    EXPECT_EQ(d.declaredControls, 0);
}

TEST(Resources, SettingsDialogHasEveryControlInPlace)
{
    Dialog d = ReadDialog(IDD_SETTINGS);
    EXPECT_EQ(d.style, DWORD(WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SYSMODAL | DS_SETFONT));
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.cx, 219);
    EXPECT_EQ(d.cy, 140);
    EXPECT_EQ(d.caption, "Settings - Kaltrow");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.face, "MS Sans Serif");
    ASSERT_EQ(d.controls.size(), 11u);

    const auto& c = d.controls;
    ExpectControl(c[0], -1, "Button", "Kaltrow", 7, 7, 205, 105);
    ExpectControl(c[1], 1059, "Button", "Start when Windows starts", 16, 19, 119, 10);
    ExpectControl(c[2], 1067, "Button", "Show \"New Day\" message", 16, 32, 125, 10);
    ExpectControl(c[3], -1, "Button", "Save log files to", 15, 45, 189, 31);
    ExpectControl(c[4], 1062, "Edit", "", 23, 55, 134, 14);
    ExpectControl(c[5], 1032, "Button", "Browse", 163, 55, 34, 14);
    ExpectControl(c[6], 1068, "Button", "Transparency", 15, 79, 189, 26);
    ExpectControl(c[7], 1063, "msctls_trackbar32", "", 20, 89, 179, 11);
    ExpectControl(c[8], 1033, "Button", "OK", 48, 119, 50, 14);
    ExpectControl(c[9], 2, "Button", "Cancel", 105, 119, 50, 14);
    ExpectControl(c[10], 3, "Button", "Help", 162, 119, 50, 14);

    // The kinds of the controls, which the dialog code relies on.
    for (int i : {0, 3, 6}) EXPECT_EQ(ButtonKind(c[i]), DWORD(BS_GROUPBOX)) << i;
    EXPECT_EQ(ButtonKind(c[1]), DWORD(BS_AUTOCHECKBOX));
    EXPECT_EQ(ButtonKind(c[2]), DWORD(BS_AUTOCHECKBOX));
    EXPECT_TRUE(c[4].style & WS_BORDER);
    EXPECT_TRUE(c[4].style & ES_AUTOHSCROLL);
    EXPECT_EQ(ButtonKind(c[5]), DWORD(BS_PUSHBUTTON));
    EXPECT_EQ(c[7].style & (TBS_VERT | TBS_BOTH | TBS_NOTICKS), DWORD(TBS_BOTH | TBS_NOTICKS));
    EXPECT_EQ(ButtonKind(c[8]), DWORD(BS_DEFPUSHBUTTON));
    EXPECT_EQ(ButtonKind(c[9]), DWORD(BS_PUSHBUTTON));
    EXPECT_EQ(ButtonKind(c[10]), DWORD(BS_PUSHBUTTON));
}

TEST(Resources, AboutDialogHasNoSystemMenuAndLeavesRoomForTheLogo)
{
    Dialog d = ReadDialog(IDD_ABOUT);
    EXPECT_EQ(d.style, DWORD(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SYSMODAL | DS_SETFONT));
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.cx, 266);
    EXPECT_EQ(d.cy, 185);
    EXPECT_EQ(d.caption, "Kaltrow - Activity Indicator");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.face, "MS Sans Serif");
    ASSERT_EQ(d.controls.size(), 4u);
    ExpectControl(d.controls[0], 1, "Button", "OK", 111, 164, 50, 14);
    EXPECT_EQ(ButtonKind(d.controls[0]), DWORD(BS_DEFPUSHBUTTON));
    ExpectControl(d.controls[1], -1, "Button", "", 11, 89, 242, 69);
    EXPECT_EQ(ButtonKind(d.controls[1]), DWORD(BS_GROUPBOX));
    ExpectControl(d.controls[2], -1, "Static", "Kaltrow", 32, 101, 53, 8);
    ExpectControl(d.controls[3], -1, "Static", "Version 1.1", 32, 114, 36, 8);
}

TEST(Resources, PopupMenuHasItsItemsAndSeparatorsInOrder)
{
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_POPUP_MENU));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    char text[64] = {};
    GetMenuStringA(bar, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "Menu");
    HMENU menu = GetSubMenu(bar, 0);
    ASSERT_NE(menu, nullptr);

    struct Item {
        int id;
        const char* text;   // nullptr: a separator
    };
    const Item expected[] = {
        {0, "Statistics"}, {32779, "Settings"}, {0, nullptr},   {32781, "Start"}, {32782, "Stop"},
        {0, nullptr},      {32780, "Show"},     {2, "Hide"},    {0, nullptr},     {3, "Help"},
        {32785, "About"},  {0, nullptr},        {32773, "Quit"},
    };
    ASSERT_EQ(GetMenuItemCount(menu), int(std::size(expected)));
    for (int i = 0; i < int(std::size(expected)); ++i) {
        SCOPED_TRACE("item " + std::to_string(i));
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_STATE;
        char buf[64] = {};
        info.dwTypeData = buf;
        info.cch = sizeof(buf);
        ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        EXPECT_EQ(info.hSubMenu, nullptr);
        if (!expected[i].text) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR);
            continue;
        }
        EXPECT_FALSE(info.fType & MFT_SEPARATOR);
        EXPECT_EQ(info.fState & (MFS_DISABLED | MFS_CHECKED), 0u) << "states are set at run time";
        EXPECT_EQ(int(info.wID), expected[i].id);
        EXPECT_STREQ(buf, expected[i].text);
    }

    DestroyMenu(bar);

    // Loaded as the program loads it, the item with command 0 is the default.
    MyPopupMenu loaded;
    loaded.Load(nullptr, IDR_POPUP_MENU);
    ASSERT_NE(loaded.FirstSubmenu(), nullptr);
    EXPECT_EQ(GetMenuDefaultItem(loaded.FirstSubmenu(), TRUE, 0), 0u);
    EXPECT_EQ(GetMenuDefaultItem(loaded.FirstSubmenu(), FALSE, 0), UINT(ID_MENU_STATISTICS));
}

TEST(Resources, TooltipStrings)
{
    char text[256] = {};
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(LoadStringA(self, IDS_HIDE, text, 255), 4);
    EXPECT_STREQ(text, "Hide");
    LoadStringA(self, IDS_TOGGLE_TRACKING, text, 255);
    EXPECT_STREQ(text, "Stop/Start tracking");
    LoadStringA(self, IDS_ACTIVITY_TIP, text, 255);
    EXPECT_STREQ(text, "This indicator shows your working activity since Windows was started");
}

TEST(Resources, EachIconHasFourSizesAtThreeDepths)
{
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bits;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    std::vector<std::vector<uint8_t>> smallest;   // 16-pixel 32-bit image of each icon
    for (int icon : {IDI_TRACKING, IDI_STOPPED, IDI_PRODUCT}) {
        SCOPED_TRACE("icon " + std::to_string(icon));
        auto [dir, size] = Resource(MAKEINTRESOURCEA(14), icon);   // RT_GROUP_ICON
        ASSERT_NE(dir, nullptr);
        WORD count;
        std::memcpy(&count, dir + 4, 2);
        ASSERT_EQ(size, 6 + count * sizeof(GroupEntry));

        std::set<std::pair<int, int>> found;   // size, bits
        for (WORD i = 0; i < count; ++i) {
            GroupEntry e;
            std::memcpy(&e, dir + 6 + i * sizeof(GroupEntry), sizeof(e));
            EXPECT_EQ(e.width, e.height);
            found.insert({e.width, e.bits});
            auto [image, imageSize] = Resource(MAKEINTRESOURCEA(3), e.id);   // RT_ICON
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(imageSize, e.bytes);
            HICON h = CreateIconFromResourceEx(const_cast<uint8_t*>(image), imageSize, TRUE,
                                               0x00030000, e.width, e.height, 0);
            EXPECT_NE(h, nullptr) << int(e.width) << " px, " << e.bits << " bits";
            if (h) DestroyIcon(h);
            if (e.width == 16 && e.bits == 32) smallest.emplace_back(image, image + imageSize);
        }
        std::set<std::pair<int, int>> wanted;
        for (int s : {48, 32, 24, 16})
            for (int b : {4, 8, 32}) wanted.insert({s, b});
        EXPECT_EQ(found, wanted);
    }
    ASSERT_EQ(smallest.size(), 3u);
    EXPECT_NE(smallest[0], smallest[1]) << "tracking and stopped look alike in the tray";
}

TEST(Resources, DistFolderHoldsEverySkinAndTheLogoAtTheirSizes)
{
    struct Picture {
        const char* file;
        int width, height;
    };
    const Picture pictures[] = {
        {"Skins\\ind_set.bmp", 6, 18},   {"Skins\\ind_clr.bmp", 6, 18},   {"Skins\\start.bmp", 19, 18},
        {"Skins\\start_act.bmp", 19, 18}, {"Skins\\stop.bmp", 19, 18},    {"Skins\\stop_act.bmp", 19, 18},
        {"Skins\\hide.bmp", 20, 18},     {"Skins\\hide_act.bmp", 20, 18}, {"Skins\\stoped.bmp", 120, 18},
        {"logo.bmp", 400, 137},
    };
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.file);
        std::string path = std::string(KLR_DIST_DIR) + "\\" + p.file;
        std::string bytes = ReadBytes(path);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        BITMAPINFOHEADER info;
        std::memcpy(&info, bytes.data() + 14, sizeof(info));
        EXPECT_EQ(info.biWidth, p.width);
        EXPECT_EQ(info.biHeight, p.height);
        EXPECT_EQ(info.biBitCount, 24);
        EXPECT_EQ(info.biCompression, DWORD(BI_RGB));
        size_t row = (p.width * 3 + 3) / 4 * 4;
        EXPECT_EQ(bytes.size(), 54 + row * p.height);

        // Loaded the way the tracker loads its skins.
        HANDLE h = LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
        ASSERT_NE(h, nullptr);
        BITMAP bm{};
        GetObjectA(h, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, p.width);
        EXPECT_EQ(bm.bmHeight, p.height);
        DeleteObject(h);
    }
}
