#include <gtest/gtest.h>

#include <cstring>

#include "process_entries.h"

namespace {

HANDLE WINAPI FakeSnapshot(DWORD, DWORD)
{
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

HANDLE WINAPI FailingSnapshot(DWORD, DWORD)
{
    return INVALID_HANDLE_VALUE;
}

// Lists one other process, then this one with a text that fills its whole field.
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
    std::memset(entry->szExeFile, 'x', sizeof(entry->szExeFile));
    return TRUE;
}

std::string OwnExeName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string p = path;
    return p.substr(p.find_last_of('\\') + 1);
}

} // namespace

TEST(ProcessEntries, BindFindsAnEntryOnlyInALibraryThatHasIt)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(Bind<CreateToolhelp32SnapshotFn>(nullptr, "CreateToolhelp32Snapshot"), nullptr);
    EXPECT_EQ(Bind<CreateToolhelp32SnapshotFn>(kernel, "NoSuchEntryAnywhere"), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(Bind<CreateToolhelp32SnapshotFn>(kernel, "CreateToolhelp32Snapshot")),
              reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
}

TEST(ProcessEntries, ToolhelpListsThisProcessAndNeverCallsAnUnboundEntry)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto snapshot = Bind<CreateToolhelp32SnapshotFn>(kernel, "CreateToolhelp32Snapshot");
    auto first = Bind<Process32FirstFn>(kernel, "Process32First");
    auto next = Bind<Process32NextFn>(kernel, "Process32Next");
    std::string exeFile = "unchanged";
    EXPECT_FALSE(ToolhelpExeFile(nullptr, first, next, GetCurrentProcessId(), exeFile));
    EXPECT_FALSE(ToolhelpExeFile(snapshot, first, nullptr, GetCurrentProcessId(), exeFile));
    EXPECT_FALSE(ToolhelpExeFile(FailingSnapshot, first, next, GetCurrentProcessId(), exeFile));
    EXPECT_FALSE(ToolhelpExeFile(snapshot, first, next, 0xFFFFFFF0u, exeFile));
    EXPECT_EQ(exeFile, "unchanged");

    ASSERT_TRUE(ToolhelpExeFile(snapshot, first, next, GetCurrentProcessId(), exeFile));
    std::string leaf = exeFile.substr(exeFile.find_last_of('\\') + 1);
    EXPECT_EQ(lstrcmpiA(leaf.c_str(), OwnExeName().c_str()), 0) << exeFile;
}

TEST(ProcessEntries, AnExeFileFillingItsFieldIsCutToTheField)
{
    std::string exeFile;
    ASSERT_TRUE(ToolhelpExeFile(FakeSnapshot, FakeFirst, FakeNext, GetCurrentProcessId(), exeFile));
    EXPECT_EQ(exeFile, std::string(MAX_PATH - 1, 'x'));
    ASSERT_TRUE(ToolhelpExeFile(FakeSnapshot, FakeFirst, FakeNext, 4, exeFile));
    EXPECT_EQ(exeFile, "System");
}
