#include <gtest/gtest.h>

#include <algorithm>

#include "settings_syntax.h"
#include "test_support.h"

namespace {

std::string L(std::string s)
{
    TrimLeft(s);
    return s;
}

std::string R(std::string s)
{
    TrimRight(s);
    return s;
}

std::string Both(std::string s)
{
    TrimLeft(s);
    TrimRight(s);
    return s;
}

std::vector<std::pair<std::string, std::string>> Pairs(const std::string& bytes)
{
    TempDir dir;
    WriteBytes(dir / "s.ini", bytes);
    TextReader in(dir / "s.ini");
    std::vector<std::pair<std::string, std::string>> pairs;
    while (!in.AtEnd()) {
        std::string key = ReadSettingsKey(in);
        std::string value = ReadSettingsValue(in);
        pairs.emplace_back(key, value);
    }
    return pairs;
}

} // namespace

TEST(Trim, LeftDropsUntilLetterDigitBackslashOrColon)
{
    EXPECT_EQ(L("  -1"), "1");
    EXPECT_EQ(L("\"D:\\My Logs\""), "D:\\My Logs\"");
    EXPECT_EQ(L("\\\\server\\logs\\"), "\\\\server\\logs\\");
    EXPECT_EQ(L(":x"), ":x");
    EXPECT_EQ(L("  \t._-"), "");
    EXPECT_EQ(L(""), "");
}

TEST(Trim, RightNeverDropsTheFirstCharacter)
{
    EXPECT_EQ(R("200; "), "200");
    EXPECT_EQ(R("C:\\Logs\\  "), "C:\\Logs\\");
    EXPECT_EQ(R("..."), ".");
    EXPECT_EQ(R(""), "");
    EXPECT_EQ(R("a"), "a");
}

TEST(Trim, AValueEndKeepsWhatANameMayEndWith)
{
    auto V = [](std::string s) {
        TrimValueRight(s);
        return s;
    };
    EXPECT_EQ(V("D:\\Logs (old)"), "D:\\Logs (old)");
    EXPECT_EQ(V("D:\\Logs_ \t"), "D:\\Logs_");
    EXPECT_EQ(V("D:\\My Logs\""), "D:\\My Logs");
    EXPECT_EQ(V("D:\\My Logs'"), "D:\\My Logs");
    EXPECT_EQ(V("200; "), "200");
    EXPECT_EQ(V("C:\\Logs\\.. "), "C:\\Logs\\");
    EXPECT_EQ(V("a<>|?*/"), "a");
    EXPECT_EQ(V("x-]"), "x-]");
    EXPECT_EQ(V("..."), ".");
    EXPECT_EQ(V(""), "");
}

TEST(Trim, TogetherKeepTheInnerStretch)
{
    EXPECT_EQ(Both("  log_path "), "log_path");
    EXPECT_EQ(Both("\"D:\\My Logs\""), "D:\\My Logs");
    EXPECT_EQ(Both(" \t \" \" "), "");
    EXPECT_EQ(Both(" a b.c-d "), "a b.c-d");
}

TEST(SettingsLines, KeysAndValuesAsWritten)
{
    auto p = Pairs("log_path = C:\\Logs\r\nstartup = 1\r\nnew_day = 0");
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0], std::make_pair(std::string("log_path"), std::string("C:\\Logs")));
    EXPECT_EQ(p[1], std::make_pair(std::string("startup"), std::string("1")));
    EXPECT_EQ(p[2], std::make_pair(std::string("new_day"), std::string("0")));
}

TEST(SettingsLines, FinalLineEndReadsOneEmptyPairMore)
{
    auto p = Pairs("startup = 1\r\n");
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[1], std::make_pair(std::string(), std::string()));
}

TEST(SettingsLines, LineWithoutEqualsJoinsTheNextKey)
{
    auto p = Pairs("stray\r\nstartup = 0\r\n");
    ASSERT_GE(p.size(), 1u);
    EXPECT_EQ(p[0].first, "stray\nstartup");
    EXPECT_EQ(p[0].second, "0");
}

TEST(SettingsLines, OverlongKeyAndValueAreCutAndReadingGoesOn)
{
    std::string longKey(80, 'k');
    std::string longValue(400, 'v');
    auto p = Pairs(longKey + " = " + longValue + "\r\nstartup = 0\r\n");
    ASSERT_GE(p.size(), 2u);
    EXPECT_EQ(p[0].first, std::string(49, 'k'));
    EXPECT_EQ(p[0].second, std::string(255, 'v'));  // the blanks after "=" do not count
    EXPECT_EQ(p[1], std::make_pair(std::string("startup"), std::string("0")));
}

TEST(SettingsLines, JunkIsReadToItsEndWithinBounds)
{
    // Every byte value but the end-of-file mark, and a value far too long.
    std::string junk;
    for (int i = 0; i < 50000; ++i) {
        char c = static_cast<char>((i * 31 + 7) & 0xFF);
        junk.push_back(c == 0x1A ? '\0' : c);
    }
    junk.insert(20000, "\n=" + std::string(3000, 'v'));
    // "=" and a line feed end whatever field the junk stopped in.
    auto p = Pairs(junk + "=\nstartup = 0\r\n");
    ASSERT_GE(p.size(), 2u);
    size_t longest = 0;
    for (auto& kv : p) {
        EXPECT_LE(kv.first.size(), kSettingsKeyChars);
        EXPECT_LE(kv.second.size(), kSettingsValueChars);
        longest = std::max(longest, kv.second.size());
    }
    EXPECT_EQ(longest, kSettingsValueChars);
    EXPECT_EQ(p[p.size() - 2], std::make_pair(std::string("startup"), std::string("0")));
}

TEST(SettingsLines, ValuesAsTheProgramsWriteThemReadBackWhole)
{
    const std::string values[] = {
        "D:\\Logs (old)", "D:\\Logs_", "\\\\server\\logs-", "C:\\a b\\[x]~!#$%&+,=@^`{}",
        "C:\\" + std::string(252, 'p'),  // 255 characters
        "C:\\Logs\\",
    };
    for (const std::string& value : values) {
        SCOPED_TRACE(value);
        auto p = Pairs(SettingsLine("log_path", value));
        ASSERT_GE(p.size(), 1u);
        EXPECT_EQ(p[0].second, value);
    }
}

TEST(SettingsLines, AMinusRightBeforeTheValueIsReported)
{
    struct Case {
        const char* bytes;
        const char* value;
        bool minus;
    };
    const Case cases[] = {
        {"left = -40\r\n", "40", true},   {"left = 40\r\n", "40", false},
        {"left=-7", "7", true},             {"left = \"-40\"\r\n", "40", true},
        {"left = - 40\r\n", "40", false}, {"left = -\r\n", "", false},
        {"left = -x-\r\n", "x-", true},    {"left = --3;\r\n", "3", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        TempDir dir;
        WriteBytes(dir / "s.ini", c.bytes);
        TextReader in(dir / "s.ini");
        EXPECT_EQ(ReadSettingsKey(in), "left");
        bool minus = !c.minus;
        EXPECT_EQ(ReadSettingsValue(in, &minus), c.value);
        EXPECT_EQ(minus, c.minus);
    }
}

TEST(DecimalToInt, ReadsLikeAtoi)
{
    EXPECT_EQ(DecimalToInt("200"), 200);
    EXPECT_EQ(DecimalToInt("  -40x"), -40);
    EXPECT_EQ(DecimalToInt("+7"), 7);
    EXPECT_EQ(DecimalToInt("abc"), 0);
    EXPECT_EQ(DecimalToInt(""), 0);
    EXPECT_EQ(DecimalToInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(DecimalToInt("-99999999999999999999"), -2147483647 - 1);
}

TEST(SettingsLines, WrittenWithSpacedEqualsAndCrLf)
{
    EXPECT_EQ(SettingsLine("top", "-40"), "top = -40\r\n");
    EXPECT_EQ(SettingsLine("new_day", "1", false), "new_day = 1");
    EXPECT_EQ(SettingsLine("Proj_path", ""), "Proj_path = \r\n");
}
