#include <gtest/gtest.h>

#include "stat_record.h"

namespace {

struct Fields {
    std::string name;
    My_Time loaded, active, mouse, keyboard;
};

std::vector<Fields> ReadAllRecords(const std::string& bytes, size_t field = 1023, size_t name = 254)
{
    StatRecordParser parser(bytes, field, name);
    std::vector<Fields> out;
    while (!parser.AtEnd()) {
        const char* begin;
        size_t length;
        My_Time t[4];
        if (parser.ReadRecord(begin, length, t))
            out.push_back({std::string(begin, length), t[0], t[1], t[2], t[3]});
    }
    return out;
}

std::string T(My_Time t)
{
    return t.TimeToText();
}

} // namespace

TEST(StatRecord, LineIsExactBytes)
{
    std::string out;
    AppendStatRecord(out, "notepad.exe", "1:5:7", "0:30:0", "0:2:10", "0:0:0");
    EXPECT_EQ(out, "\"notepad.exe\"\t1:5:7\t0:30:0\t0:2:10\t0:0:0\n");
    EXPECT_EQ(out.size(), 40u);
}

TEST(StatRecord, ReadsRecordsWithEitherLineEnd)
{
    auto r = ReadAllRecords("\"a.exe\"\t1:2:3\t4:5:6\t7:8:9\t10:11:12\r\n\"b.exe\"\t0:0:1\t0:0:0\t0:0:0\t0:0:0\n");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].name, "a.exe");
    EXPECT_EQ(T(r[0].loaded), "1:2:3");
    EXPECT_EQ(T(r[0].active), "4:5:6");
    EXPECT_EQ(T(r[0].mouse), "7:8:9");
    EXPECT_EQ(T(r[0].keyboard), "10:11:12");
    EXPECT_EQ(r[1].name, "b.exe");
    EXPECT_EQ(T(r[1].loaded), "0:0:1");
}

TEST(StatRecord, LastRecordWithoutLineEnd)
{
    auto r = ReadAllRecords("\"a.exe\"\t1:0:0\t0:0:0\t0:0:0\t0:0:9");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(T(r[0].keyboard), "0:0:9");
}

TEST(StatRecord, StrayTextBeforeQuoteIsSkipped)
{
    auto r = ReadAllRecords("\n\njunk here \"a.exe\"\t0:0:1\t0:0:2\t0:0:3\t0:0:4\n\n");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].name, "a.exe");
}

TEST(StatRecord, FieldsKeepOutOfRangeValuesAndNonNumbersReadZero)
{
    auto r = ReadAllRecords("\"a\"\t0:70:99\tx:y:z\t-1:2:3\t 5: 6: 7\n");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].loaded.minutes, 70);
    EXPECT_EQ(r[0].loaded.seconds, 99);
    EXPECT_EQ(T(r[0].active), "0:0:0");
    EXPECT_EQ(r[0].mouse.hours, -1);
    EXPECT_EQ(T(r[0].keyboard), "5:6:7");
}

TEST(StatRecord, EmptyFileAndQuotelessFileGiveNoRecord)
{
    EXPECT_TRUE(ReadAllRecords("").empty());
    EXPECT_TRUE(ReadAllRecords("no quotes at all\n").empty());
}

TEST(StatRecord, OverlongNameAndFieldsAreCut)
{
    std::string longName(300, 'n');
    std::string longHours(2000, '1');
    auto r = ReadAllRecords("\"" + longName + "\"\t" + longHours + ":0:0\t0:0:1\t0:0:2\t0:0:3\n\"b\"\t0:0:1\t0:0:0\t0:0:0\t0:0:0\n");
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].name, std::string(254, 'n'));
    EXPECT_EQ(T(r[0].active), "0:0:1");
    EXPECT_EQ(r[1].name, "b");
}

TEST(StatRecord, RecordCutOffAfterQuoteStillCounts)
{
    auto r = ReadAllRecords("\"a.exe\"\t1:2");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].name, "a.exe");
    EXPECT_EQ(r[0].loaded.hours, 1);
    EXPECT_EQ(r[0].loaded.minutes, 2);
    EXPECT_EQ(T(r[0].keyboard), "0:0:0");
}

TEST(StatRecord, NameWithoutClosingQuoteLosesItsLastCharacter)
{
    auto r = ReadAllRecords("\"abc\t0:0:1\t0:0:0\t0:0:0\t0:0:0\n");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].name, "ab");
}
