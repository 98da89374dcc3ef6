#include <gtest/gtest.h>

#include <windows.h>

#include "file_write.h"
#include "test_support.h"

TEST(WriteWholeFile, ReplacesTheContentAndLeavesNoTemporaryFile)
{
    TempDir dir;
    WriteBytes(dir / "a.ini", "old content that is longer\r\n");
    ASSERT_TRUE(WriteWholeFile(dir / "a.ini", "top = 1\r\n"));
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "top = 1\r\n");
    EXPECT_FALSE(FileExists(dir / "a.ini.new"));
    ASSERT_TRUE(WriteWholeFile(dir / "b.ini", ""));
    EXPECT_EQ(ReadBytes(dir / "b.ini"), "");
}

TEST(WriteWholeFile, TargetHeldOpenByAnotherReaderStillGetsTheBytes)
{
    TempDir dir;
    WriteBytes(dir / "a.ini", "old");
    // A reader that allows writing but not deleting blocks the rename.
    HANDLE held = CreateFileA((dir / "a.ini").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(WriteWholeFile(dir / "a.ini", "new"));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(dir / "a.ini"), "new");
    EXPECT_FALSE(FileExists(dir / "a.ini.new"));
}

TEST(WriteWholeFile, MissingFolderWritesNothing)
{
    TempDir dir;
    EXPECT_FALSE(WriteWholeFile(dir / "no\\such\\a.ini", "x"));
}
