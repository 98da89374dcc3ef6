#include "indicator_parts.h"

#include <map>
#include <string>
#include <vector>

#include "records.h"
#include "tracker_globals.h"

namespace {

// The windows this run counted and the application each was counted for: a
// window is uncounted once, for the application it raised, only if it was
// counted, whatever it looks like or whoever announced it when it goes.
// Used under the lists' lock.
std::map<HWND, std::string>& CountedWindows()
{
    static std::map<HWND, std::string> windows;
    return windows;
}

bool IsHookMessage(UINT message)
{
    // Registered ids are never 0; before registration every id still is.
    if (message == 0)
        return false;
    return message == NEW_WINDOW_CREATED || message == WINDOW_DESTROYED || message == WINDOW_ACTIVATED ||
           message == WINDOW_MOUSED || message == WINDOW_KEYBORADED;
}

void Uncount(int index)
{
    if (index == -1)
        return;
    ProcRecord& record = dayList[static_cast<size_t>(index)];
    int state = record.State() & ~STATE_ACTIVE;
    if (record.WindowCount() <= 1)
        state &= ~STATE_LOADED;
    record.SetState(state);
    if (record.WindowCount() > 0)
        record.DecWindowCount();
}

void OnNewWindow(HWND root, const char* name, int index)
{
    int active = FirstRecordWithState(STATE_ACTIVE);
    if (active != -1)
        dayList[active].SetState(dayList[active].State() & ~STATE_ACTIVE);
    if (index == -1) {
        size_t before = dayList.size();
        AddAppWindow(root, 0);
        // AddAppWindow names the window again; only a record it really appended is ours.
        if (dayList.size() > before) {
            dayList.back().SetState(STATE_LOADED | STATE_ACTIVE);
            CountedWindows()[root] = name;
        }
        return;
    }
    SetProcState(index, ~STATE_ACTIVE, STATE_ACTIVE);
    ProcRecord& record = dayList[static_cast<size_t>(index)];
    record.SetState(record.State() | STATE_LOADED);
    record.IncWindowCount();
    CountedWindows()[root] = name;
}

// True when the window is counted already, for this same application.
bool AlreadyCounted(HWND root, const char* name)
{
    auto it = CountedWindows().find(root);
    if (it == CountedWindows().end())
        return false;
    if (it->second == name)
        return true;
    // The handle names another window now: the one counted under it went unseen.
    Uncount(FindRecordIndex(dayList, it->second));
    CountedWindows().erase(it);
    return false;
}

void OnWindowDestroyed(HWND root)
{
    auto it = CountedWindows().find(root);
    if (it == CountedWindows().end())
        return;
    int index = FindRecordIndex(dayList, it->second);
    CountedWindows().erase(it);
    Uncount(index);
}

} // namespace

void UncountVanishedWindows()
{
    ListsGuard lock;
    std::map<HWND, std::string>& windows = CountedWindows();
    for (auto it = windows.begin(); it != windows.end();) {
        if (IsWindow(it->first)) {
            ++it;
            continue;
        }
        int index = FindRecordIndex(dayList, it->second);
        it = windows.erase(it);
        Uncount(index);
    }
}

BOOL CountOpenWindow(HWND window)
{
    ListsGuard lock;
    if (CountedWindows().count(window))
        return TRUE;
    // AddAppWindow names the window; the record whose count rose is its application.
    std::vector<int> counts;
    counts.reserve(dayList.size());
    for (const ProcRecord& record : dayList)
        counts.push_back(record.WindowCount());
    AddAppWindow(window, 0);
    for (size_t i = 0; i < dayList.size(); ++i) {
        if (i >= counts.size() || dayList[i].WindowCount() > counts[i]) {
            CountedWindows()[window] = dayList[i].Name();
            break;
        }
    }
    return TRUE;
}

bool HandleHookMessage(UINT message, LPARAM lParam)
{
    if (!IsHookMessage(message))
        return false;
    HWND root = RootWindow(reinterpret_cast<HWND>(lParam));
    if (message == WINDOW_DESTROYED) {
        // What the window was counted for is known: nothing to ask of it.
        ListsGuard lock;
        OnWindowDestroyed(root);
        return true;
    }
    char name[256] = {};
    char title[256] = {};
    GetAppNameAndTitle(root, name, title, false);

    // Naming the window talks to other processes: done above, outside the lock.
    ListsGuard lock;
    int index = name[0] ? FindRecordIndex(dayList, name) : -1;
    if (message == NEW_WINDOW_CREATED) {
        if (name[0] != '\0' && title[0] != '\0' && !AlreadyCounted(root, name))
            OnNewWindow(root, name, FindRecordIndex(dayList, name));
    } else if (message == WINDOW_ACTIVATED) {
        SetProcState(index, ~STATE_ACTIVE, STATE_ACTIVE);
    } else if (message == WINDOW_MOUSED) {
        SetProcState(index, ~STATE_MOUSE, STATE_MOUSE);
    } else {
        SetProcState(index, ~STATE_KEYBOARD, STATE_KEYBOARD);
    }
    return true;
}
