#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "log_paths.h"
#include "stat_file.h"
#include "test_support.h"
#include "tracker_test_support.h"

namespace {

class StatFiles : public ::testing::Test {
protected:
    StatFiles() : clock_(2026, 5, 10) {}
    void SetUp() override { statisticsMutex = nullptr; }
    void TearDown() override
    {
        StatFileWriteFile = WriteFile;
        statisticsMutex = nullptr;
    }

    std::string DayPath(const std::string& base, int day = 10) const
    {
        return LogDayFile(base, WindowsUserName(), 2026, 5, day);
    }

    static ProcRecord Record(const std::string& name, My_Time loaded, My_Time active = My_Time(),
                             My_Time mouse = My_Time(), My_Time keyboard = My_Time())
    {
        ProcRecord r(name);
        r.SetTimes(loaded, active, mouse, keyboard);
        return r;
    }

    static RecordList LoadFile(const std::string& bytes)
    {
        TempDir dir;
        WriteBytes(dir / "f", bytes);
        RecordList list;
        StatFileDay file(&list);
        file.Load(dir / "f");
        return list;
    }

    static std::string Times(ProcRecord r)
    {
        return r.LoadedText() + " " + r.ActiveText() + " " + r.MouseText() + " " + r.KeyboardText();
    }

    TestClock clock_;
    BoxRecorder boxes_;
    TempDir dir_;
};

// Writes only half of what it is given, as a full disk or a crash would leave it.
std::string seenDuringWrite;
std::string watchedPath;
BOOL WINAPI HalfWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    seenDuringWrite = ReadBytes(watchedPath);
    DWORD half = size / 2;
    WriteFile(file, data, half, written, nullptr);
    return TRUE;
}

std::atomic<DWORD> otherWait;
BOOL WINAPI ProbingWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    std::thread probe([] { otherWait = WaitForSingleObject(statisticsMutex, 0); });
    probe.join();
    return WriteFile(file, data, size, written, nullptr);
}

BOOL WINAPI FailedWrite(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    *written = 0;
    return FALSE;
}

} // namespace

TEST_F(StatFiles, OneRecordIsFortyBytesAndAnEmptyListZero)
{
    RecordList list;
    list.push_back(Record("notepad.exe", My_Time(1, 5, 7), My_Time(0, 30, 0), My_Time(0, 2, 10)));
    StatFileDay day(&list);
    day.Open(dir_.Path());
    EXPECT_EQ(day.Path(), DayPath(dir_.Path()));
    EXPECT_EQ(day.BasePath(), dir_.Path());
    day.Save();
    std::string bytes = ReadBytes(day.Path());
    EXPECT_EQ(bytes, "\"notepad.exe\"\t1:5:7\t0:30:0\t0:2:10\t0:0:0\n");
    EXPECT_EQ(bytes.size(), 40u);

    RecordList empty;
    StatFileYear year(&empty);
    year.Open(dir_.Path());
    year.Save();
    EXPECT_EQ(ReadBytes(year.Path()), "");
    year.Load(year.Path());
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_FALSE(FileExists(day.TemporaryPath()));
}

TEST_F(StatFiles, RecordsAreWrittenInListOrderWithLongHours)
{
    RecordList list;
    list.push_back(Record("b.exe", My_Time()));
    list.push_back(Record("a.exe", My_Time(25, 0, 0), My_Time(123456789, 59, 59)));
    StatFileMonth month(&list);
    month.Open(dir_.Path());
    MakeFolders(LogMonthFolder(dir_.Path(), WindowsUserName(), 2026, 5));
    month.Save();
    EXPECT_EQ(ReadBytes(month.Path()),
              StatLine("b.exe", "0:0:0", "0:0:0") + StatLine("a.exe", "25:0:0", "123456789:59:59"));
}

TEST_F(StatFiles, ManyRecordsAreWrittenWhole)
{
    RecordList list;
    std::string expected;
    for (int i = 0; i < 2000; ++i) {
        std::string name = "application-with-a-rather-long-name-" + std::to_string(i) + ".exe";
        list.push_back(Record(name, My_Time(i, i % 60, 59)));
        expected += StatLine(name, std::to_string(i) + ":" + std::to_string(i % 60) + ":59", "0:0:0");
    }
    ASSERT_GT(expected.size(), 16000u);
    StatFileDay day(&list);
    day.Open(dir_.Path());
    day.Save();
    EXPECT_EQ(ReadBytes(day.Path()), expected);

    RecordList back;
    StatFileDay reader(&back);
    reader.Load(day.Path());
    ASSERT_EQ(back.size(), 2000u);
    EXPECT_EQ(back[1999].Name(), list[1999].Name());
    EXPECT_EQ(back[1999].LoadedText(), "1999:19:59");
}

TEST_F(StatFiles, LoadAppendsNewNamesOnlyInFileOrder)
{
    RecordList list;
    ProcRecord kept = Record("b.exe", My_Time(0, 0, 5));
    kept.SetState(STATE_LOADED);
    list.push_back(kept);
    WriteBytes(dir_ / "f", StatLine("c.exe", "1:0:0", "0:1:0", "0:0:1", "2:0:0") +
                               StatLine("b.exe", "9:9:9", "9:9:9") + StatLine("a.exe", "0:0:7", "0:0:0"));
    StatFileDay file(&list);
    file.Load(dir_ / "f");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Name(), "b.exe");
    EXPECT_EQ(Times(list[0]), "0:0:5 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(list[0].State(), STATE_LOADED);
    EXPECT_EQ(list[1].Name(), "c.exe");
    EXPECT_EQ(Times(list[1]), "1:0:0 0:1:0 0:0:1 2:0:0");
    EXPECT_EQ(list[1].State(), 0);
    EXPECT_EQ(list[1].WindowCount(), 0);
    EXPECT_EQ(list[2].Name(), "a.exe");

    file.Load(dir_ / "missing");
    EXPECT_EQ(list.size(), 3u);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(StatFiles, ReadingToleratesLineEndsStrayTextAndDuplicates)
{
    RecordList list = LoadFile("\r\n\r\nstray words \"a.exe\"\t0:0:1\t0:0:2\t0:0:3\t0:0:4\r\n"
                               "\n\"b.exe\"\t1:2:3\t0:0:0\t0:0:0\t0:0:0\r\n"
                               "\"a.exe\"\t9:9:9\t9:9:9\t9:9:9\t9:9:9\n"
                               "\"\"\t5:5:5\t5:5:5\t5:5:5\t5:5:5\n"
                               "\"c.exe\"\t0:70:99\tx:y:z\t0:0:0\t0:0:8");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].Name(), "a.exe");
    EXPECT_EQ(Times(list[0]), "0:0:1 0:0:2 0:0:3 0:0:4");
    EXPECT_EQ(list[1].Name(), "b.exe");
    EXPECT_EQ(Times(list[1]), "1:2:3 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(list[2].Name(), "c.exe");
    // Out-of-range fields stay as read; text reads as 0; the last line has no LF.
    EXPECT_EQ(Times(list[2]), "0:70:99 0:0:0 0:0:0 0:0:8");
}

TEST_F(StatFiles, HostileFilesEndWithinBounds)
{
    std::string longName(300, 'n');
    std::string longField = std::string(1998, '0') + "7:1:2";
    RecordList list = LoadFile("\"" + longName + "\"\t" + longField + "\t0:0:1\t0:0:0\t0:0:0\n" +
                               StatLine("after.exe", "0:0:3", "0:0:0"));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Name(), std::string(254, 'n'));
    // Only the first 1023 characters of a field count: all zeros here.
    EXPECT_EQ(list[0].LoadedText(), "0:1:2");
    EXPECT_EQ(list[0].ActiveText(), "0:0:1");
    EXPECT_EQ(list[1].Name(), "after.exe");
    EXPECT_EQ(list[1].LoadedText(), "0:0:3");

    std::string junk;
    for (int i = 0; i < 200000; ++i) {
        unsigned char c = static_cast<unsigned char>((i * 131 + i / 7) % 256);
        junk += static_cast<char>(c == 0x1A ? '"' : c);
    }
    RecordList fromJunk = LoadFile(junk);
    for (ProcRecord& r : fromJunk)
        EXPECT_LE(r.Name().size(), 254u);

    RecordList quotesOnly = LoadFile(std::string(5000, '"'));
    EXPECT_LE(quotesOnly.size(), 2500u);
}

TEST_F(StatFiles, LogParserReadsRecordByRecord)
{
    WriteBytes(dir_ / "f", StatLine("a.exe", "1:2:3", "4:5:6", "7:8:9", "10:11:12"));
    LogParser parser(dir_ / "f");
    ASSERT_TRUE(parser.IsOpen());
    EXPECT_FALSE(parser.AtEnd());
    ProcRecord r("old");
    r.SetState(3);
    EXPECT_TRUE(parser.ReadUsageRecord(r));
    EXPECT_EQ(r.Name(), "a.exe");
    EXPECT_EQ(r.State(), 0);
    EXPECT_EQ(Times(r), "1:2:3 4:5:6 7:8:9 10:11:12");
    ProcRecord none;
    parser.ReadUsageRecord(none);
    EXPECT_TRUE(parser.AtEnd());
    EXPECT_EQ(none.Name(), "");

    WriteBytes(dir_ / "g", "12:34:56\t");
    LogParser fields(dir_ / "g");
    My_Time t(9, 9, 9);
    fields.ReadTimeField(t, '\t');
    EXPECT_EQ(t.TimeToText(), "12:34:56");

    LogParser missing(dir_ / "missing");
    EXPECT_FALSE(missing.IsOpen());
}

TEST_F(StatFiles, FoldersAreCreatedPerKind)
{
    std::string user = WindowsUserName();
    TempDir a, b, c;
    RecordList list;
    StatFileDay day(&list);
    day.Open(a / "log");
    EXPECT_TRUE(FolderExists(LogMonthFolder(a / "log", user, 2026, 5)));

    StatFileMonth month(&list);
    month.Open(b / "log");
    EXPECT_TRUE(FolderExists(LogYearFolder(b / "log", user, 2026)));
    EXPECT_FALSE(FolderExists(LogMonthFolder(b / "log", user, 2026, 5)));
    EXPECT_EQ(month.Path(), LogMonthTotal(b / "log", user, 2026, 5));

    StatFileYear year(&list);
    year.Open(c / "log");
    EXPECT_TRUE(FolderExists(LogUserFolder(c / "log", user)));
    EXPECT_FALSE(FolderExists(LogYearFolder(c / "log", user, 2026)));
    EXPECT_EQ(year.Path(), LogYearTotal(c / "log", user, 2026));
    // Open only points and loads: the files come with the first save.
    EXPECT_FALSE(FileExists(day.Path()));
}

TEST_F(StatFiles, CutOffWriteKeepsTheOldContentAndEndsTheTracker)
{
    RecordList list;
    list.push_back(Record("a.exe", My_Time(0, 0, 1)));
    StatFileDay day(&list);
    day.Open(dir_.Path());
    day.Save();
    std::string old = ReadBytes(day.Path());

    list[0].TickLoaded();
    watchedPath = day.Path();
    StatFileWriteFile = HalfWrite;
    day.Save();
    // While the new text was being written the file was whole, and it still is.
    EXPECT_EQ(seenDuringWrite, old);
    EXPECT_EQ(ReadBytes(day.Path()), old);
    EXPECT_FALSE(FileExists(day.TemporaryPath()));
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, "Wrong bytes written");
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Kaltrow");
    EXPECT_EQ(boxes_.Boxes()[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(QuitWasPosted());

    StatFileWriteFile = FailedWrite;
    day.Save();
    EXPECT_EQ(ReadBytes(day.Path()), old);
    EXPECT_EQ(boxes_.Boxes().size(), 2u);
    EXPECT_TRUE(QuitWasPosted());

    StatFileWriteFile = WriteFile;
    day.Save();
    EXPECT_EQ(ReadBytes(day.Path()), StatLine("a.exe", "0:0:2", "0:0:0"));
}

TEST_F(StatFiles, FileThatCannotBeCreatedIsReported)
{
    std::string base = dir_ / "no\\such\\folder";
    RecordList list;
    StatFileDay day(&list);
    day.Open(base);
    day.Save();
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, day.Path() + " problem");
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Kaltrow");
    EXPECT_EQ(boxes_.Boxes()[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_FALSE(QuitWasPosted());

    list.push_back(Record("a.exe", My_Time(0, 0, 1)));
    day.Save();
    ASSERT_EQ(boxes_.Boxes().size(), 3u);
    EXPECT_EQ(boxes_.Boxes()[1].text, day.Path() + " problem");
    EXPECT_EQ(boxes_.Boxes()[2].text, "Wrong bytes written");
    EXPECT_TRUE(QuitWasPosted());
}

TEST_F(StatFiles, FileHeldOpenElsewhereStillGetsTheCounts)
{
    RecordList list;
    list.push_back(Record("a.exe", My_Time(0, 0, 1)));
    StatFileDay day(&list);
    day.Open(dir_.Path());
    day.Save();
    HANDLE reader = CreateFileA(day.Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    list[0].TickLoaded();
    day.Save();
    CloseHandle(reader);
    EXPECT_EQ(ReadBytes(day.Path()), StatLine("a.exe", "0:0:2", "0:0:0"));
    EXPECT_FALSE(FileExists(day.TemporaryPath()));
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(StatFiles, OpeningRemovesStaleTemporaryFilesOnly)
{
    std::string folder = LogMonthFolder(dir_.Path(), WindowsUserName(), 2026, 5);
    MakeFolders(folder);
    WriteBytes(folder + "\\~klr10.tmp", "half a fi");
    WriteBytes(folder + "\\~klrtotal.tmp", "x");
    WriteBytes(folder + "\\10", StatLine("a.exe", "0:0:1", "0:0:0"));
    WriteBytes(folder + "\\notes.txt", "mine");
    RecordList list;
    StatFileDay day(&list);
    day.Open(dir_.Path());
    EXPECT_FALSE(FileExists(folder + "\\~klr10.tmp"));
    EXPECT_FALSE(FileExists(folder + "\\~klrtotal.tmp"));
    EXPECT_TRUE(FileExists(folder + "\\10"));
    EXPECT_TRUE(FileExists(folder + "\\notes.txt"));
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(StatFiles, WholeRewriteHappensWithinOneHoldOfTheMutex)
{
    statisticsMutex = CreateMutexA(nullptr, FALSE, nullptr);
    RecordList list;
    list.push_back(Record("a.exe", My_Time(0, 0, 1)));
    StatFileDay day(&list);
    day.Open(dir_.Path());

    // Another thread holds the mutex for a while: the save waits for it.
    HANDLE taken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        WaitForSingleObject(statisticsMutex, INFINITE);
        SetEvent(taken);
        Sleep(300);
        ReleaseMutex(statisticsMutex);
    });
    WaitForSingleObject(taken, INFINITE);
    DWORD start = GetTickCount();
    day.Save();
    EXPECT_GE(GetTickCount() - start, 200u);
    holder.join();

    // While the text is written, no other thread can have the mutex.
    StatFileWriteFile = ProbingWrite;
    day.Save();
    EXPECT_EQ(otherWait.load(), static_cast<DWORD>(WAIT_TIMEOUT));
    // And it is free again afterwards.
    std::thread after([] { otherWait = WaitForSingleObject(statisticsMutex, 0); ReleaseMutex(statisticsMutex); });
    after.join();
    EXPECT_EQ(otherWait.load(), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(taken);
    CloseHandle(statisticsMutex);
}

TEST_F(StatFiles, FailureMessagesDoNotPileUpAndTheMutexIsFreeMeanwhile)
{
    statisticsMutex = CreateMutexA(nullptr, FALSE, nullptr);
    RecordList list;
    list.push_back(Record("a.exe", My_Time(0, 0, 1)));
    StatFileDay day(&list);
    StatFileMonth month(&list);
    day.Open(dir_ / "missing\\x");
    month.Open(dir_ / "missing\\x");
    int timerSaves = 0;
    DWORD otherWait = WAIT_FAILED;
    WhileBoxOpen() = [&] {
        // The timer fires in the box's own loop: none of these saves may show more.
        if (timerSaves++ < 3) {
            day.Save();
            month.Save();
        }
        std::thread probe([&] {
            otherWait = WaitForSingleObject(statisticsMutex, 0);
            if (otherWait == WAIT_OBJECT_0)
                ReleaseMutex(statisticsMutex);
        });
        probe.join();
    };
    day.Save();
    EXPECT_EQ(boxes_.Boxes().size(), 2u);  // " problem", then "Wrong bytes written"
    EXPECT_EQ(otherWait, static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(QuitWasPosted());
    CloseHandle(statisticsMutex);
}

TEST_F(StatFiles, NoSaveWhileThisThreadHoldsTheListsLock)
{
    RecordList list;
    list.push_back(Record("a.exe", My_Time(0, 0, 1)));
    StatFileDay day(&list);
    day.Open(dir_.Path());
    {
        ListsGuard guard;
        day.Save();
    }
    EXPECT_FALSE(FileExists(day.Path()));
    day.Save();
    EXPECT_TRUE(FileExists(day.Path()));
}

TEST_F(StatFiles, ReopeningUnderAnotherFolderKeepsCountsAndAddsNewNames)
{
    RecordList days, months;
    days.push_back(Record("a.exe", My_Time(0, 0, 5)));
    months.push_back(Record("a.exe", My_Time(0, 0, 5)));
    StatFileDay day(&days);
    StatFileMonth month(&months);
    day.Open(dir_ / "old");
    month.Open(dir_ / "old");
    day.Save();
    month.Save();

    std::string newBase = dir_ / "new";
    std::string user = WindowsUserName();
    MakeFolders(LogMonthFolder(newBase, user, 2026, 5));
    WriteBytes(DayPath(newBase), StatLine("a.exe", "9:9:9", "9:9:9") + StatLine("b.exe", "0:1:0", "0:0:0"));
    WriteBytes(LogMonthTotal(newBase, user, 2026, 5), StatLine("c.exe", "2:0:0", "0:0:0"));

    day.Open(newBase);
    month.Open(newBase);
    EXPECT_EQ(day.BasePath(), newBase);
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].LoadedText(), "0:0:5");
    EXPECT_EQ(days[1].LoadedText(), "0:1:0");
    day.Save();
    month.Save();
    EXPECT_EQ(ReadBytes(DayPath(newBase)), StatLine("a.exe", "0:0:5", "0:0:0") + StatLine("b.exe", "0:1:0", "0:0:0"));
    EXPECT_EQ(ReadBytes(LogMonthTotal(newBase, user, 2026, 5)),
              StatLine("a.exe", "0:0:5", "0:0:0") + StatLine("c.exe", "2:0:0", "0:0:0"));
    EXPECT_EQ(ReadBytes(DayPath(dir_ / "old")), StatLine("a.exe", "0:0:5", "0:0:0"));
}
