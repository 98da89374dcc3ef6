#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "process_identity.h"
#include "records.h"

namespace {

std::string OwnExeNameLower()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string p = path;
    p = p.substr(p.find_last_of('\\') + 1);
    std::transform(p.begin(), p.end(), p.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return p;
}

HWND TopLevel(const char* title, bool visible, HWND owner = nullptr)
{
    DWORD style = (owner ? WS_POPUP : WS_OVERLAPPEDWINDOW) | (visible ? WS_VISIBLE : 0);
    // Layered and never drawn: Wine maps it on no display, so it also goes at once.
    return CreateWindowExA(WS_EX_LAYERED, "STATIC", title, style, 10, 10, 200, 100, owner, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
}

BOOL WINAPI FailingEnumModules(HANDLE, HMODULE*, DWORD, LPDWORD)
{
    return FALSE;
}

HANDLE WINAPI FakeSnapshot(DWORD, DWORD)
{
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

BOOL WINAPI FakeFirst(HANDLE, PROCESSENTRY32* entry)
{
    entry->th32ProcessID = GetCurrentProcessId();
    lstrcpyA(entry->szExeFile, "C:\\PROGRAM FILES\\TEST APP\\NOTEPAD.EXE");
    return TRUE;
}

BOOL WINAPI NoNext(HANDLE, PROCESSENTRY32*)
{
    return FALSE;
}

class Windows : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_[0] = reinterpret_cast<void*>(pEnumProcessModules);
        saved_[1] = reinterpret_cast<void*>(pGetModuleBaseNameA);
        saved_[2] = reinterpret_cast<void*>(pQueryFullProcessImageNameA);
        saved_[3] = reinterpret_cast<void*>(pCreateToolhelp32Snapshot);
        saved_[4] = reinterpret_cast<void*>(pProcess32First);
        saved_[5] = reinterpret_cast<void*>(pProcess32Next);
        ASSERT_TRUE(psapi_.Load("psapi.dll"));
        BindPsapi(psapi_.Handle());
        dayList.clear();
    }
    void TearDown() override
    {
        for (HWND w : windows_)
            DestroyWindow(w);
        dayList.clear();
        pEnumProcessModules = reinterpret_cast<EnumProcessModulesFn>(saved_[0]);
        pGetModuleBaseNameA = reinterpret_cast<GetModuleBaseNameAFn>(saved_[1]);
        pQueryFullProcessImageNameA = reinterpret_cast<QueryFullProcessImageNameAFn>(saved_[2]);
        pCreateToolhelp32Snapshot = reinterpret_cast<CreateToolhelp32SnapshotFn>(saved_[3]);
        pProcess32First = reinterpret_cast<Process32FirstFn>(saved_[4]);
        pProcess32Next = reinterpret_cast<Process32NextFn>(saved_[5]);
    }

    HWND Keep(HWND w)
    {
        EXPECT_NE(w, nullptr);
        windows_.push_back(w);
        return w;
    }

    void Name(HWND w, bool hidden = false)
    {
        GetAppNameAndTitle(w, name_, title_, hidden);
    }

    MyLibrary psapi_;
    std::vector<HWND> windows_;
    void* saved_[6] = {};
    char name_[256] = {};
    char title_[256] = {};
};

} // namespace

TEST_F(Windows, VisibleTopLevelWindowNamesThisProgram)
{
    HWND top = Keep(TopLevel("Klr Test Window", true));
    Name(top);
    EXPECT_EQ(std::string(name_), OwnExeNameLower());
    EXPECT_STREQ(title_, "Klr Test Window");
    EXPECT_EQ(RootWindow(top), top);
}

TEST_F(Windows, ChildAndOwnedWindowsGiveNothingButTheirRootDoes)
{
    HWND top = Keep(TopLevel("Owner", true));
    HWND child = Keep(CreateWindowExA(0, "STATIC", "child", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, nullptr,
                                      GetModuleHandleA(nullptr), nullptr));
    HWND grandChild = Keep(CreateWindowExA(0, "STATIC", "inner", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, child, nullptr,
                                           GetModuleHandleA(nullptr), nullptr));
    HWND popup = Keep(TopLevel("Popup", true, top));
    for (HWND w : {child, grandChild, popup}) {
        Name(w);
        EXPECT_STREQ(name_, "");
        EXPECT_STREQ(title_, "");
        EXPECT_EQ(RootWindow(w), top);
    }
    Name(RootWindow(grandChild));
    EXPECT_EQ(std::string(name_), OwnExeNameLower());
    EXPECT_STREQ(title_, "Owner");
}

TEST_F(Windows, HiddenWindowCountsOnlyWhenAskedFor)
{
    HWND hidden = Keep(TopLevel("Hidden", false));
    Name(hidden);
    EXPECT_STREQ(name_, "");
    EXPECT_STREQ(title_, "");
    Name(hidden, true);
    EXPECT_EQ(std::string(name_), OwnExeNameLower());
    EXPECT_STREQ(title_, "Hidden");
}

TEST_F(Windows, FailedModuleListFallsBackToTheImagePath)
{
    HWND top = Keep(TopLevel("Fallback", true));
    pEnumProcessModules = FailingEnumModules;
    Name(top);
    EXPECT_EQ(std::string(name_), OwnExeNameLower());

    // Nothing bound at all: no name, so the window counts for nothing; never a call.
    pEnumProcessModules = nullptr;
    pGetModuleBaseNameA = nullptr;
    pQueryFullProcessImageNameA = nullptr;
    pCreateToolhelp32Snapshot = nullptr;
    pProcess32First = nullptr;
    pProcess32Next = nullptr;
    Name(top);
    EXPECT_STREQ(name_, "");
    EXPECT_STREQ(title_, "Fallback");
    EXPECT_EQ(AddAppWindow(top, 0), TRUE);
    EXPECT_TRUE(dayList.empty());
}

TEST_F(Windows, ToolhelpPathInCapitalsGivesTheSameLowerCaseKey)
{
    HWND top = Keep(TopLevel("Toolhelp", true));
    pEnumProcessModules = nullptr;
    pQueryFullProcessImageNameA = nullptr;
    pCreateToolhelp32Snapshot = FakeSnapshot;
    pProcess32First = FakeFirst;
    pProcess32Next = NoNext;
    Name(top);
    EXPECT_STREQ(name_, "notepad.exe");
    EXPECT_STREQ(title_, "Toolhelp");
}

TEST_F(Windows, LongTitlesAreCut)
{
    std::string title(300, 't');
    HWND top = Keep(TopLevel(title.c_str(), true));
    Name(top);
    EXPECT_EQ(std::string(title_), std::string(254, 't'));
}

TEST_F(Windows, AddAppWindowCountsWindowsPerApplication)
{
    HWND first = Keep(TopLevel("First", true));
    HWND second = Keep(TopLevel("Second", true));
    HWND untitled = Keep(TopLevel("", true));
    EXPECT_EQ(AddAppWindow(untitled, 0), TRUE);
    EXPECT_TRUE(dayList.empty());

    EXPECT_EQ(AddAppWindow(first, 0), TRUE);
    ASSERT_EQ(dayList.size(), 1u);
    EXPECT_EQ(dayList[0].Name(), OwnExeNameLower());
    EXPECT_EQ(dayList[0].WindowCount(), 1);
    EXPECT_EQ(dayList[0].State(), STATE_LOADED);

    dayList[0].SetState(STATE_ACTIVE);
    dayList[0].SetTimes(My_Time(0, 0, 9), My_Time(), My_Time(), My_Time());
    EXPECT_EQ(AddAppWindow(second, 0), TRUE);
    ASSERT_EQ(dayList.size(), 1u);
    EXPECT_EQ(dayList[0].WindowCount(), 2);
    EXPECT_EQ(dayList[0].State(), STATE_LOADED | STATE_ACTIVE);
    EXPECT_EQ(dayList[0].LoadedText(), "0:0:9");

    dayList.clear();
    EnumWindows(AddAppWindow, 0);
    int i = FindRecordIndex(dayList, OwnExeNameLower());
    ASSERT_NE(i, -1);
    EXPECT_EQ(dayList[static_cast<size_t>(i)].WindowCount(), 2);
}
