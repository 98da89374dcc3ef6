#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "file_write.h"
#include "test_support.h"

namespace {

// A full disk: half of the bytes go in, and the call reports what it wrote.
BOOL WINAPI HalfWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    return WriteFile(file, data, size / 2, written, nullptr);
}

} // namespace

TEST(WriteWholeFile, ReplacesTheContentAndLeavesNoTemporaryFile)
{
    TempDir dir;
    WriteBytes(dir / "a.ini", "old content that is longer\r\n");
    ASSERT_TRUE(WriteWholeFile(dir / "a.ini", "top = 1\r\n"));
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "top = 1\r\n");
    ASSERT_TRUE(WriteWholeFile(dir / "b.ini", ""));
    EXPECT_EQ(ReadBytes(dir / "b.ini"), "");
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"a.ini", "b.ini"}));
}

// A reader that allows writing but not deleting blocks the move: the file is
// not rewritten in place, where a kill would leave it cut.
TEST(WriteWholeFile, TargetHeldOpenByAnotherReaderKeepsItsWholeContent)
{
    TempDir dir;
    WriteBytes(dir / "a.ini", "old");
    HANDLE held = CreateFileA((dir / "a.ini").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteWholeFile(dir / "a.ini", "new"));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "old");
    EXPECT_EQ(NamesIn(dir.Path()), std::vector<std::string>{"a.ini"});
}

TEST(WriteWholeFile, AFailedTemporaryLeavesTheTargetAsItWas)
{
    TempDir dir;
    WriteBytes(dir / "a.ini", "old");
    // A file of the user's that an earlier version took for its temporary.
    WriteBytes(dir / "a.ini.new", "the user's");
    EXPECT_FALSE(ReplaceWholeFile(dir / "a.ini", "new and longer", HalfWrite));
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "old");
    EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"a.ini", "a.ini.new"}));
    EXPECT_TRUE(WriteWholeFile(dir / "a.ini", "new"));
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "new");
    EXPECT_EQ(ReadBytes(dir / "a.ini.new"), "the user's");
}

TEST(WriteWholeFile, MissingFolderWritesNothing)
{
    TempDir dir;
    EXPECT_FALSE(WriteWholeFile(dir / "no\\such\\a.ini", "x"));
}

// A temporary of an ended process goes; one of a running process may be in the
// middle of its save, and a name WriteWholeFile does not make is not ours.
TEST(WriteWholeFile, StaleTemporariesOfEndedProcessesGoAndNothingElse)
{
    TempDir dir;
    DWORD running = 0;
    GetWindowThreadProcessId(GetDesktopWindow(), &running);
    const std::string ended = "2147483644";  // no process has this id
    std::vector<std::string> kept = {"a.ini", "a.ini.~klr0" + ended + ".tmp", "a.ini.~klrx.tmp",
                                     "a.ini.~klr" + std::to_string(running) + ".tmp", "b.ini.~klr" + ended + ".tmp"};
    for (const std::string& name : kept)
        WriteBytes(dir / name, "x");
    WriteBytes(dir / ("a.ini.~klr" + ended + ".tmp"), "x");
    WriteBytes(dir / ("A.INI.~klr" + std::to_string(GetCurrentProcessId()) + ".tmp"), "x");  // an earlier holder of our id
    RemoveStaleTemporaries(dir / "a.ini");
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(NamesIn(dir.Path()), kept);
}
