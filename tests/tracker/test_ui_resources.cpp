#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "resource.h"

namespace {

INT_PTR CALLBACK NoHandling(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

} // namespace

// The system's own reading of the templates: a wrong class name or a broken
// item list makes the creation fail.
TEST(ResourceWindows, DialogsCanBeCreatedFromTheirTemplates)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    for (int id : {IDD_INDICATOR, IDD_SETTINGS, IDD_ABOUT}) {
        SCOPED_TRACE("dialog " + std::to_string(id));
        HWND w = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr, NoHandling, 0);
        ASSERT_NE(w, nullptr);
        EXPECT_FALSE(IsWindowVisible(w));
        if (id == IDD_SETTINGS) {
            char cls[64] = {};
            GetClassNameA(GetDlgItem(w, IDC_TRANSPARENCY), cls, sizeof(cls));
            EXPECT_STRCASEEQ(cls, TRACKBAR_CLASSA);
            EXPECT_NE(GetDlgItem(w, IDC_LOG_PATH), nullptr);
        }
        if (id == IDD_INDICATOR) {
            EXPECT_TRUE(GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
        }
        DestroyWindow(w);
    }
}
