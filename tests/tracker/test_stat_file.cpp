#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <atomic>
#include <thread>
#include <vector>

#include "commands.h"
#include "data_folder.h"
#include "file_read.h"
#include "log_paths.h"
#include "my_mutex.h"
#include "stat_file.h"
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
        SaveRounds::Current() = SaveRounds();
        SetDataFolderOverride(dir_.Path());
    }
    void TearDown() override
    {
        StatFileWriteFile = WriteFile;
        roundStepsLeft = -1;
        statisticsMutex = nullptr;
        SaveRounds::Current() = SaveRounds();
        SetDataFolderOverride("");
    }

    static std::string User(const std::string& base) { return LogUserFolder(base, WindowsUserName()); }

    // A new start of the tracker: what the run before knew of its rounds is gone.
    static void Restart(const std::string& base)
    {
        SaveRounds::Current() = SaveRounds();
        StatFile::FinishLeftovers(base);
    }

    // What rounds leave in a user folder: copies and commits.
    static std::vector<std::string> Leftovers(const std::string& folder) { return NamesIn(folder, false, "~k*"); }

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


namespace {

using Counters = std::array<uint32_t, 4>;
using FileMap = std::map<std::string, Counters>;

// A statistics file as name -> seconds of its four counters; a name twice is a failure.
FileMap ReadMap(const std::string& path)
{
    FileMap map;
    for (const ProcRecord& r : LogParser(path).Records()) {
        const Counters c = {r.Loaded().TotalSeconds(), r.Active().TotalSeconds(), r.Mouse().TotalSeconds(),
                            r.Keyboard().TotalSeconds()};
        EXPECT_TRUE(map.emplace(r.Name(), c).second) << r.Name() << " twice in " << path;
    }
    return map;
}

// Every plain file under `folder`, by its path below it.
void ReadTree(const std::string& folder, const std::string& below, std::map<std::string, FileMap>& files)
{
    for (const std::string& name : NamesIn(folder))
        files[below + name] = ReadMap(folder + "\\" + name);
    for (const std::string& sub : NamesIn(folder, true))
        ReadTree(folder + "\\" + sub, below + sub + "\\", files);
}

std::string Text(const FileMap& map)
{
    std::string text;
    for (const auto& entry : map)
        text += entry.first + " " + std::to_string(entry.second[0]) + " " + std::to_string(entry.second[1]) + " " +
                std::to_string(entry.second[2]) + " " + std::to_string(entry.second[3]) + "; ";
    return text;
}

std::string Fields(std::mt19937& random)
{
    return std::to_string(random() % 3) + ":" + std::to_string(random() % 60) + ":" + std::to_string(random() % 60);
}

} // namespace

// A file read late leaves the lists as if it had been read on time: the same
// run, once with the files held and freed at random and once without, leaves
// the same files.
class LateJoin : public StatFiles, public ::testing::WithParamInterface<unsigned> {};
INSTANTIATE_TEST_SUITE_P(Seeds, LateJoin, ::testing::Range(1u, 9u));

TEST_P(LateJoin, LeavesTheFilesOfARunWithoutHolds)
{
    std::mt19937 random(GetParam());
    const char* const names[] = {"a.exe", "b.exe", "c.exe", "d.exe", "e.exe"};
    // Stored as the tracker writes them: every name of a day file in its totals.
    std::map<std::string, std::string> stored;
    std::string month, year;
    for (int day : {29, 30}) {
        std::string text;
        for (const char* name : names) {
            if (random() % 2 == 0)
                text += StatLine(name, Fields(random), Fields(random), Fields(random), Fields(random));
        }
        stored["2026\\12\\" + std::to_string(day)] = text;
        month += text;
    }
    month += StatLine("z.exe", "5:0:0", "1:0:0");
    year = month + StatLine("y.exe", "7:0:0", "2:0:0");
    stored["2026\\12\\total"] = month;
    stored["2026\\total"] = year;

    enum Kind { Use, Tick, Save, NextDay, Respell, Hold, Free };
    struct Op {
        Kind kind;
        unsigned arg;
    };
    std::vector<Op> ops;
    for (int i = 0, days = 0; i < 100; ++i) {
        Kind kind = static_cast<Kind>(random() % 7);
        if (kind == NextDay && ++days > 5)
            kind = Tick;
        ops.push_back({kind, static_cast<unsigned>(random())});
    }

    const unsigned heldAtStart = 1 + random() % 7;
    std::map<std::string, FileMap> trees[2];
    for (int heldRun = 0; heldRun < 2; ++heldRun) {
        SCOPED_TRACE(heldRun ? "with holds" : "without holds");
        clock_.Set(2026, 12, 30, 23);
        SaveRounds::Current() = SaveRounds();
        TempDir base;
        for (const auto& file : stored) {
            const std::string path = User(base.Path()) + "\\" + file.first;
            MakeFolders(path.substr(0, path.find_last_of('\\')));
            WriteBytes(path, file.second);
        }
        HANDLE held[3] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE};
        const std::string atStart[3] = {"2026\\12\\30", "2026\\12\\total", "2026\\total"};
        for (int i = 0; i < 3; ++i) {
            if (heldRun && (heldAtStart >> i & 1))
                held[i] = HoldUnshared(User(base.Path()) + "\\" + atStart[i]);
        }
        {
            Run run(base.Path(), false);
            StatFile* files[3] = {&run.day, &run.month, &run.year};
            int day = 30;
            for (const Op& op : ops) {
                switch (op.kind) {
                case Use: {
                    // As the indicator adds and marks the application.
                    ProcRecord& r = FindOrAddRecord(run.days, ProcRecord(names[op.arg % 5]));
                    r.SetState(static_cast<int32_t>(op.arg / 5 % 16));
                    break;
                }
                case Tick: {
                    std::string error;
                    ASSERT_TRUE(ActivityPass(run.days, run.months, run.years, error));
                    break;
                }
                case Save: run.Save(); break;
                case NextDay:
                    if (++day > 31)
                        clock_.Set(2027, 1, day - 31, 0, 0, 1);
                    else
                        clock_.Set(2026, 12, day, 0, 0, 1);
                    run.Save();
                    break;
                case Respell: {
                    std::string spelled = base.Path();
                    if (op.arg % 2)
                        CharUpperA(&spelled[0]);
                    else
                        spelled += "\\";
                    for (StatFile* file : files)
                        file->Open(spelled);
                    break;
                }
                case Hold:
                    if (heldRun && held[op.arg % 3] == INVALID_HANDLE_VALUE)
                        held[op.arg % 3] = HoldUnshared(files[op.arg % 3]->Path());
                    break;
                case Free:
                    if (held[op.arg % 3] != INVALID_HANDLE_VALUE)
                        CloseHandle(held[op.arg % 3]);
                    held[op.arg % 3] = INVALID_HANDLE_VALUE;
                    break;
                }
            }
            for (HANDLE h : held) {
                if (h != INVALID_HANDLE_VALUE)
                    CloseHandle(h);
            }
            for (int i = 0; i < 3; ++i)
                run.Save();
            EXPECT_FALSE(run.day.WaitingToRead() || run.month.WaitingToRead() || run.year.WaitingToRead());
        }
        std::string told;
        for (const ShownBox& box : boxes_.Boxes())
            told += box.text + "\n";
        EXPECT_FALSE(QuitWasPosted()) << told;
        ReadTree(base.Path(), "", trees[heldRun]);
    }
    ASSERT_EQ(trees[0].size(), trees[1].size());
    for (const auto& file : trees[0])
        EXPECT_EQ(Text(file.second), Text(trees[1][file.first])) << file.first;
}

// A kill at any step of a round, and again at any step of the next start's
// finishing: the start after that finds the three files whole and of one round.
class KilledRound : public StatFiles, public ::testing::WithParamInterface<bool> {};
INSTANTIATE_TEST_SUITE_P(FreeOrWithACopyWaiting, KilledRound, ::testing::Bool());

TEST_P(KilledRound, LeavesTheThreeFilesOfOneRoundAtTheNextStart)
{
    const bool monthWaits = GetParam();
    bool roundDone = false;
    for (int k = 0; !roundDone; ++k) {
        // The finishing is killed at each step too, where no copy waits from
        // before (-1: not killed).
        bool finishDone = false;
        for (int j = monthWaits ? -1 : 0; !finishDone; ++j) {
            SCOPED_TRACE("killed at step " + std::to_string(k) + ", then at " + std::to_string(j));
            TempDir base;
            SaveRounds::Current() = SaveRounds();
            std::string paths[3];
            {
                Run run(base.Path());
                run.Second();
                paths[0] = run.day.Path();
                paths[1] = run.month.Path();
                paths[2] = run.year.Path();
                if (monthWaits) {
                    // A reader that shares writing but not deleting: the file is
                    // never written in place, its copy waits.
                    HANDLE held = CreateFileA(paths[1].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, 0, nullptr);
                    run.Second();
                    EXPECT_EQ(ReadBytes(paths[1]), A(1));
                    CloseHandle(held);
                }
                roundStepsLeft = k;
                run.Second();
                roundDone = roundStepsLeft != 0;
                roundStepsLeft = -1;
            }
            SaveRounds::Current() = SaveRounds();
            roundStepsLeft = j;
            StatFile::FinishLeftovers(base.Path());
            finishDone = roundStepsLeft != 0;
            roundStepsLeft = -1;
            Restart(base.Path());
            const int before = monthWaits ? 2 : 1;
            const std::string day = ReadBytes(paths[0]);
            EXPECT_TRUE(day == A(before) || day == A(before + 1)) << day;
            EXPECT_EQ(ReadBytes(paths[1]), day);
            EXPECT_EQ(ReadBytes(paths[2]), day);
            EXPECT_TRUE(Leftovers(User(base.Path())).empty());
            if (HasFailure())
                return;
        }
    }
}

// A copy that cannot be made (the user folder's path leaves no room for its
// name), or a file whose folder went while the tracker runs, is a failed
// write: told, the tracker ends, and no file is written in place.
TEST_F(StatFiles, AFailedCopyOrMoveEndsTheTrackerAndLeavesTheFile)
{
    for (const bool longFolder : {true, false}) {
        ShownBoxes().clear();
        std::string base = dir_ / (longFolder ? "" : "short");
        if (longFolder)
            base += std::string(235 - User(base + "x").size() + 1, 'p');
        Run run(base);
        if (longFolder) {
            WriteBytes(run.day.Path(), A(9));
        } else {
            run.Second();
            RemoveTree(LogMonthFolder(base, WindowsUserName(), 2026, 5));
        }
        run.Second();
        EXPECT_EQ(ReadBytes(longFolder ? run.day.Path() : run.year.Path()), longFolder ? A(9) : A(2));
        ASSERT_EQ(boxes_.Boxes().size(), 2u);
        EXPECT_EQ(boxes_.Boxes()[0].text, run.day.Path() + " problem");
        EXPECT_EQ(boxes_.Boxes()[1].text, "Wrong bytes written");
        EXPECT_TRUE(QuitWasPosted());
    }
}

// The day file held from start across midnight, then the clock set back before
// midnight and forward again while still held: the files left behind and the
// live one join one after the other, and no second is lost.
TEST_F(StatFiles, ADayFileHeldAcrossAClockSetBackKeepsEverySecond)
{
    clock_.Set(2026, 5, 10, 23, 59, 58);
    const std::string user = WindowsUserName();
    MakeFolders(LogMonthFolder(dir_.Path(), user, 2026, 5));
    const std::string stored = StatLine("a.exe", "1:0:0", "0:0:0");
    for (const std::string& path : {DayPath(dir_.Path()), LogMonthTotal(dir_.Path(), user, 2026, 5),
                                     LogYearTotal(dir_.Path(), user, 2026)})
        WriteBytes(path, stored);
    HANDLE held = HoldUnshared(DayPath(dir_.Path()));
    Run run(dir_.Path(), false);
    run.days.push_back(ProcRecord("a.exe"));
    run.days[0].SetState(STATE_LOADED);
    run.Pass();
    run.Pass();
    clock_.Set(2026, 5, 11, 0, 0, 1);
    run.Pass();  // the last second of the 10th
    run.Pass();
    run.Pass();
    clock_.Set(2026, 5, 10, 23, 59, 59);
    run.Pass();  // the last second of the 11th
    run.Pass();
    run.Pass();
    clock_.Set(2026, 5, 11, 0, 0, 2);
    run.Pass();  // the 10th again
    run.Pass();
    CloseHandle(held);
    for (int i = 0; i < 3; ++i)
        run.Save();
    EXPECT_EQ(ReadBytes(DayPath(dir_.Path())), StatLine("a.exe", "1:0:6", "0:0:0"));
    EXPECT_EQ(ReadBytes(DayPath(dir_.Path(), 11)), StatLine("a.exe", "0:0:4", "0:0:0"));
    EXPECT_EQ(ReadBytes(LogMonthTotal(dir_.Path(), user, 2026, 5)), StatLine("a.exe", "1:0:10", "0:0:0"));
    EXPECT_FALSE(QuitWasPosted());
}

// A month total held from start until past midnight, the first save after
// midnight and an application used again only then: once free, the total is
// the sum of its days.
TEST_F(StatFiles, ATotalHeldPastMidnightIsTheSumOfItsDays)
{
    clock_.Set(2026, 5, 10, 23, 59, 59);
    const std::string user = WindowsUserName();
    MakeFolders(LogMonthFolder(dir_.Path(), user, 2026, 5));
    const std::string day9 = StatLine("a.exe", "2:0:0", "0:0:0") + StatLine("b.exe", "1:30:0", "0:0:0");
    const std::string day10 = StatLine("a.exe", "1:0:0", "0:0:0") + StatLine("b.exe", "0:30:0", "0:0:0");
    const std::string total = StatLine("a.exe", "3:0:0", "0:0:0") + StatLine("b.exe", "2:0:0", "0:0:0");
    const std::string month = LogMonthTotal(dir_.Path(), user, 2026, 5);
    WriteBytes(DayPath(dir_.Path(), 9), day9);
    WriteBytes(DayPath(dir_.Path()), day10);
    WriteBytes(month, total);
    WriteBytes(LogYearTotal(dir_.Path(), user, 2026), total);
    HANDLE held = HoldUnshared(month);
    Run run(dir_.Path(), false);
    clock_.Set(2026, 5, 11, 0, 0, 1);
    run.Save();
    run.days[1].SetState(STATE_LOADED);
    for (int i = 0; i < 3; ++i)
        run.Pass();
    // Were the run to end now, the user would be told.
    StatFile::TellUnsaved();
    EXPECT_EQ(boxes_.Boxes().back().text,
              month + " could not be read. The times counted for it since then could not be saved.");
    CloseHandle(held);
    run.Save();
    FileMap days;
    for (int d : {9, 10, 11}) {
        for (const auto& entry : ReadMap(DayPath(dir_.Path(), d))) {
            for (size_t k = 0; k < 4; ++k)
                days[entry.first][k] += entry.second[k];
        }
    }
    EXPECT_EQ(Text(ReadMap(month)), Text(days));
    EXPECT_EQ(Text(ReadMap(LogYearTotal(dir_.Path(), user, 2026))), Text(days));
}

// A copy waiting for a held file that another program removed is no copy: the
// file is read once free, with the times of the other days in it.
TEST_F(StatFiles, AWaitingCopyRemovedElsewhereLeavesTheHeldFileToBeJoined)
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

// What an earlier version left in the trees it listed, with the log folder
// changed while the tracker was stopped: its saves still to be made are made
// where they are newer than the file, the rest of its files go, nothing else
// is touched, and the list goes.
TEST_F(StatFiles, TheLeftoversOfAnEarlierVersionAreFinishedInEveryListedTree)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t later = (static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime) + 36000000000ull;
    char hex[17];
    std::snprintf(hex, sizeof(hex), "%016llx", static_cast<unsigned long long>(later));
    TempDir trees[2];
    std::string listed;
    for (const TempDir& tree : trees) {
        const std::string user = User(tree.Path());
        const std::string day9 = DayPath(tree.Path(), 9), day10 = DayPath(tree.Path());
        MakeFolders(LogMonthFolder(tree.Path(), WindowsUserName(), 2026, 5));
        WriteBytes(day9, A(1));
        WriteBytes(day10, A(1));
        WriteBytes(tree / "outside", "mine");
        const std::string temp = user + "\\~klrday." + hex + ".tmp";
        WriteBytes(temp, A(2));
        WriteBytes(user + "\\~klryear." + hex + ".tmp", A(2));
        WriteBytes(user + "\\~klrsave." + hex + ".lst",
                   temp + "\t" + day9 + "\n" + temp + "\t" + user + "\\..\\outside\n" + user +
                       "\\~klryear." + hex + ".tmp\t" + user + "\\2026\\NUL\nend\n");
        // An older round's record: its file was written since.
        WriteBytes(LogMonthTotal(tree.Path(), WindowsUserName(), 2026, 5), A(1));
        WriteBytes(user + "\\~klrmonth.0000000000000005.tmp", A(3));
        WriteBytes(user + "\\~klrsave.0000000000000005.lst",
                   user + "\\~klrmonth.0000000000000005.tmp\t" + user + "\\2026\\5\\total\nend\n");
        WriteBytes(LogMonthFolder(tree.Path(), WindowsUserName(), 2026, 5) + "\\~klr10.tmp", "half a fi");
        // Not a name this tracker makes.
        WriteBytes(user + "\\~k0000000000000007.2026.13.new", "mine");
        listed += user + "\r\n";
    }
    WriteBytes(dir_ / "logtrees.lst", listed);
    Run run(dir_ / "log");
    for (const TempDir& tree : trees) {
        const std::string user = User(tree.Path());
        EXPECT_EQ(ReadBytes(DayPath(tree.Path(), 9)), A(2));
        EXPECT_EQ(ReadBytes(DayPath(tree.Path())), A(1));
        EXPECT_EQ(ReadBytes(LogMonthTotal(tree.Path(), WindowsUserName(), 2026, 5)), A(1));
        EXPECT_EQ(ReadBytes(tree / "outside"), "mine");
        EXPECT_EQ(Leftovers(user), std::vector<std::string>{"~k0000000000000007.2026.13.new"});
        EXPECT_EQ(NamesIn(LogMonthFolder(tree.Path(), WindowsUserName(), 2026, 5)),
                  (std::vector<std::string>{"10", "9", "total"}));
    }
    EXPECT_FALSE(FileExists(dir_ / "logtrees.lst"));
}
