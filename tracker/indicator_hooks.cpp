#include "indicator_parts.h"

#include "records.h"
#include "tracker_globals.h"

namespace {

bool IsHookMessage(UINT message)
{
    // Registered ids are never 0; before registration every id still is.
    if (message == 0)
        return false;
    return message == NEW_WINDOW_CREATED || message == WINDOW_DESTROYED || message == WINDOW_ACTIVATED ||
           message == WINDOW_MOUSED || message == WINDOW_KEYBORADED;
}

void OnNewWindow(HWND root, const char* name, const char* title, int index)
{
    if (name[0] == '\0' || title[0] == '\0')
        return;
    int active = FirstRecordWithState(STATE_ACTIVE);
    if (active != -1)
        dayList[active].SetState(dayList[active].State() & ~STATE_ACTIVE);
    if (index == -1) {
        size_t before = dayList.size();
        AddAppWindow(root, 0);
        // AddAppWindow names the window again; only a record it really appended is ours.
        if (dayList.size() > before)
            dayList.back().SetState(STATE_LOADED | STATE_ACTIVE);
        return;
    }
    SetProcState(index, ~STATE_ACTIVE, STATE_ACTIVE);
    ProcRecord& record = dayList[index];
    if (record.WindowCount() == 0)
        record.SetState(record.State() | STATE_LOADED);
    record.IncWindowCount();
}

void OnWindowDestroyed(int index)
{
    if (index == -1)
        return;
    ProcRecord& record = dayList[index];
    int state = record.State();
    if (record.WindowCount() == 1 && (state & STATE_LOADED))
        state &= ~STATE_LOADED;
    state &= ~STATE_ACTIVE;
    record.SetState(state);
    record.DecWindowCount();
}

} // namespace

bool HandleHookMessage(UINT message, LPARAM lParam)
{
    if (!IsHookMessage(message))
        return false;
    HWND root = RootWindow(reinterpret_cast<HWND>(lParam));
    char name[256] = {};
    char title[256] = {};
    // A window that goes away may already be hidden; its application still counts.
    GetAppNameAndTitle(root, name, title, message == WINDOW_DESTROYED);

    // Naming the window talks to other processes: done above, outside the lock.
    ListsGuard lock;
    int index = name[0] ? FindRecordIndex(dayList, name) : -1;
    if (message == NEW_WINDOW_CREATED)
        OnNewWindow(root, name, title, index);
    else if (message == WINDOW_DESTROYED)
        OnWindowDestroyed(index);
    else if (message == WINDOW_ACTIVATED)
        SetProcState(index, ~STATE_ACTIVE, STATE_ACTIVE);
    else if (message == WINDOW_MOUSED)
        SetProcState(index, ~STATE_MOUSE, STATE_MOUSE);
    else
        SetProcState(index, ~STATE_KEYBOARD, STATE_KEYBOARD);
    return true;
}
