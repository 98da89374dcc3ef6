#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "commands.h"
#include "data_folder.h"
#include "file_read.h"
#include "log_paths.h"
#include "my_mutex.h"
#include "stat_file.h"
#include "stat_save_set.h"
#include "test_support.h"
#include "tracker_test_support.h"
#include "worker.h"

namespace {

class StatFiles : public ::testing::Test {
protected:
    StatFiles() : clock_(2026, 5, 10) {}
    void SetUp() override
    {
        statisticsMutex = nullptr;
        SaveSets::Current() = SaveSets();
        SetDataFolderOverride(dir_.Path());
    }
    void TearDown() override
    {
        StatFileWriteFile = WriteFile;
        statisticsMutex = nullptr;
        SaveSets::Current() = SaveSets();
        SetDataFolderOverride("");
    }

    static std::string User(const std::string& base) { return LogUserFolder(base, WindowsUserName()); }

    // A new start of the tracker: what the run before knew of its sets is gone.
    static void Restart(const std::string& base)
    {
        SaveSets::Current() = SaveSets();
        StatFile::RecoverLogTree(base);
    }

    // The save set's files in a user folder: temporaries and records.
    static std::vector<std::string> Leftovers(const std::string& folder) { return NamesIn(folder, false, "~klr*"); }

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

    // The three objects of a run on one log folder; "a.exe" counts in each list.
    struct Run {
        RecordList days, months, years;
        StatFileDay day{&days};
        StatFileMonth month{&months};
        StatFileYear year{&years};
        // With `withA`, each list that is still empty gets a.exe.
        explicit Run(const std::string& base, bool withA = true)
        {
            for (StatFile* file : std::initializer_list<StatFile*>{&day, &month, &year})
                file->Open(base);
            for (RecordList* list : {&days, &months, &years}) {
                if (withA && list->empty())
                    list->push_back(ProcRecord("a.exe"));
            }
        }
        void Save() { StatFile::SaveAll({&day, &month, &year}); }
        // One second counted, then the timer's round.
        void Second()
        {
            for (RecordList* list : {&days, &months, &years})
                (*list)[0].TickLoaded();
            Save();
        }
        // One second as the worker counts it (month and year records follow the day's), then the round.
        void Pass()
        {
            std::string error;
            ASSERT_TRUE(ActivityPass(days, months, years, error));
            Save();
        }
    };

    static std::string A(int seconds) { return StatLine("a.exe", "0:0:" + std::to_string(seconds), "0:0:0"); }

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

// A reader that allows writing but not deleting: a rename onto the file fails.
HANDLE OpenForReading(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

DWORD IndexOfFile(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info = {};
    GetFileInformationByHandle(file, &info);
    return info.nFileIndexLow;
}

std::string ReadThrough(HANDLE file)
{
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    char buffer[256];
    DWORD got = 0;
    ReadFile(file, buffer, sizeof(buffer), &got, nullptr);
    return std::string(buffer, got);
}

// Lists a month folder while the text of each file is written.
std::string listedFolder;
std::vector<std::string> listedNames;
BOOL WINAPI ListingWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((listedFolder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                listedNames.push_back(found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return WriteFile(file, data, size, written, nullptr);
}

// The direct rewrite of one file (by its index) comes out short.
DWORD shortIndex = 0;
BOOL WINAPI ShortIntoTarget(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    return WriteFile(file, data, IndexOfFile(file) == shortIndex ? size / 2 : size, written, nullptr);
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
    EXPECT_TRUE(Leftovers(User(dir_.Path())).empty());
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

    // Binary junk with an endless field in it, then whole records: the reading
    // gets through all of it and still finds them.
    std::string junk;
    for (int i = 0; i < 200000; ++i) {
        unsigned char c = static_cast<unsigned char>((i * 131 + i / 7) % 256);
        junk += static_cast<char>(c == 0x1A ? '"' : c);
    }
    junk += "\n\"" + std::string(100000, 'x') + "\n";
    for (int i = 0; i < 4; ++i)
        junk += StatLine("last.exe", "0:0:4", "0:0:5");
    RecordList fromJunk = LoadFile(junk);
    int found = FindRecordIndex(fromJunk, "last.exe");
    ASSERT_NE(found, -1);
    EXPECT_EQ(Times(fromJunk[static_cast<size_t>(found)]), "0:0:4 0:0:5 0:0:0 0:0:0");
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
    EXPECT_TRUE(Leftovers(User(dir_.Path())).empty());
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

    // Held open for the whole save: the renames keep failing, and the counts are
    // written into the very file the reader holds.
    HANDLE reader = OpenForReading(day.Path());
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    DWORD before = IndexOfFile(reader);
    list[0].TickLoaded();
    DWORD start = GetTickCount();
    day.Save();
    // The rename was tried again three times, 25 ms apart, before the rewrite.
    EXPECT_GE(GetTickCount() - start, 70u);
    EXPECT_EQ(ReadThrough(reader), StatLine("a.exe", "0:0:2", "0:0:0"));
    CloseHandle(reader);
    HANDLE after = OpenForReading(day.Path());
    EXPECT_EQ(IndexOfFile(after), before);
    CloseHandle(after);
    EXPECT_EQ(ReadBytes(day.Path()), StatLine("a.exe", "0:0:2", "0:0:0"));
    // Known whole in the target: the temporary and the record are gone.
    EXPECT_TRUE(Leftovers(User(dir_.Path())).empty());
    EXPECT_TRUE(boxes_.Boxes().empty());

    // Not held: the file is replaced by the rename, a new file in its place.
    list[0].TickLoaded();
    day.Save();
    HANDLE replaced = OpenForReading(day.Path());
    EXPECT_NE(IndexOfFile(replaced), before);
    EXPECT_EQ(ReadThrough(replaced), StatLine("a.exe", "0:0:3", "0:0:0"));
    CloseHandle(replaced);
}

TEST_F(StatFiles, OpeningRemovesStaleTemporaryFilesOnly)
{
    std::string user = LogUserFolder(dir_.Path(), WindowsUserName());
    std::string folder = LogMonthFolder(dir_.Path(), WindowsUserName(), 2026, 5);
    std::string earlier = LogMonthFolder(dir_.Path(), WindowsUserName(), 2025, 11);
    MakeFolders(folder);
    MakeFolders(earlier);
    // Left by killed trackers of this and earlier versions, in every kind of folder.
    for (const std::string& stale : {folder + "\\~klr10.tmp", folder + "\\~klrtotal.tmp", earlier + "\\~klr9.tmp",
                                      user + "\\2025\\~klrtotal.tmp", user + "\\~klrday.tmp"})
        WriteBytes(stale, "half a fi");
    WriteBytes(folder + "\\10", StatLine("a.exe", "0:0:1", "0:0:0"));
    for (const std::string& mine : {folder + "\\notes.txt", earlier + "\\~klr.txt", user + "\\~klrday.tmp.txt"})
        WriteBytes(mine, "mine");
    RecordList list;
    StatFileDay day(&list);
    day.Open(dir_.Path());
    for (const std::string& stale : {folder + "\\~klr10.tmp", folder + "\\~klrtotal.tmp", earlier + "\\~klr9.tmp",
                                      user + "\\2025\\~klrtotal.tmp", user + "\\~klrday.tmp"})
        EXPECT_FALSE(FileExists(stale)) << stale;
    EXPECT_TRUE(FileExists(folder + "\\10"));
    for (const std::string& mine : {folder + "\\notes.txt", earlier + "\\~klr.txt", user + "\\~klrday.tmp.txt"})
        EXPECT_EQ(ReadBytes(mine), "mine") << mine;
    EXPECT_EQ(list.size(), 1u);
}

TEST_F(StatFiles, ASetCutShortByACrashIsFinishedAtTheNextOpen)
{
    std::string user = LogUserFolder(dir_.Path(), WindowsUserName());
    std::string dayPath = DayPath(dir_.Path());
    std::string monthPath = LogMonthTotal(dir_.Path(), WindowsUserName(), 2026, 5);
    std::string yearPath = LogYearTotal(dir_.Path(), WindowsUserName(), 2026);
    MakeFolders(LogMonthFolder(dir_.Path(), WindowsUserName(), 2026, 5));
    std::string old = StatLine("a.exe", "0:0:1", "0:0:0");
    std::string fresh = StatLine("a.exe", "0:0:2", "0:0:0");
    // The day file was moved into place, then the tracker died: month and year wait.
    WriteBytes(dayPath, fresh);
    WriteBytes(monthPath, old);
    WriteBytes(yearPath, old);
    WriteBytes(SaveSets::TemporaryPath(user, 2, 5), fresh);
    WriteBytes(SaveSets::TemporaryPath(user, 1, 5), fresh);
    WriteBytes(SaveSets::RecordPath(user, 5), SaveSets::TemporaryPath(user, 3, 5) + "\t" + dayPath + "\n" +
                                                  SaveSets::TemporaryPath(user, 2, 5) + "\t" + monthPath + "\n" +
                                                  SaveSets::TemporaryPath(user, 1, 5) + "\t" + yearPath + "\nend\n");
    Run run(dir_.Path(), false);
    EXPECT_EQ(ReadBytes(dayPath), fresh);
    EXPECT_EQ(ReadBytes(monthPath), fresh);
    EXPECT_EQ(ReadBytes(yearPath), fresh);
    EXPECT_EQ(run.months[0].LoadedText(), "0:0:2");
    EXPECT_TRUE(Leftovers(user).empty());

    // A record cut before its end mark: no move had begun, the files stay.
    TempDir other;
    std::string otherUser = LogUserFolder(other.Path(), WindowsUserName());
    std::string otherDay = DayPath(other.Path());
    MakeFolders(LogMonthFolder(other.Path(), WindowsUserName(), 2026, 5));
    WriteBytes(otherDay, old);
    WriteBytes(SaveSets::TemporaryPath(otherUser, 3, 7), fresh);
    WriteBytes(SaveSets::RecordPath(otherUser, 7), SaveSets::TemporaryPath(otherUser, 3, 7) + "\t" + otherDay + "\n");
    run.day.Open(other.Path());
    EXPECT_EQ(ReadBytes(otherDay), old);
    EXPECT_TRUE(Leftovers(otherUser).empty());
}

TEST_F(StatFiles, MonthFoldersHoldOnlyDaysAndTheTotalWhileTheSetIsWritten)
{
    Run run(dir_.Path());
    run.Second();
    listedFolder = LogMonthFolder(dir_.Path(), WindowsUserName(), 2026, 5);
    listedNames.clear();
    StatFileWriteFile = ListingWrite;
    run.Second();
    ASSERT_FALSE(listedNames.empty());
    for (const std::string& name : listedNames)
        EXPECT_TRUE(name == "10" || name == "total") << name;
    EXPECT_EQ(ReadBytes(run.day.Path()), A(2));
    EXPECT_TRUE(Leftovers(User(dir_.Path())).empty());
}

// The reads of one file (by its index) fail after its first 8 bytes.
DWORD failingFileIndex = 0;
BOOL WINAPI ReadFailsPartWay(HANDLE file, LPVOID data, DWORD size, LPDWORD got, LPOVERLAPPED overlapped)
{
    if (IndexOfFile(file) != failingFileIndex)
        return ReadFile(file, data, size, got, overlapped);
    LARGE_INTEGER at = {};
    SetFilePointerEx(file, at, &at, FILE_CURRENT);
    return at.QuadPart == 0 ? ReadFile(file, data, 8, got, overlapped) : FALSE;
}

// Held by another program without sharing, or a read that fails part way.
class UnreadableFile : public StatFiles, public ::testing::WithParamInterface<bool> {
protected:
    void TearDown() override
    {
        WholeFileReadFile = ReadFile;
        StatFiles::TearDown();
    }
};
INSTANTIATE_TEST_SUITE_P(HeldOrFailingRead, UnreadableFile, ::testing::Values(false, true));

TEST_P(UnreadableFile, IsNotOverwrittenAndJoinsTheCountsOnceReadable)
{
    std::string user = WindowsUserName();
    MakeFolders(LogMonthFolder(dir_.Path(), user, 2026, 5));
    // Today stored 10 s; the month 60 s, other days included.
    WriteBytes(DayPath(dir_.Path()), StatLine("a.exe", "0:0:10", "0:0:0"));
    std::string monthPath = LogMonthTotal(dir_.Path(), user, 2026, 5);
    std::string stored = StatLine("a.exe", "0:1:0", "0:0:0") + StatLine("z.exe", "1:0:0", "0:0:0");
    WriteBytes(monthPath, stored);
    const bool failingRead = GetParam();
    HANDLE locked = INVALID_HANDLE_VALUE;
    if (failingRead) {
        HANDLE month = OpenForReading(monthPath);
        failingFileIndex = IndexOfFile(month);
        CloseHandle(month);
        WholeFileReadFile = ReadFailsPartWay;
    }
    else
        locked = HoldUnshared(monthPath);
    ASSERT_NE(failingRead, locked != INVALID_HANDLE_VALUE);
    Run run(dir_.Path(), false);
    EXPECT_TRUE(run.month.WaitingToRead());
    EXPECT_FALSE(run.year.WaitingToRead());
    run.days[0].SetState(STATE_LOADED);
    for (int i = 0; i < 3; ++i)
        run.Pass();
    // Told once, with the file's path.
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text, monthPath + " problem");
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Kaltrow");
    EXPECT_EQ(boxes_.Boxes()[0].type, static_cast<UINT>(MB_ICONERROR));
    if (failingRead)
        WholeFileReadFile = ReadFile;
    else
        CloseHandle(locked);
    EXPECT_EQ(ReadBytes(monthPath), stored);

    // Readable again: the stored times plus the three seconds counted meanwhile.
    run.Save();
    EXPECT_FALSE(run.month.WaitingToRead());
    EXPECT_EQ(ReadBytes(monthPath), StatLine("a.exe", "0:1:3", "0:0:0") + StatLine("z.exe", "1:0:0", "0:0:0"));
    EXPECT_EQ(ReadBytes(run.day.Path()), StatLine("a.exe", "0:0:13", "0:0:0"));
    EXPECT_EQ(boxes_.Boxes().size(), 1u);
}

// Held files come free in either order, also when the day file was left behind
// by a change of day: each stored second is in each file once.
TEST_F(StatFiles, HeldFilesJoinTheirStoredTimesOnceInEitherOrder)
{
    for (const char* order : {"day first", "month first", "day first, left behind"}) {
        const bool dayFirst = order[0] == 'd';
        clock_.Set(2026, 5, 10);
        TempDir base;
        std::string user = WindowsUserName();
        MakeFolders(LogMonthFolder(base.Path(), user, 2026, 5));
        const std::string one = StatLine("a.exe", "1:0:0", "0:0:0");
        std::string paths[3] = {DayPath(base.Path()), LogMonthTotal(base.Path(), user, 2026, 5),
                                LogYearTotal(base.Path(), user, 2026)};
        for (const std::string& path : paths)
            WriteBytes(path, one);
        HANDLE held[2] = {HoldUnshared(paths[0]), HoldUnshared(paths[1])};
        Run run(base.Path(), false);
        const bool behind = std::string(order).find("behind") != std::string::npos;
        if (behind) {
            clock_.Set(2026, 5, 11);
            run.Pass();
        }
        for (int i : {dayFirst ? 0 : 1, dayFirst ? 1 : 0}) {
            CloseHandle(held[i]);
            run.Pass();
            if (behind && i == 0) {
                // Counted into the new day before the month total is read.
                run.days.push_back(ProcRecord("a.exe"));
                run.days.back().SetState(STATE_LOADED);
                run.Pass();
            }
        }
        const std::string total = behind ? StatLine("a.exe", "1:0:2", "0:0:0") : one;
        for (const std::string& path : paths)
            EXPECT_EQ(ReadBytes(path), path == paths[0] ? one : total) << path << ", " << order;
    }
}

// A file that cannot be read when its period ends keeps its counts until it can be.
TEST_F(StatFiles, AFileHeldAcrossTheChangeOfMonthIsJoinedWhenFree)
{
    std::string user = WindowsUserName();
    MakeFolders(LogMonthFolder(dir_.Path(), user, 2026, 5));
    std::string may = LogMonthTotal(dir_.Path(), user, 2026, 5);
    WriteBytes(may, StatLine("a.exe", "1:0:0", "0:0:0"));
    HANDLE held = HoldUnshared(may);
    Run run(dir_.Path(), false);
    run.days.push_back(Record("a.exe", My_Time()));
    run.days[0].SetState(STATE_LOADED);
    for (int i = 0; i < 3; ++i)
        run.Pass();
    clock_.Set(2026, 6, 1, 0, 0, 1);
    run.Pass();
    run.Pass();
    // The second before the save that saw the new month is May's.
    EXPECT_EQ(ReadBytes(LogMonthTotal(dir_.Path(), user, 2026, 6)), StatLine("a.exe", "0:0:1", "0:0:0"));
    // Were the run to end now, the user would be told once.
    size_t before = boxes_.Boxes().size();
    StatFile::TellUnsaved();
    ASSERT_EQ(boxes_.Boxes().size(), before + 1);
    EXPECT_EQ(boxes_.Boxes().back().text, may + " could not be read. The times counted for it since then could not be saved.");
    CloseHandle(held);
    run.Save();
    EXPECT_EQ(ReadBytes(may), StatLine("a.exe", "1:0:4", "0:0:0"));
    EXPECT_EQ(ReadBytes(LogYearTotal(dir_.Path(), user, 2026)), StatLine("a.exe", "0:0:5", "0:0:0"));
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

TEST_F(StatFiles, FailureMessagesDoNotPileUpNorStopTheSavesAndTheMutexIsFreeMeanwhile)
{
    statisticsMutex = CreateMutexA(nullptr, FALSE, nullptr);
    RecordList list;
    list.push_back(Record("a.exe", My_Time(0, 0, 1)));
    StatFileDay day(&list);
    StatFileMonth month(&list);
    day.Open(dir_ / "missing\\x");
    month.Open(dir_ / "missing\\x");
    RecordList others = list;
    StatFileDay other(&others);
    other.Open(dir_.Path());
    int timerSaves = 0;
    DWORD otherWait = WAIT_FAILED;
    bool quitWhileOpen = false;
    WhileBoxOpen() = [&] {
        // The timer fires in the box's own loop: its saves go on and show no more boxes.
        if (timerSaves++ < 3) {
            day.Save();
            month.Save();
            other.Save();
        }
        MSG msg;
        quitWhileOpen = quitWhileOpen || PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
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
    EXPECT_EQ(ReadBytes(other.Path()), StatLine("a.exe", "0:0:1", "0:0:0"));
    EXPECT_FALSE(quitWhileOpen);
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

TEST_F(StatFiles, TheThreeFilesOfARoundAgreeWhileTheWorkerTicks)
{
    statisticsMutex = CreateMutexA(nullptr, FALSE, nullptr);
    Run run(dir_.Path());
    RecordList &days = run.days, &months = run.months, &years = run.years;
    days[0].SetState(STATE_LOADED);
    dayFile = &run.day;
    monthFile = &run.month;
    yearFile = &run.year;

    std::string error;
    ASSERT_TRUE(ActivityPass(days, months, years, error));
    // Ticks as fast as it can, as the worker does once a second.
    std::atomic<bool> stop{false};
    std::thread worker([&] {
        while (!stop) {
            WaitForMutexPolling(statisticsMutex, 10);
            {
                ListsGuard guard;
                std::string error;
                ActivityPass(days, months, years, error);
            }
            ReleaseMutex(statisticsMutex);
        }
    });
    int differing = 0;
    for (int i = 0; i < 40; ++i) {
        SaveStatFiles();
        std::string d = ReadBytes(run.day.Path());
        if (ReadBytes(run.month.Path()) != d || ReadBytes(run.year.Path()) != d)
            ++differing;
    }
    stop = true;
    worker.join();
    dayFile = monthFile = yearFile = nullptr;
    EXPECT_EQ(differing, 0);
    EXPECT_NE(ReadBytes(run.day.Path()), A(0));
    CloseHandle(statisticsMutex);
}

// A round that cannot finish, and what finishes it.
enum class Then { Rounds, RoundsAfterMidnight, Start, StartWhileHeld, StartRespelled, StartElsewhere, StartAfterSwitch };
struct Unfinished {
    const char* name;
    DWORD share;  // of the program holding the file; with write sharing the rewrite comes out short
    Then then;
};
void PrintTo(const Unfinished& c, std::ostream* os) { *os << c.name; }
class UnfinishedSet : public StatFiles, public ::testing::WithParamInterface<Unfinished> {};
INSTANTIATE_TEST_SUITE_P(
    Faults, UnfinishedSet,
    ::testing::Values(Unfinished{"MoveKeepsFailing", 0, Then::Start},
                      Unfinished{"ShortDirectRewrite", FILE_SHARE_READ | FILE_SHARE_WRITE, Then::Start},
                      Unfinished{"HeldThroughTheNextStart", FILE_SHARE_READ, Then::StartWhileHeld},
                      Unfinished{"NewerRoundSupersedes", 0, Then::Rounds},
                      Unfinished{"YesterdayAfterMidnight", 0, Then::RoundsAfterMidnight},
                      Unfinished{"FolderSpelledAnotherWay", 0, Then::StartRespelled},
                      Unfinished{"FolderChangedWhileStopped", 0, Then::StartElsewhere},
                      Unfinished{"FolderUsedBefore", 0, Then::StartAfterSwitch}),
    [](const ::testing::TestParamInfo<Unfinished>& info) { return info.param.name; });

TEST_P(UnfinishedSet, KeepsTheWholeCopyUntilTheTargetHoldsIt)
{
    const Then then = GetParam().then;
    const std::string a = dir_ / "a", b = dir_ / "b";
    Run run(a);
    run.Second();
    const std::string day10 = run.day.Path(), month = run.month.Path(), year = run.year.Path();
    const std::string target = then == Then::RoundsAfterMidnight ? day10 : month;
    if (then == Then::RoundsAfterMidnight)
        clock_.Set(2026, 5, 11);
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, GetParam().share, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    shortIndex = IndexOfFile(held);
    StatFileWriteFile = ShortIntoTarget;
    run.Second();
    StatFileWriteFile = WriteFile;
    // A cut rewrite ends the tracker as before; a held file is only told of. The
    // round's whole copy and its record stay.
    const bool cut = (GetParam().share & FILE_SHARE_WRITE) != 0;
    const std::string told = cut ? "Wrong bytes written" : target + " problem";
    EXPECT_TRUE(std::any_of(boxes_.Boxes().begin(), boxes_.Boxes().end(),
                            [&](const ShownBox& box) { return box.text == told; }));
    EXPECT_EQ(QuitWasPosted(), cut);
    int rounds = 2;
    if (then == Then::Rounds) {
        // Held on: not told again.
        run.Second();
        ++rounds;
        EXPECT_EQ(std::count_if(boxes_.Boxes().begin(), boxes_.Boxes().end(),
                                [&](const ShownBox& box) { return box.text == told; }), 1);
    }
    EXPECT_EQ(Leftovers(User(a)).size(), 2u);
    if (then == Then::StartAfterSwitch) {
        for (StatFile* file : std::initializer_list<StatFile*>{&run.day, &run.month, &run.year})
            file->Open(b);
        run.Second();
    }
    if (then != Then::StartWhileHeld)
        CloseHandle(held);

    int last = rounds;
    if (then == Then::Rounds || then == Then::RoundsAfterMidnight) {
        run.Second();
        run.Second();
        last = rounds + 2;
    } else if (then == Then::StartRespelled) {
        // Another case and a closing "\", with the remembered trees lost as well.
        DeleteFileA(SaveSets::TreesPath().c_str());
        std::string respelled = a + "\\";
        CharUpperA(&respelled[0]);
        Restart(respelled);
    } else {
        Restart(then == Then::StartElsewhere || then == Then::StartAfterSwitch ? b : a);
    }
    if (then == Then::StartWhileHeld) {
        // The next start reads the newest whole copy, not the file it could not replace.
        Run next(a);
        CloseHandle(held);
        next.Second();
        last = 3;
    }
    EXPECT_EQ(ReadBytes(day10), A(then == Then::RoundsAfterMidnight ? 2 : last));
    EXPECT_EQ(ReadBytes(month), A(last));
    EXPECT_EQ(ReadBytes(year), A(last));
    EXPECT_TRUE(Leftovers(User(a)).empty());
}

// A pending copy that another program removed leaves the held file to be read
// once it is free, with the times of the other days in it.
TEST_F(StatFiles, APendingCopyRemovedElsewhereLeavesTheHeldFileToBeJoined)
{
    MakeFolders(LogMonthFolder(dir_.Path(), WindowsUserName(), 2026, 5));
    const std::string month = LogMonthTotal(dir_.Path(), WindowsUserName(), 2026, 5);
    WriteBytes(month, StatLine("z.exe", "1:0:0", "0:0:0"));
    Run run(dir_.Path());  // the month's first record, z.exe, counts
    run.Second();
    HANDLE held = HoldUnshared(month);
    run.Second();
    Restart(dir_.Path());
    for (const std::string& name : Leftovers(User(dir_.Path())))
        DeleteFileA((User(dir_.Path()) + "\\" + name).c_str());
    Run next(dir_.Path());
    CloseHandle(held);
    next.Second();
    // The second only the removed copy held is gone; the file's own times are not.
    EXPECT_EQ(ReadBytes(month), A(1) + StatLine("z.exe", "1:0:1", "0:0:0"));
}

TEST_F(StatFiles, OnlyTheTrackersOwnLinesOfARecordAreMade)
{
    const std::string user = User(dir_.Path());
    const std::string month = LogMonthTotal(dir_.Path(), WindowsUserName(), 2026, 5);
    MakeFolders(LogMonthFolder(dir_.Path(), WindowsUserName(), 2026, 5));
    for (const std::string& path : {DayPath(dir_.Path(), 9), DayPath(dir_.Path()), month})
        WriteBytes(path, A(1));
    WriteBytes(dir_ / "outside", "mine");
    // Before the round's own line: a target outside the user folder, a temporary
    // from outside it, a device, another round's temporary onto yesterday's file.
    const std::string lines[][2] = {{"\\~klrday.0000000000000005.tmp", "\\..\\outside"},
                                    {"\\~klr/../../~klrday.0000000000000005.tmp", "\\2026\\5\\10"},
                                    {"\\~klryear.0000000000000005.tmp", "\\2026\\NUL"},
                                    {"\\~klrday.0000000000000006.tmp", "\\2026\\5\\9"},
                                    {"\\~klrmonth.0000000000000005.tmp", "\\2026\\5\\total"}};
    std::string record;
    for (const auto& line : lines) {
        WriteBytes(user + line[0], A(2));
        record += user + line[0] + "\t" + user + line[1] + "\n";
    }
    WriteBytes(SaveSets::RecordPath(user, 5), record + "end\n");
    // And a record of the earlier format, whose temporary does not name its round.
    WriteBytes(user + "\\~klrday.tmp", A(2));
    WriteBytes(user + "\\~klrsave.lst", user + "\\~klrday.tmp\t" + DayPath(dir_.Path(), 9) + "\nend\n");
    Restart(dir_.Path());

    EXPECT_EQ(ReadBytes(month), A(2));
    EXPECT_EQ(ReadBytes(DayPath(dir_.Path(), 9)), A(1));
    EXPECT_EQ(ReadBytes(DayPath(dir_.Path())), A(1));
    EXPECT_EQ(ReadBytes(dir_ / "outside"), "mine");
    // The file from outside is neither moved in nor removed.
    EXPECT_EQ(ReadBytes(dir_ / "~klrday.0000000000000005.tmp"), A(2));
    EXPECT_TRUE(Leftovers(user).empty());
}
