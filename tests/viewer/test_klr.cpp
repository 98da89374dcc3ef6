#include <gtest/gtest.h>

#include "klr.h"
#include "period.h"
#include "project.h"
#include "statistics.h"
#include "viewer_fakes.h"
#include "viewer_interface.h"

namespace {

// Every path has an icon, each one a handle of its own, as the shell's are.
HICON AnIcon(const std::string&)
{
    return CopyIcon(LoadIcon(nullptr, IDI_APPLICATION));
}

// Reading runs made to fail: no memory for a file's bytes, an error while
// summing, a second event that cannot be made.
int failure;

struct FailingWorker : ProgressThread {
    using ProgressThread::ProgressThread;
    HANDLE MakeEvent() override { return failure == 2 && ++made == 2 ? nullptr : ProgressThread::MakeEvent(); }
    bool ReadFileBytes(const std::string& path, std::string& bytes) override
    {
        return failure == 0 ? throw std::bad_alloc() : ProgressThread::ReadFileBytes(path, bytes);
    }
    void SumUsageFile() override
    {
        failure == 1 ? throw std::runtime_error("Disk on fire.") : ProgressThread::SumUsageFile();
    }
    int made = 0;
};

// The model as the main window builds it, over fakes of its controls.
class Document : public ::testing::Test {
protected:
    Document()
        : lists(781000 + static_cast<int>(GetCurrentProcessId() % 1000)),
          view(&project),
          periods(&lists.totals),
          iface(nullptr, &view, &project, &icons, &lists.totals),
          file(&project, &iface),
          day(&lists.results, &lists.totals, nullptr),
          month(&lists.results, &lists.totals, &day),
          period(EncodeDate(2024, 3, 5), EncodeDate(2024, 3, 5)),
          klr(&day, &file, &iface, &period, &lists.results)
    {
        SetShellIconFunction(&AnIcon);
        lists.totals.view = &periods;
        iface.SetLabels(&name, &year, &monthLabel, &dayLabel, &custom);
        day.SetLogFolder(tree.LogPath());
        month.SetLogFolder(tree.LogPath());
        tree.File("2024\\3\\5", Record("notepad.exe", My_Time(), My_Time(0, 0, 5), My_Time(), My_Time()));
        tree.File("2024\\3\\6", Record("notepad.exe", My_Time(), My_Time(0, 0, 7), My_Time(), My_Time()));
        tree.File("2024\\3\\total", Record("notepad.exe", My_Time(), My_Time(0, 0, 12), My_Time(), My_Time()));
        WriteBytes(dir / "p.klr", "\"c:\\windows\\notepad.exe\"\t\"Notepad\"\r\n");
    }
    ~Document() override { SetShellIconFunction(nullptr); }

    LogTree tree;
    TempDir dir;
    MessageLog messages;
    RunLists lists;
    ApplicList project;
    FakeApplList view;
    FakeTotalList periods;
    FakeImageList icons;
    Interface iface;
    Project file;
    StatisticsDay day;
    StatisticsMonth month;
    Period period;
    KLR klr;
    FakeLabel name{16}, year{80}, monthLabel{124}, dayLabel{176}, custom{256};
};

} // namespace

TEST_F(Document, ShowComputesOnceThenOnlyMerges)
{
    EXPECT_TRUE(klr.recompute);
    EXPECT_TRUE(klr.saved);
    klr.saved = false;
    klr.Open(dir / "p.klr");
    EXPECT_FALSE(klr.recompute);
    EXPECT_FALSE(klr.saved);   // opening leaves it as it was
    ASSERT_EQ(project.size(), 2u);
    EXPECT_EQ(TimeToText(project[0].active), "0:0:5");
    EXPECT_EQ(TimeToText(project[1].active), "0:0:5");
    EXPECT_EQ(view.items, (std::vector<std::string>{"Notepad", "Total"}));
    EXPECT_EQ(dayLabel.caption, "5");
    EXPECT_TRUE(periods.items.empty());   // Day shows no period rows

    // Without recompute the files are not read again.
    period.from = period.to = EncodeDate(2024, 3, 6);
    klr.Show();
    EXPECT_EQ(TimeToText(project[0].active), "0:0:5");
    klr.recompute = true;
    klr.Show();
    EXPECT_EQ(TimeToText(project[0].active), "0:0:7");
}

TEST_F(Document, OpeningAProjectRecomputesTheCurrentLevel)
{
    klr.level = &month;
    klr.Show();
    EXPECT_TRUE(project.empty());
    EXPECT_EQ(periods.items.size(), 2u);   // the period list follows the level without a project
    tree.File("2024\\3\\total", Record("notepad.exe", My_Time(), My_Time(0, 1, 0), My_Time(), My_Time()));
    klr.Open(dir / "p.klr");
    EXPECT_EQ(TimeToText(project[0].active), "0:1:0");
}

TEST_F(Document, AFailedRunLeavesRecomputeSetAndNoPeriodRowPointsAtAMissingDate)
{
    klr.level = &month;
    klr.Open(dir / "p.klr");
    ASSERT_FALSE(periods.items.empty());
    tree.File("2024\\3\\draft", "");
    klr.recompute = true;
    klr.Show();
    EXPECT_TRUE(klr.recompute);
    EXPECT_EQ(MessageLog::Boxes().size(), 1u);
    EXPECT_TRUE(periods.items.empty());
    EXPECT_TRUE(lists.totals.periodDates.empty());
}

TEST_F(Document, ARunThatFailsIsShownLeavesTheListsEmptyAndTheNextRunWorks)
{
    const std::string texts[] = {"Not enough memory to read the statistics.", "Disk on fire.",
                                 "The reading of the statistics could not be started."};
    klr.level = &month;
    klr.Open(dir / "p.klr");
    for (failure = 0; failure < 3; ++failure) {
        ASSERT_FALSE(periods.items.empty());
        MessageLog::Boxes().clear();
        SetWorkerFactory([](MyMutex* m, WaitView* w) -> ProgressThread* { return new FailingWorker(m, w); });
        klr.recompute = true;
        klr.Show();
        SetWorkerFactory(nullptr);
        ASSERT_EQ(MessageLog::Boxes().size(), 1u);
        EXPECT_EQ(MessageLog::Boxes()[0].text, texts[failure]);
        EXPECT_EQ(MessageLog::Boxes()[0].caption, ApplicationTitle());
        EXPECT_EQ(MessageLog::Boxes()[0].flags, static_cast<unsigned>(MB_OK | MB_ICONERROR));
        EXPECT_TRUE(lists.results.empty() && lists.totals.totals.empty() && periods.items.empty());
        klr.Show();   // still due: the next display reads again
        EXPECT_FALSE(klr.recompute);
    }
}

TEST_F(Document, NewEmptiesEverythingAndSaveSetsSavedOnlyWhenWritten)
{
    klr.Open(dir / "p.klr");
    ASSERT_EQ(icons.Count(), 1);
    klr.saved = false;
    klr.New();
    EXPECT_TRUE(klr.saved);
    EXPECT_TRUE(project.empty());
    EXPECT_TRUE(view.items.empty());
    EXPECT_TRUE(lists.results.empty());
    EXPECT_TRUE(lists.totals.periodDates.empty());
    EXPECT_EQ(lists.totals.periodDates.size(), lists.totals.totals.size());
    EXPECT_EQ(icons.Count(), 0);   // the images go with the rows

    project = {Applic("c:\\a.exe", "A"), Applic("Total", "")};
    klr.saved = false;
    EXPECT_FALSE(klr.Save(dir / "missing folder\\q.klr"));
    EXPECT_FALSE(klr.saved);
    EXPECT_TRUE(klr.Save(dir / "q.klr"));
    EXPECT_TRUE(klr.saved);
    EXPECT_EQ(ReadBytes(dir / "q.klr"), "\"c:\\a.exe\"\t\"A\"\r\n");
}
