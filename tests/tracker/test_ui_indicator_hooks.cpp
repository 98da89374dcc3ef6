#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "indicator.h"
#include "indicator_parts.h"
#include "records.h"
#include "tracker_globals.h"
#include "ui_support.h"

namespace {

std::string OwnName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string name = path;
    name = name.substr(name.find_last_of('\\') + 1);
    CharLowerA(&name[0]);
    return name;
}

// Hook messages turned into record operations on the day list. The windows are
// this program's own, so they belong to the application named like this program.
class HookMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        World();
        ListsGuard lock;
        dayList.clear();
        dayList.push_back(ProcRecord("other.exe"));
    }

    void TearDown() override
    {
        // Told as the library would, so no window stays counted for a later test.
        for (HWND w : windows_) {
            Send(WINDOW_DESTROYED, w);
            DestroyWindow(w);
        }
        ListsGuard lock;
        dayList.clear();
    }

    HWND Window(const char* title, bool visible = true, HWND parent = nullptr)
    {
        DWORD style = parent ? WS_CHILD : WS_POPUP;
        HWND w = CreateWindowExA(0, "STATIC", title, style | (visible ? WS_VISIBLE : 0), 10, 10, 50, 20, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        windows_.push_back(w);
        return w;
    }

    INT_PTR Send(UINT message, HWND window)
    {
        return IndicatorDialogProc(World().indicator, message, 0, reinterpret_cast<LPARAM>(window));
    }

    // This program's record; a missing one fails the test and reads as empty.
    const ProcRecord* Own()
    {
        static const ProcRecord missing("<missing>");
        int i = FindRecordIndex(dayList, own_);
        if (i < 0) {
            ADD_FAILURE() << own_ << " has no record";
            return &missing;
        }
        return &dayList[i];
    }
    bool HasOwn() { return FindRecordIndex(dayList, own_) >= 0; }

    int OtherState() { return dayList[0].State(); }
    void SetOtherState(int state) { dayList[0].SetState(state); }
    // Records holding any of the bits.
    int Holders(int bits)
    {
        int n = 0;
        for (const ProcRecord& r : dayList)
            n += (r.State() & bits) ? 1 : 0;
        return n;
    }

    std::string own_ = OwnName();
    std::vector<HWND> windows_;
};

} // namespace

TEST_F(HookMessages, FirstWindowOfANewApplicationTakesTheForeground)
{
    SetOtherState(STATE_LOADED | STATE_ACTIVE);
    EXPECT_EQ(Send(NEW_WINDOW_CREATED, Window("first")), TRUE);
    EXPECT_EQ(OtherState(), STATE_LOADED);
    ASSERT_TRUE(HasOwn());
    EXPECT_EQ(dayList.size(), 2u);
    EXPECT_EQ(dayList.back().Name(), own_);
    EXPECT_EQ(Own()->State(), STATE_LOADED | STATE_ACTIVE);
    EXPECT_EQ(Own()->WindowCount(), 1);
}

TEST_F(HookMessages, FurtherWindowsCountUpAndKeepTheCounters)
{
    Send(NEW_WINDOW_CREATED, Window("first"));
    ASSERT_TRUE(HasOwn());
    SetOtherState(STATE_ACTIVE);
    dayList[1].SetState(STATE_LOADED);
    dayList[1].TickActive();
    EXPECT_EQ(Send(NEW_WINDOW_CREATED, Window("second")), TRUE);
    EXPECT_EQ(Own()->WindowCount(), 2);
    EXPECT_EQ(Own()->State(), STATE_LOADED | STATE_ACTIVE);
    EXPECT_EQ(OtherState(), 0);
    EXPECT_EQ(Own()->Active().seconds, 1);
    // A child window counts for its top-level window's application.
    HWND parent = Window("parent");
    Send(NEW_WINDOW_CREATED, Window("child", true, parent));
    EXPECT_EQ(Own()->WindowCount(), 3);
    EXPECT_EQ(dayList.size(), 2u);
}

TEST_F(HookMessages, UntitledOrHiddenNewWindowsChangeNothing)
{
    SetOtherState(STATE_ACTIVE);
    EXPECT_EQ(Send(NEW_WINDOW_CREATED, Window("")), TRUE);
    EXPECT_EQ(Send(NEW_WINDOW_CREATED, Window("hidden", false)), TRUE);
    EXPECT_EQ(Send(NEW_WINDOW_CREATED, nullptr), TRUE);
    EXPECT_EQ(dayList.size(), 1u);
    EXPECT_EQ(OtherState(), STATE_ACTIVE);
}

TEST_F(HookMessages, DestroyedClearsLoadedOnlyWithTheLastWindowAndActiveWithAny)
{
    HWND first = Window("first");
    HWND second = Window("second");
    Send(NEW_WINDOW_CREATED, first);
    Send(NEW_WINDOW_CREATED, second);
    ASSERT_EQ(Own()->WindowCount(), 2);
    EXPECT_EQ(Send(WINDOW_DESTROYED, first), TRUE);
    EXPECT_EQ(Own()->WindowCount(), 1);
    EXPECT_EQ(Own()->State(), STATE_LOADED);
    // A window that is already hidden when its notice comes still counts.
    ShowWindow(second, SW_HIDE);
    Send(WINDOW_DESTROYED, second);
    EXPECT_EQ(Own()->WindowCount(), 0);
    EXPECT_EQ(Own()->State(), 0);
    // A second notice of the same window, or one of a window never counted,
    // changes nothing: no count goes below zero.
    Send(WINDOW_DESTROYED, second);
    Send(WINDOW_DESTROYED, Window("never counted"));
    EXPECT_EQ(Own()->WindowCount(), 0);
    Send(NEW_WINDOW_CREATED, first);
    EXPECT_EQ(Own()->WindowCount(), 1);
    EXPECT_EQ(Own()->State(), STATE_LOADED | STATE_ACTIVE);
    // Unknown windows change nothing.
    EXPECT_EQ(Send(WINDOW_DESTROYED, nullptr), TRUE);
}

TEST_F(HookMessages, EachWindowCountsOnceAndGoesOnceWhateverItLooksLikeThen)
{
    HWND w = Window("shown twice");
    Send(NEW_WINDOW_CREATED, w);
    ShowWindow(w, SW_HIDE);
    ShowWindow(w, SW_SHOW);
    // Announced again when shown again, or by an earlier tracker's library.
    Send(NEW_WINDOW_CREATED, w);
    EXPECT_EQ(Own()->WindowCount(), 1);
    // Gone before its notice is handled, title and process no longer readable:
    // it still goes for the application it was counted for.
    DestroyWindow(w);
    Send(WINDOW_DESTROYED, w);
    EXPECT_EQ(Own()->WindowCount(), 0);
    EXPECT_EQ(Own()->State() & STATE_LOADED, 0);
}

TEST_F(HookMessages, WindowsOpenAtStartAreUncountedWhenTheyGo)
{
    HWND open = Window("open at start");
    HWND hidden = Window("hidden at start", false);
    {
        ListsGuard lock;
        CountOpenWindow(open);
        CountOpenWindow(hidden);
        CountOpenWindow(open);
    }
    ASSERT_TRUE(HasOwn());
    EXPECT_EQ(Own()->WindowCount(), 1);
    EXPECT_EQ(Own()->State(), STATE_LOADED);
    // The hidden one counts from when it shows.
    ShowWindow(hidden, SW_SHOW);
    Send(NEW_WINDOW_CREATED, hidden);
    Send(NEW_WINDOW_CREATED, open);
    EXPECT_EQ(Own()->WindowCount(), 2);
    ShowWindow(open, SW_HIDE);
    Send(WINDOW_DESTROYED, open);
    Send(WINDOW_DESTROYED, hidden);
    EXPECT_EQ(Own()->WindowCount(), 0);
    EXPECT_EQ(Own()->State() & STATE_LOADED, 0);
}

TEST_F(HookMessages, ActivationMovesTheForegroundAndAnUnknownWindowTakesItAway)
{
    HWND first = Window("first");
    Send(NEW_WINDOW_CREATED, first);
    ASSERT_TRUE(HasOwn());
    SetOtherState(STATE_ACTIVE);
    dayList[1].SetState(STATE_LOADED);
    EXPECT_EQ(Send(WINDOW_ACTIVATED, first), TRUE);
    EXPECT_EQ(Own()->State(), STATE_LOADED | STATE_ACTIVE);
    EXPECT_EQ(OtherState(), 0);
    EXPECT_EQ(Send(WINDOW_ACTIVATED, Window("hidden", false)), TRUE);
    EXPECT_EQ(Holders(STATE_ACTIVE), 0);
    EXPECT_EQ(Own()->State(), STATE_LOADED);
}

TEST_F(HookMessages, MouseAndKeyboardBitsHaveOneHolderEach)
{
    HWND first = Window("first");
    Send(NEW_WINDOW_CREATED, first);
    SetOtherState(STATE_MOUSE | STATE_KEYBOARD);
    EXPECT_EQ(Send(WINDOW_MOUSED, first), TRUE);
    EXPECT_TRUE(Own()->State() & STATE_MOUSE);
    EXPECT_EQ(OtherState(), STATE_KEYBOARD);
    EXPECT_EQ(Send(WINDOW_KEYBORADED, first), TRUE);
    EXPECT_TRUE(Own()->State() & STATE_KEYBOARD);
    EXPECT_EQ(OtherState(), 0);
    // Input again to the holder keeps the bit where it is.
    Send(WINDOW_MOUSED, first);
    Send(WINDOW_KEYBORADED, first);
    EXPECT_EQ(Holders(STATE_MOUSE), 1);
    EXPECT_EQ(Holders(STATE_KEYBOARD), 1);
    EXPECT_TRUE(Own()->State() & STATE_MOUSE);
    // Input to a window of no known application takes each bit away on its own.
    Send(WINDOW_MOUSED, Window("hidden", false));
    EXPECT_EQ(Holders(STATE_MOUSE), 0);
    EXPECT_EQ(Holders(STATE_KEYBOARD), 1);
    Send(WINDOW_KEYBORADED, nullptr);
    EXPECT_EQ(Holders(STATE_KEYBOARD), 0);
    EXPECT_EQ(Own()->State() & (STATE_LOADED | STATE_ACTIVE), STATE_LOADED | STATE_ACTIVE);
}

TEST_F(HookMessages, RedrawnIsNeverActedOn)
{
    HWND first = Window("first");
    EXPECT_EQ(Send(WINDOW_REDRAWN, first), FALSE);
    EXPECT_EQ(dayList.size(), 1u);
}
