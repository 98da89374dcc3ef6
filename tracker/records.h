#pragma once
#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "my_time.h"

// State bits of a day record.
enum : int32_t {
    STATE_LOADED = 1,    // has a counted top-level window
    STATE_ACTIVE = 2,    // owns the foreground window (one record at most)
    STATE_MOUSE = 4,     // mouse input since the last tick (one record at most)
    STATE_KEYBOARD = 8,  // keyboard input since the last tick (one record at most)
};

// The tracker's record of one application, keyed by its lower-cased module file name.
class ProcRecord {
public:
    explicit ProcRecord(const std::string& name = std::string());

    void TickLoaded();
    void TickActive();
    void TickMouse();
    void TickKeyboard();

    std::string LoadedText();
    std::string ActiveText();
    std::string MouseText();
    std::string KeyboardText();

    My_Time Loaded() const;
    My_Time Active() const;
    My_Time Mouse() const;
    My_Time Keyboard() const;

    void SetTimes(const My_Time& loaded, const My_Time& active, const My_Time& mouse, const My_Time& keyboard);
    void ResetTimes();

    std::string Name() const;
    // The name compared without a copy: lookups scan whole lists every second.
    bool HasName(const std::string& name) const { return name_ == name; }
    int32_t State() const;
    void SetState(int32_t state);
    int32_t WindowCount() const;
    void IncWindowCount();
    void DecWindowCount();

private:
    int32_t state_ = 0;
    My_Time loaded_, active_, mouse_, keyboard_;
    std::string name_;
    int32_t windowCount_ = 0;
};

using RecordList = std::vector<ProcRecord>;

// Today, the current month's totals and the current year's totals.
extern RecordList dayList;
extern RecordList monthList;
extern RecordList yearList;

// Index of the first record of that name (exact, case-sensitive), or -1.
int FindRecordIndex(const RecordList& list, std::string name);
// The first record of that name; a copy of the whole record is appended when there is none.
ProcRecord& FindOrAddRecord(RecordList& list, const ProcRecord& record);
// Index of the first day record whose state has a bit of the mask, or -1.
int FirstRecordWithState(int mask);
// Moves one state bit within the day list: away from its first holder, to record `index` (-1: nowhere).
void SetProcState(int index, int mask, int bit);
// Counts one visible top-level window for its application in the day list; an EnumWindows callback.
BOOL CALLBACK AddAppWindow(HWND window, LPARAM unused);

// The lists' lock: the worker holds it for a whole pass, the UI thread around each
// single change to a list or record and each read of the activity text. Whoever also
// needs the statistics mutex takes that first; nobody holding this waits for it.
class ListsGuard {
public:
    ListsGuard();
    ~ListsGuard();
    ListsGuard(const ListsGuard&) = delete;
    ListsGuard& operator=(const ListsGuard&) = delete;
};

// True while the calling thread holds the lists' lock (a message box shown under it
// runs a message loop; timer saves must not start from there).
bool ListsLockHeldByThisThread();
