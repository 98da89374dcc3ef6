#include <gtest/gtest.h>

#include <random>

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
}

namespace {

// The records as the stream reader reads the file: name and four times each.
std::vector<std::string> StreamRecords(const std::string& path)
{
    std::vector<std::string> out;
    TextReader in(path);
    if (!in.IsOpen())
        return out;
    StatRecordFields f;
    do {
        if (ReadStatRecord(in, f, 10023, 254))
            out.push_back(f.name + "|" + T(f.loaded) + "|" + T(f.active) + "|" + T(f.mouse) + "|" + T(f.keyboard));
    } while (!in.AtEnd());
    return out;
}

std::vector<std::string> MemoryRecords(const std::string& path, bool timesOnly)
{
    std::vector<std::string> out;
    std::string bytes;
    if (!ReadWholeFile(path, bytes))
        return out;
    LogParser parser(bytes);
    do {
        if (timesOnly) {
            My_Time t[4];
            if (parser.ReadRecordTimes(t))
                out.push_back(T(t[0]) + "|" + T(t[1]) + "|" + T(t[2]) + "|" + T(t[3]));
        } else {
            Applic row("", "");
            if (parser.ReadUsageRecord(row))
                out.push_back(row.path + "|" + T(row.loaded) + "|" + T(row.active) + "|" + T(row.mouse) + "|" +
                              T(row.keyboard));
        }
    } while (!parser.AtEnd());
    return out;
}

std::vector<std::string> TimesOf(std::vector<std::string> records)
{
    for (std::string& r : records)
        r = r.substr(r.find('|') + 1);
    return records;
}

} // namespace

// The bytes in memory read record for record as the file read as a stream.
TEST(LogParser, BytesInMemoryReadAsTheFileStreamReads)
{
    TempDir dir;
    std::vector<std::string> inputs = {
        "",
        "\"a\"\t1:2:3\t4:5:6\t7:8:9\t10:11:12\n",
        "\"a\"\t1:2:3\t4:5:6\t7:8:9\t10:11:12\r\n\"b\"\t1:1:1\t1:1:1\t1:1:1\t1:1:1\r\r\n",
        "\"a\r\"\t1:2:3\r\t4:5:6\t7:8:9\t10:11:\r12\r",
        std::string("\"a\"\t1:2:3\t4:5:6\t7:8:9\t10:11:12\r\x1A\n\"b\"\t1:1:1\t1:1:1\t1:1:1\t1:1:1\n"),
        std::string("\"a\"\t1:2:3\t4\x1A:5:6\t7:8:9\t10:11:12\n"),
        std::string("\"n") + '\0' + "ul\"\t1:2:3\t0:0:0\t0:0:0\t0:0:1\n",
        "\"\"\t\t\t\t\n\"\t\"\n\"",
        "\"x\"\t " + std::string(10030, ' ') + "5:1:1\t0:0:0\t0:0:0\t0:0:0\n",
        "\"x\"\t" + std::string(10022, ' ') + "5:1:1\t0:0:0\t0:0:0\t0:0:0\n",
        "\"" + std::string(254, 'n') + "\"\t1:1:1\t1:1:1\t1:1:1\t1:1:1\n\"" + std::string(255, 'm') + "\"\t1:1:1\n",
        "\"" + std::string(20000, 'q') + "\t1:1:1\t1:1:1\t1:1:1\t1:1:1\n",
        "\"a\"\t-7:+8: 9\t2147483648:-2147483649:99999999999999\t1:2\n:3\t4:5:6",
    };
    // Random runs over the characters that matter to the record syntax.
    const char alphabet[] = "\"\t:\n\r\x1A 0123456789-+ab";
    std::mt19937 random(20240305);
    for (int i = 0; i < 300; ++i) {
        std::string text;
        size_t length = random() % 400;
        for (size_t k = 0; k < length; ++k)
            text += alphabet[random() % (sizeof(alphabet) - 1)];
        inputs.push_back(text);
    }
    for (size_t i = 0; i < inputs.size(); ++i) {
        std::string path = dir / std::to_string(i);
        WriteBytes(path, inputs[i]);
        std::vector<std::string> expected = StreamRecords(path);
        ASSERT_EQ(MemoryRecords(path, false), expected) << "input " << i;
        ASSERT_EQ(MemoryRecords(path, true), TimesOf(expected)) << "input " << i;
    }
}
