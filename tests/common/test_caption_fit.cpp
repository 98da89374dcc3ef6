#include <gtest/gtest.h>

#include <windows.h>

#include "caption_fit.h"

namespace {

// A hidden parent with one control in the dialog font of the system.
class CaptionFitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_ = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent_, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND Make(const char* className, DWORD style, const char* text, int left, int width)
    {
        HWND control = CreateWindowA(className, text, WS_CHILD | style, left, 10, width, 17, parent_, nullptr,
                                     nullptr, nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
        return control;
    }

    static int Width(HWND control)
    {
        RECT r;
        GetWindowRect(control, &r);
        return r.right - r.left;
    }

    static int TextWidth(HWND control, const char* text)
    {
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE size = {};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        return size.cx;
    }

    HWND parent_ = nullptr;
};

TEST_F(CaptionFitTest, CutCheckBoxGrowsToItsTextAndTheMarkAndKeepsItsPlace)
{
    const char* text = "Autoupdate statistics every";
    HWND box = Make("BUTTON", BS_AUTOCHECKBOX, text, 16, 40);
    int grew = WidenToCaption(box, 380);
    EXPECT_GE(Width(box), TextWidth(box, text) + GetSystemMetrics(SM_CXMENUCHECK));
    EXPECT_EQ(grew, Width(box) - 40);
    EXPECT_EQ(Width(box), CaptionWidth(box));
    RECT r;
    GetWindowRect(box, &r);
    MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 16);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.bottom - r.top, 17);
}

TEST_F(CaptionFitTest, ControlThatFitsOrIsWiderStaysAsDesigned)
{
    HWND wide = Make("BUTTON", BS_AUTOCHECKBOX, "OK", 16, 300);
    EXPECT_EQ(WidenToCaption(wide, 380), 0);
    EXPECT_EQ(Width(wide), 300);
    HWND label = Make("STATIC", SS_LEFT, "Version 1.1", 16, 200);
    EXPECT_EQ(WidenToCaption(label, 380), 0);
    EXPECT_EQ(Width(label), 200);
}

TEST_F(CaptionFitTest, GrowthStopsAtTheLimitAndStaticsNeedNoMark)
{
    HWND box = Make("BUTTON", BS_AUTOCHECKBOX, "Start when Windows starts", 16, 20);
    EXPECT_EQ(WidenToCaption(box, 60), 24);
    EXPECT_EQ(Width(box), 44);

    const char* text = "Version 1.1";
    HWND label = Make("STATIC", SS_LEFT, text, 16, 10);
    WidenToCaption(label, 380);
    EXPECT_GE(Width(label), TextWidth(label, text));
    EXPECT_LT(Width(label), TextWidth(label, text) + GetSystemMetrics(SM_CXMENUCHECK));
}

} // namespace
