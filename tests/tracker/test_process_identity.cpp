#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "process_identity.h"

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string OwnExeName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string p = path;
    return p.substr(p.find_last_of('\\') + 1);
}

// Keeps the bound entries of the process as they were before the test.
class Entries : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_[0] = reinterpret_cast<void*>(pEnumProcessModules);
        saved_[1] = reinterpret_cast<void*>(pGetModuleBaseNameA);
        saved_[2] = reinterpret_cast<void*>(pQueryFullProcessImageNameA);
        saved_[3] = reinterpret_cast<void*>(pCreateToolhelp32Snapshot);
        saved_[4] = reinterpret_cast<void*>(pProcess32First);
        saved_[5] = reinterpret_cast<void*>(pProcess32Next);
        saved_[6] = reinterpret_cast<void*>(pSetLayeredWindowAttributes);
    }
    void TearDown() override
    {
        pEnumProcessModules = reinterpret_cast<EnumProcessModulesFn>(saved_[0]);
        pGetModuleBaseNameA = reinterpret_cast<GetModuleBaseNameAFn>(saved_[1]);
        pQueryFullProcessImageNameA = reinterpret_cast<QueryFullProcessImageNameAFn>(saved_[2]);
        pCreateToolhelp32Snapshot = reinterpret_cast<CreateToolhelp32SnapshotFn>(saved_[3]);
        pProcess32First = reinterpret_cast<Process32FirstFn>(saved_[4]);
        pProcess32Next = reinterpret_cast<Process32NextFn>(saved_[5]);
        pSetLayeredWindowAttributes = reinterpret_cast<SetLayeredWindowAttributesFn>(saved_[6]);
    }

    void* saved_[7] = {};
};

// A snapshot that lists this process under a path in capital letters.
HANDLE WINAPI FakeSnapshot(DWORD, DWORD)
{
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

BOOL WINAPI FakeFirst(HANDLE, PROCESSENTRY32* entry)
{
    if (entry->dwSize != sizeof(PROCESSENTRY32))
        return FALSE;
    entry->th32ProcessID = 4;
    lstrcpyA(entry->szExeFile, "System");
    return TRUE;
}

BOOL WINAPI FakeNext(HANDLE, PROCESSENTRY32* entry)
{
    if (entry->th32ProcessID != 4)
        return FALSE;
    entry->th32ProcessID = GetCurrentProcessId();
    lstrcpyA(entry->szExeFile, "C:\\PROGRAM FILES\\TEST APP\\NOTEPAD.EXE");
    return TRUE;
}

} // namespace

TEST(MyLibrary, LoadKeepsTheHandleOrNone)
{
    MyLibrary kernel;
    EXPECT_EQ(kernel.Handle(), nullptr);
    EXPECT_TRUE(kernel.Load("kernel32.dll"));
    EXPECT_EQ(kernel.Handle(), GetModuleHandleA("kernel32.dll"));

    MyLibrary missing;
    EXPECT_FALSE(missing.Load("no_such_library_at_all.dll"));
    EXPECT_EQ(missing.Handle(), nullptr);
}

TEST_F(Entries, BindingWithoutALibraryLeavesEntriesEmpty)
{
    BindPsapi(nullptr);
    EXPECT_EQ(pEnumProcessModules, nullptr);
    EXPECT_EQ(pGetModuleBaseNameA, nullptr);
    BindToolhelp(nullptr);
    EXPECT_EQ(pCreateToolhelp32Snapshot, nullptr);
    EXPECT_EQ(pProcess32First, nullptr);
    EXPECT_EQ(pProcess32Next, nullptr);
    BindLayered(nullptr);
    EXPECT_EQ(pSetLayeredWindowAttributes, nullptr);

    char name[256] = "unchanged";
    EXPECT_FALSE(ToolhelpExeName(GetCurrentProcessId(), name));
}

TEST_F(Entries, BindingFromTheLibrariesFindsEveryEntry)
{
    MyLibrary psapi, kernel, user;
    ASSERT_TRUE(psapi.Load("psapi.dll"));
    ASSERT_TRUE(kernel.Load("kernel32.dll"));
    ASSERT_TRUE(user.Load("user32.dll"));
    BindPsapi(psapi.Handle());
    BindToolhelp(kernel.Handle());
    BindLayered(user.Handle());
    EXPECT_NE(pEnumProcessModules, nullptr);
    EXPECT_NE(pGetModuleBaseNameA, nullptr);
    EXPECT_NE(pQueryFullProcessImageNameA, nullptr);
    EXPECT_NE(pCreateToolhelp32Snapshot, nullptr);
    EXPECT_NE(pProcess32First, nullptr);
    EXPECT_NE(pProcess32Next, nullptr);
    EXPECT_NE(pSetLayeredWindowAttributes, nullptr);
}

TEST_F(Entries, ToolhelpNamesAProcessByItsFileName)
{
    MyLibrary kernel;
    ASSERT_TRUE(kernel.Load("kernel32.dll"));
    BindToolhelp(kernel.Handle());
    char name[256] = {};
    ASSERT_TRUE(ToolhelpExeName(GetCurrentProcessId(), name));
    EXPECT_EQ(Lower(name), Lower(OwnExeName()));
    EXPECT_FALSE(ToolhelpExeName(0xFFFFFFF0u, name));

    pCreateToolhelp32Snapshot = FakeSnapshot;
    pProcess32First = FakeFirst;
    pProcess32Next = FakeNext;
    ASSERT_TRUE(ToolhelpExeName(GetCurrentProcessId(), name));
    EXPECT_STREQ(name, "NOTEPAD.EXE");
}

template <typename Hook>
class Peek : public Hook {
public:
    using Hook::Hook;
    HHOOK Installed() const { return this->hook_; }
};

TEST_F(Entries, HooksOfALibraryWithoutTheEntriesDoNothing)
{
    MyLibrary kernel;
    ASSERT_TRUE(kernel.Load("kernel32.dll"));
    Peek<MyShellHook> shell(nullptr, nullptr, 0);
    Peek<MyMouseHook> mouse(kernel.Handle(), nullptr, 0);
    Peek<MyKeyboardHook> keyboard(kernel.Handle(), nullptr, 0);
    EXPECT_EQ(shell.Installed(), nullptr);
    EXPECT_EQ(mouse.Installed(), nullptr);
    EXPECT_EQ(keyboard.Installed(), nullptr);
}
