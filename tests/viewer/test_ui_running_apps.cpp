// Process identity of the add-application dialog, on windows of this test.
#include <gtest/gtest.h>

#include "running_apps.h"
#include "test_support.h"

namespace {

std::string SelfPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

std::string Lower(std::string s)
{
    CharLowerA(&s[0]);
    return s;
}

class Windows : public ::testing::Test {
protected:
    Windows()
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        top = CreateWindowA("STATIC", "Top Window", WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, nullptr, nullptr, instance,
                            nullptr);
        hidden = CreateWindowA("STATIC", "Hidden", WS_POPUP, 0, 0, 40, 20, nullptr, nullptr, instance, nullptr);
        child = CreateWindowA("STATIC", "Child", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, nullptr, instance,
                              nullptr);
        owned = CreateWindowA("STATIC", "Owned", WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, top, nullptr, instance,
                              nullptr);
        untitled = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, nullptr, nullptr, instance,
                                 nullptr);
        HMODULE psapi = LoadLibraryA("psapi.dll");
        BindPsapi(psapi);
        BindFullImageName(GetModuleHandleA("kernel32.dll"));
    }
    ~Windows() override
    {
        for (HWND w : {owned, child, top, hidden, untitled})
            DestroyWindow(w);
        UnbindProcessEntries();
    }
    HWND top, hidden, child, owned, untitled;
};

} // namespace

TEST_F(Windows, RootWindowLeadsFromChildrenAndOwnedPopupsToTheTop)
{
    EXPECT_EQ(RootWindow(child), top);
    EXPECT_EQ(RootWindow(owned), top);
    EXPECT_EQ(RootWindow(top), top);
}

TEST_F(Windows, AVisibleTopLevelWindowNamesItsExecutableInLowerCase)
{
    std::string name, path, title;
    GetProcessInfoForWindow(top, name, path, title, false);
    EXPECT_EQ(path, Lower(SelfPath()));
    EXPECT_EQ(name, Lower(SelfPath().substr(SelfPath().find_last_of('\\') + 1)));
    EXPECT_EQ(title, "Top Window");   // the title keeps its case
}

TEST_F(Windows, HiddenChildAndOwnedWindowsAreLeftOut)
{
    for (HWND w : {hidden, child, owned}) {
        std::string name, path, title;
        GetProcessInfoForWindow(w, name, path, title, false);
        EXPECT_EQ(name, "");
        EXPECT_EQ(title, "");
    }
    std::string name, path, title;
    GetProcessInfoForWindow(hidden, name, path, title, true);
    EXPECT_EQ(title, "Hidden");
    Applic row;
    EXPECT_FALSE(RunningApplicOfWindow(hidden, row));
    EXPECT_FALSE(RunningApplicOfWindow(untitled, row));   // no title
}

TEST_F(Windows, WithoutTheModuleListTheImageNameGivesThePath)
{
    UnbindProcessEntries();
    std::string name, path, title;
    GetProcessInfoForWindow(top, name, path, title, false);
    EXPECT_EQ(path, "");   // nothing bound, nothing called
    EXPECT_EQ(name, "");
    BindFullImageName(GetModuleHandleA("kernel32.dll"));
    GetProcessInfoForWindow(top, name, path, title, false);
    EXPECT_EQ(path, Lower(SelfPath()));
    EXPECT_EQ(name, Lower(SelfPath().substr(SelfPath().find_last_of('\\') + 1)));
}

TEST_F(Windows, ToolhelpFindsThisProcessOnlyWhenBound)
{
    std::string name, path;
    EXPECT_FALSE(ToolhelpExePath(GetCurrentProcessId(), name, path));
    BindToolhelp(GetModuleHandleA("kernel32.dll"));
    ASSERT_TRUE(ToolhelpExePath(GetCurrentProcessId(), name, path));
    EXPECT_EQ(Lower(name), Lower(SelfPath().substr(SelfPath().find_last_of('\\') + 1)));
    EXPECT_FALSE(ToolhelpExePath(0xFFFFFFF0u, name, path));
}

TEST_F(Windows, TheRowOfAWindowIsNamedByTheFileDescription)
{
    std::string description;
    GetFileDescription(SelfPath(), description);
    EXPECT_EQ(description, "Kaltrow statistics");
    Applic row;
    ASSERT_TRUE(RunningApplicOfWindow(top, row));
    EXPECT_EQ(row.path, Lower(SelfPath()));
    EXPECT_EQ(row.name, "Kaltrow statistics");
    std::string display;
    GetShellDisplayName(SelfPath(), display);
    EXPECT_FALSE(display.empty());
}

TEST(FileDescription, AFileWithoutAVersionResourceHasNone)
{
    TempDir dir;
    WriteBytes(dir / "plain.txt", "no version here");
    std::string description = "stale";
    GetFileDescription(dir / "plain.txt", description);
    EXPECT_EQ(description, "");
    GetFileDescription(dir / "missing.exe", description);
    EXPECT_EQ(description, "");
}

TEST(RunningList, RowsAreEqualOnlyWithTheSamePathAndName)
{
    ApplicList list{Applic("c:\\a\\x.exe", "X"), Applic("c:\\b\\x.exe", "X")};
    EXPECT_TRUE(IsApplicInList(list, Applic("c:\\b\\x.exe", "X")));
    EXPECT_FALSE(IsApplicInList(list, Applic("C:\\b\\x.exe", "X")));
    EXPECT_FALSE(IsApplicInList(list, Applic("c:\\b\\x.exe", "Y")));
    EXPECT_FALSE(IsApplicInList(ApplicList(), Applic("c:\\b\\x.exe", "X")));
}
