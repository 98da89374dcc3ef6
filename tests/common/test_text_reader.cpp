#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"
#include "text_reader.h"

namespace {

std::string ReadAll(const std::string& path)
{
    TextReader in(path);
    std::string out;
    for (int c; (c = in.Get()) >= 0;)
        out.push_back(static_cast<char>(c));
    return out;
}

} // namespace

TEST(TextReader, LineEndsReadAsInTextMode)
{
    TempDir dir;
    WriteBytes(dir / "f", "a\r\nb\rc\n\r\r\nd");
    EXPECT_EQ(ReadAll(dir / "f"), "a\nb\rc\n\r\nd");
}

TEST(TextReader, ControlZEndsTheFile)
{
    TempDir dir;
    WriteBytes(dir / "f", std::string("ab\x1A" "cd", 5));
    EXPECT_EQ(ReadAll(dir / "f"), "ab");
}

TEST(TextReader, MissingFileIsClosedAndAtEnd)
{
    TempDir dir;
    TextReader in(dir / "none");
    EXPECT_FALSE(in.IsOpen());
    EXPECT_TRUE(in.AtEnd());
    std::string s;
    EXPECT_FALSE(in.ReadUntil('\n', s, 10));
}

TEST(TextReader, ReadUntilConsumesDelimiterAndCutsLongFields)
{
    TempDir dir;
    WriteBytes(dir / "f", "abcdefgh\tij\tlast");
    TextReader in(dir / "f");
    std::string s;
    EXPECT_TRUE(in.ReadUntil('\t', s, 3));
    EXPECT_EQ(s, "abc");
    EXPECT_TRUE(in.ReadUntil('\t', s, 3));
    EXPECT_EQ(s, "ij");
    EXPECT_FALSE(in.AtEnd());
    EXPECT_FALSE(in.ReadUntil('\t', s, 100));  // end before the delimiter
    EXPECT_EQ(s, "last");
    EXPECT_TRUE(in.AtEnd());
}

TEST(TextReader, BinaryJunkEnds)
{
    TempDir dir;
    std::string junk;
    for (int i = 0; i < 100000; ++i)
        junk.push_back(static_cast<char>((i * 7919) & 0xFF));
    junk.erase(std::remove(junk.begin(), junk.end(), '\x1A'), junk.end());
    WriteBytes(dir / "f", junk);
    TextReader in(dir / "f");
    std::string s;
    int reads = 0;
    while (!in.AtEnd()) {
        in.ReadUntil('"', s, 16);
        EXPECT_LE(s.size(), 16u);
        ++reads;
    }
    EXPECT_GT(reads, 0);
}
