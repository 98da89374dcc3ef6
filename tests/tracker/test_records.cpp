#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "records.h"
#include "tracker_test_support.h"

namespace {

// The day list is process-wide: each test starts from an empty one.
class DayList : public ::testing::Test {
protected:
    void SetUp() override { dayList.clear(); }
    void TearDown() override { dayList.clear(); }

    static ProcRecord WithState(const std::string& name, int state)
    {
        ProcRecord r(name);
        r.SetState(state);
        return r;
    }
};

std::string Texts(ProcRecord r)
{
    return r.LoadedText() + " " + r.ActiveText() + " " + r.MouseText() + " " + r.KeyboardText();
}

} // namespace

TEST(ProcRecord, FreshRecordAndTicksOfEachCounter)
{
    ProcRecord r("notepad.exe");
    EXPECT_EQ(r.Name(), "notepad.exe");
    EXPECT_EQ(r.State(), 0);
    EXPECT_EQ(r.WindowCount(), 0);
    EXPECT_EQ(Texts(r), "0:0:0 0:0:0 0:0:0 0:0:0");

    r.TickLoaded();
    r.TickActive();
    r.TickActive();
    r.TickMouse();
    r.TickMouse();
    r.TickMouse();
    for (int i = 0; i < 3600; ++i)
        r.TickKeyboard();
    EXPECT_EQ(Texts(r), "0:0:1 0:0:2 0:0:3 1:0:0");
    EXPECT_EQ(r.Active().seconds, 2);
    EXPECT_EQ(r.Mouse().seconds, 3);
    EXPECT_EQ(r.Keyboard().hours, 1);
}

TEST(ProcRecord, SetTimesAndResetKeepNameStateAndWindows)
{
    ProcRecord r("a.exe");
    r.SetState(STATE_LOADED | STATE_KEYBOARD);
    r.IncWindowCount();
    r.IncWindowCount();
    r.SetTimes(My_Time(1, 5, 7), My_Time(0, 30, 0), My_Time(0, 2, 10), My_Time(25, 0, 0));
    EXPECT_EQ(Texts(r), "1:5:7 0:30:0 0:2:10 25:0:0");

    r.ResetTimes();
    EXPECT_EQ(Texts(r), "0:0:0 0:0:0 0:0:0 0:0:0");
    EXPECT_EQ(r.Name(), "a.exe");
    EXPECT_EQ(r.State(), STATE_LOADED | STATE_KEYBOARD);
    EXPECT_EQ(r.WindowCount(), 2);

    // No lower bound: the indicator decides when to count down.
    r.DecWindowCount();
    r.DecWindowCount();
    r.DecWindowCount();
    EXPECT_EQ(r.WindowCount(), -1);
}

TEST(ProcRecord, CopiesCarryEveryField)
{
    ProcRecord r("a.exe");
    r.SetState(3);
    r.IncWindowCount();
    r.SetTimes(My_Time(0, 10, 0), My_Time(), My_Time(), My_Time());
    r.LoadedText();
    ProcRecord c(r);
    EXPECT_EQ(c.State(), 3);
    EXPECT_EQ(c.WindowCount(), 1);
    EXPECT_EQ(c.Loaded().text, "0:10:0");
    ProcRecord d;
    d = r;
    EXPECT_EQ(d.Name(), "a.exe");
    EXPECT_EQ(d.LoadedText(), "0:10:0");
}

TEST(RecordList, FindRecordIndexIsExactAndFirst)
{
    RecordList list;
    EXPECT_EQ(FindRecordIndex(list, "a.exe"), -1);
    EXPECT_EQ(FindRecordIndex(list, ""), -1);
    list.push_back(ProcRecord("a.exe"));
    list.push_back(ProcRecord("A.exe"));
    list.push_back(ProcRecord("b.exe"));
    EXPECT_EQ(FindRecordIndex(list, "a.exe"), 0);
    EXPECT_EQ(FindRecordIndex(list, "A.exe"), 1);
    EXPECT_EQ(FindRecordIndex(list, "b.exe"), 2);
    EXPECT_EQ(FindRecordIndex(list, "b.ex"), -1);
    EXPECT_EQ(FindRecordIndex(list, "b.exe "), -1);
}

TEST(RecordList, FindOrAddCopiesTheWholeRecordOnce)
{
    RecordList month;
    month.push_back(ProcRecord("other.exe"));
    ProcRecord day("a.exe");
    day.SetState(STATE_LOADED | STATE_ACTIVE);
    day.IncWindowCount();
    day.SetTimes(My_Time(0, 10, 0), My_Time(0, 0, 5), My_Time(), My_Time());

    ProcRecord& twin = FindOrAddRecord(month, day);
    ASSERT_EQ(month.size(), 2u);
    EXPECT_EQ(&twin, &month[1]);
    EXPECT_EQ(twin.LoadedText(), "0:10:0");
    EXPECT_EQ(twin.ActiveText(), "0:0:5");
    EXPECT_EQ(twin.State(), STATE_LOADED | STATE_ACTIVE);
    EXPECT_EQ(twin.WindowCount(), 1);

    // Found again by name: nothing added, the list's counters stay.
    day.TickLoaded();
    ProcRecord& again = FindOrAddRecord(month, day);
    EXPECT_EQ(month.size(), 2u);
    EXPECT_EQ(&again, &month[1]);
    EXPECT_EQ(again.LoadedText(), "0:10:0");
}

TEST(RecordList, ThousandsOfNamesEachFoundAtItsPlace)
{
    RecordList list;
    const int count = 3000;
    for (int i = 0; i < count; ++i)
        list.push_back(ProcRecord("app" + std::to_string(i) + ".exe"));
    // A second line of a name, as a hand-edited file may hold: the first stays found.
    list.push_back(ProcRecord("app17.exe"));
    ASSERT_EQ(list.size(), static_cast<size_t>(count + 1));
    for (int i = 0; i < count; ++i)
        ASSERT_EQ(FindRecordIndex(list, "app" + std::to_string(i) + ".exe"), i);
    EXPECT_EQ(FindRecordIndex(list, "app" + std::to_string(count) + ".exe"), -1);
    EXPECT_EQ(FindRecordIndex(list, "App1.exe"), -1);
    EXPECT_EQ(FindRecordIndex(list, "app1.ex"), -1);
    EXPECT_EQ(FindRecordIndex(list, ""), -1);
    EXPECT_EQ(&FindOrAddRecord(list, ProcRecord("app2999.exe")), &list[2999]);
    EXPECT_EQ(list.size(), static_cast<size_t>(count + 1));
}

TEST(RecordList, IndexFollowsClearCopyAndAssignment)
{
    RecordList list;
    list.push_back(ProcRecord("a.exe"));
    list.push_back(ProcRecord("b.exe"));
    list.clear();
    EXPECT_EQ(FindRecordIndex(list, "a.exe"), -1);
    EXPECT_EQ(FindRecordIndex(list, "b.exe"), -1);
    list.push_back(ProcRecord("b.exe"));
    EXPECT_EQ(FindRecordIndex(list, "b.exe"), 0);

    RecordList copy(list);
    copy.push_back(ProcRecord("c.exe"));
    EXPECT_EQ(FindRecordIndex(copy, "b.exe"), 0);
    EXPECT_EQ(FindRecordIndex(copy, "c.exe"), 1);
    EXPECT_EQ(FindRecordIndex(list, "c.exe"), -1);

    RecordList other;
    other.push_back(ProcRecord("x.exe"));
    other.push_back(ProcRecord("c.exe"));
    copy = other;
    EXPECT_EQ(FindRecordIndex(copy, "b.exe"), -1);
    EXPECT_EQ(FindRecordIndex(copy, "c.exe"), 1);
    EXPECT_NE(copy.Stamp(), other.Stamp());

    uint64_t before = copy.Stamp();
    RecordList moved(std::move(copy));
    EXPECT_EQ(FindRecordIndex(moved, "x.exe"), 0);
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(FindRecordIndex(copy, "x.exe"), -1);
    EXPECT_NE(copy.Stamp(), before);
    copy.push_back(ProcRecord("y.exe"));
    EXPECT_EQ(FindRecordIndex(copy, "y.exe"), 0);

    list = std::move(moved);
    EXPECT_EQ(FindRecordIndex(list, "c.exe"), 1);
    EXPECT_EQ(FindRecordIndex(list, "b.exe"), -1);
    EXPECT_EQ(FindRecordIndex(moved, "c.exe"), -1);

    before = list.Stamp();
    list.clear();
    EXPECT_NE(list.Stamp(), before);
}

TEST_F(DayList, FirstRecordWithStateLooksAtTheMask)
{
    EXPECT_EQ(FirstRecordWithState(STATE_ACTIVE), -1);
    dayList.push_back(WithState("a", STATE_LOADED));
    dayList.push_back(WithState("b", STATE_LOADED | STATE_MOUSE));
    dayList.push_back(WithState("c", STATE_KEYBOARD));
    EXPECT_EQ(FirstRecordWithState(STATE_LOADED), 0);
    EXPECT_EQ(FirstRecordWithState(STATE_MOUSE), 1);
    EXPECT_EQ(FirstRecordWithState(STATE_KEYBOARD), 2);
    EXPECT_EQ(FirstRecordWithState(STATE_ACTIVE), -1);
    EXPECT_EQ(FirstRecordWithState(STATE_ACTIVE | STATE_KEYBOARD), 2);
}

TEST_F(DayList, SetProcStateMovesOneBit)
{
    BoxRecorder boxes;
    dayList.push_back(WithState("a", STATE_LOADED | STATE_ACTIVE));
    dayList.push_back(WithState("b", STATE_LOADED));
    dayList.push_back(WithState("c", 0));

    SetProcState(1, ~STATE_ACTIVE, STATE_ACTIVE);
    EXPECT_EQ(dayList[0].State(), STATE_LOADED);
    EXPECT_EQ(dayList[1].State(), STATE_LOADED | STATE_ACTIVE);

    // Taken away only: the foreground went to a window of no known application.
    SetProcState(-1, ~STATE_ACTIVE, STATE_ACTIVE);
    EXPECT_EQ(FirstRecordWithState(STATE_ACTIVE), -1);
    EXPECT_EQ(dayList[1].State(), STATE_LOADED);

    SetProcState(2, ~STATE_MOUSE, STATE_MOUSE);
    SetProcState(2, ~STATE_MOUSE, STATE_MOUSE);
    EXPECT_EQ(dayList[2].State(), STATE_MOUSE);
    EXPECT_EQ(dayList[0].State() & STATE_MOUSE, 0);
    EXPECT_EQ(dayList[1].State() & STATE_MOUSE, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(DayList, SetProcStateOutOfRangeTellsAndKeepsTheClearing)
{
    BoxRecorder boxes;
    dayList.push_back(WithState("a", STATE_KEYBOARD));
    dayList.push_back(WithState("b", 0));

    SetProcState(2, ~STATE_KEYBOARD, STATE_KEYBOARD);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "SetProcState function failed. Idex is out of range.");
    EXPECT_EQ(boxes.Boxes()[0].caption, "Kaltrow");
    EXPECT_EQ(boxes.Boxes()[0].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(FirstRecordWithState(STATE_KEYBOARD), -1);

    // Negative indexes other than -1 read as huge unsigned ones.
    SetProcState(-2, ~STATE_MOUSE, STATE_MOUSE);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(dayList[0].State(), 0);
    EXPECT_EQ(dayList[1].State(), 0);
    EXPECT_FALSE(ListsLockHeldByThisThread());

    // Called under the lists' lock, as the hook messages do: no box until it is released.
    {
        ListsGuard lock;
        SetProcState(5, ~STATE_MOUSE, STATE_MOUSE);
        EXPECT_EQ(boxes.Boxes().size(), 2u);
    }
    ShowDeferredBoxes();
    EXPECT_EQ(boxes.Boxes().size(), 3u);
}

TEST_F(DayList, AddAppWindowIgnoresWindowsOfNoApplication)
{
    EXPECT_EQ(AddAppWindow(nullptr, 0), TRUE);
    EXPECT_EQ(AddAppWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(0x7654321)), 0), TRUE);
    EXPECT_TRUE(dayList.empty());
}

TEST(ListsGuard, RecursiveForItsThreadExclusiveForOthers)
{
    EXPECT_FALSE(ListsLockHeldByThisThread());
    std::atomic<int> stage{0};
    std::atomic<bool> otherSawHeld{true};
    std::atomic<bool> otherGotIt{false};
    std::thread other;
    {
        ListsGuard outer;
        {
            ListsGuard inner;
            EXPECT_TRUE(ListsLockHeldByThisThread());
        }
        EXPECT_TRUE(ListsLockHeldByThisThread());
        other = std::thread([&] {
            otherSawHeld = ListsLockHeldByThisThread();
            stage = 1;
            ListsGuard g;
            otherGotIt = true;
        });
        while (stage == 0)
            Sleep(1);
        Sleep(50);
        EXPECT_FALSE(otherSawHeld);
        EXPECT_FALSE(otherGotIt);
    }
    // Leaving the outer guard lets the other thread in.
    other.join();
    EXPECT_TRUE(otherGotIt);
    EXPECT_FALSE(ListsLockHeldByThisThread());
}
