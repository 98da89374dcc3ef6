#include <gtest/gtest.h>

#include "file_read.h"
#include "log_parser.h"
#include "viewer_fakes.h"

namespace {

ApplicList ReadAll(const std::string& path)
{
    ApplicList rows;
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return rows;
    LogParser parser(bytes);
    Applic row("", "");
    do {
        if (parser.ReadUsageRecord(row))
            rows.push_back(row);
    } while (!parser.AtEnd());
    return rows;
}

std::string T(My_Time t)
{
    return TimeToText(t);
}

// Reads of 1000 bytes: the second one fails, or meets an early end.
int readCalls = 0;
BOOL WINAPI FailsSecondRead(HANDLE f, LPVOID d, DWORD, LPDWORD got, LPOVERLAPPED o)
{
    return ++readCalls == 1 ? ReadFile(f, d, 1000, got, o) : FALSE;
}
BOOL WINAPI EndsEarly(HANDLE f, LPVOID d, DWORD, LPDWORD got, LPOVERLAPPED o)
{
    return ++readCalls == 1 ? ReadFile(f, d, 1000, got, o) : (*got = 0, TRUE);
}

} // namespace

TEST(LogParser, ReadsEveryRecordInFileOrderAndKeepsRepeatedNames)
{
    TempDir dir;
    WriteBytes(dir / "f",
               "\"notepad.exe\"\t1:5:7\t0:30:0\t0:2:10\t0:0:0\n"
               "\"calc.exe\"\t0:0:1\t0:0:2\t0:0:3\t0:0:4\n"
               "\"notepad.exe\"\t0:0:0\t0:0:0\t0:0:0\t0:0:5\n");
    ApplicList rows = ReadAll(dir / "f");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].path, "notepad.exe");
    EXPECT_EQ(rows[0].name, "");
    EXPECT_EQ(T(rows[0].loaded) + " " + T(rows[0].active) + " " + T(rows[0].mouse) + " " + T(rows[0].keyboard),
              "1:5:7 0:30:0 0:2:10 0:0:0");
    EXPECT_EQ(rows[1].path, "calc.exe");
    EXPECT_EQ(T(rows[1].keyboard), "0:0:4");
    EXPECT_EQ(rows[2].path, "notepad.exe");
    EXPECT_EQ(T(rows[2].keyboard), "0:0:5");
}

TEST(LogParser, LineEndsJunkAndTheEndByte)
{
    TempDir dir;
    // CR LF, blank lines and stray text before a quote, no final line end.
    WriteBytes(dir / "a", "\r\n\r\njunk \"a.exe\"\t1:2:3\t0:0:0\t0:0:0\t0:0:9\r\n\n\"b.exe\"\t0:0:1\t0:0:1\t0:0:1\t0:0:1");
    ApplicList rows = ReadAll(dir / "a");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].path, "a.exe");
    EXPECT_EQ(T(rows[0].keyboard), "0:0:9");
    EXPECT_EQ(rows[1].path, "b.exe");
    EXPECT_EQ(T(rows[1].keyboard), "0:0:1");

    WriteBytes(dir / "b", std::string("\"a.exe\"\t0:0:1\t0:0:1\t0:0:1\t0:0:1\n\x1A\"b.exe\"\t0:0:1\t0:0:1\t0:0:1\t0:0:1\n"));
    EXPECT_EQ(ReadAll(dir / "b").size(), 1u);

    WriteBytes(dir / "empty", "");
    EXPECT_TRUE(ReadAll(dir / "empty").empty());
    EXPECT_TRUE(ReadAll(dir / "missing").empty());
}

TEST(LogParser, NumbersReadAsAtolDoesWithoutCarry)
{
    TempDir dir;
    WriteBytes(dir / "f", "\"x\"\t 70:-5:abc\t1x:2y:3z\t::\t99999999999:0:0\n");
    ApplicList rows = ReadAll(dir / "f");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].loaded.hours, 70);
    EXPECT_EQ(rows[0].loaded.minutes, -5);
    EXPECT_EQ(rows[0].loaded.seconds, 0);
    EXPECT_EQ(T(rows[0].active), "1:2:3");
    EXPECT_EQ(T(rows[0].mouse), "0:0:0");
    EXPECT_EQ(rows[0].keyboard.hours, 2147483647);
}

TEST(LogParser, ARecordCutByTheEndStillCounts)
{
    TempDir dir;
    WriteBytes(dir / "f", "\"x.exe\"\t1:2:3\t0:0");
    ApplicList rows = ReadAll(dir / "f");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].path, "x.exe");
    EXPECT_EQ(T(rows[0].loaded), "1:2:3");
    EXPECT_EQ(T(rows[0].keyboard), "0:0:0");
    // A lone quote at the end: a record with an empty name.
    WriteBytes(dir / "g", "\"");
    rows = ReadAll(dir / "g");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].path, "");
}

TEST(LogParser, OverlongNamesAndFieldsAreCutAndReadingGoesOn)
{
    TempDir dir;
    std::string longName(300, 'n');
    std::string longField(20000, '7');
    WriteBytes(dir / "f", "\"" + longName + "\"\t" + longField + ":1:2\t0:0:0\t0:0:0\t0:0:0\n" +
                              "\"next.exe\"\t0:0:1\t0:0:1\t0:0:1\t0:0:1\n" + std::string(50000, '\x01'));
    ApplicList rows = ReadAll(dir / "f");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].path, std::string(254, 'n'));
    EXPECT_EQ(rows[0].loaded.hours, 2147483647);   // a cut run of digits still clamps
    EXPECT_EQ(rows[0].loaded.minutes, 1);
    EXPECT_EQ(rows[1].path, "next.exe");

    WriteBytes(dir / "g", std::string(100000, '"'));
    EXPECT_GT(ReadAll(dir / "g").size(), 0u);   // comes to an end
}

TEST(LogParser, ReadWholeFileTakesEveryByteOrNothing)
{
    TempDir dir;
    std::string big;
    for (int i = 0; big.size() < 3 * 1024 * 1024; ++i)
        big += std::to_string(i) + (i % 7 ? '\t' : '\n') + std::string(1, static_cast<char>(i & 0xFF));
    WriteBytes(dir / "big", big);
    std::string bytes = "old";
    ASSERT_TRUE(ReadWholeFile(dir / "big", bytes));
    EXPECT_EQ(bytes.size(), big.size());
    EXPECT_TRUE(bytes == big);

    WriteBytes(dir / "empty", "");
    ASSERT_TRUE(ReadWholeFile(dir / "empty", bytes));
    EXPECT_TRUE(bytes.empty());

    bytes = "old";
    EXPECT_FALSE(ReadWholeFile(dir / "missing", bytes));
    EXPECT_TRUE(bytes.empty());
    MakeFolders(dir / "folder");
    EXPECT_FALSE(ReadWholeFile(dir / "folder", bytes));

    // A read that fails part way, or ends before the file's size: nothing.
    for (FileReadFn cut : {FailsSecondRead, EndsEarly}) {
        readCalls = 0;
        bytes = "old";
        WholeFileReadFile = cut;
        EXPECT_FALSE(ReadWholeFile(dir / "big", bytes));
        WholeFileReadFile = ReadFile;
        EXPECT_TRUE(bytes.empty());
        EXPECT_EQ(readCalls, 2);
    }
}
