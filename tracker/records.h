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

    // The seconds each counter has ticked since the opening of the list's file;
    // a file read late adds them to what it stores (StatFile::Join).
    void ResetCounted();
    // The stored counters of `stored`, plus the seconds counted since the opening.
    void TakeStoredPlusCounted(const ProcRecord& stored);

    std::string Name() const;
    // The name without a copy, for lookups that run every second.
    const std::string& NameRef() const { return name_; }
    bool HasName(const std::string& name) const { return name_ == name; }
    int32_t State() const;
    void SetState(int32_t state);
    int32_t WindowCount() const;
    void IncWindowCount();
    void DecWindowCount();

private:
    int32_t state_ = 0;
    My_Time loaded_, active_, mouse_, keyboard_;
    uint32_t counted_[4] = {0, 0, 0, 0};  // loaded, active, mouse, keyboard
    std::string name_;
    int32_t windowCount_ = 0;
};

// The records of one list in the order they were added, with an index from name
// to the first record of that name beside them. Records are only appended and
// keep their names while they are in the list; the index relies on both.
class RecordList {
public:
    using iterator = std::vector<ProcRecord>::iterator;
    using const_iterator = std::vector<ProcRecord>::const_iterator;

    RecordList();
    RecordList(const RecordList& other);
    RecordList(RecordList&& other) noexcept;
    RecordList& operator=(const RecordList& other);
    RecordList& operator=(RecordList&& other) noexcept;

    size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    ProcRecord& operator[](size_t i) { return records_[i]; }
    const ProcRecord& operator[](size_t i) const { return records_[i]; }
    ProcRecord& at(size_t i) { return records_.at(i); }
    const ProcRecord& at(size_t i) const { return records_.at(i); }
    ProcRecord& back() { return records_.back(); }
    const ProcRecord& back() const { return records_.back(); }
    iterator begin() { return records_.begin(); }
    iterator end() { return records_.end(); }
    const_iterator begin() const { return records_.begin(); }
    const_iterator end() const { return records_.end(); }

    // Appends a copy; the first record of a name stays the one that is found.
    void push_back(const ProcRecord& record);
    void clear();

    // Position of the first record of exactly that name, or -1.
    int Find(const std::string& name) const;

    // Differs between any two lists and changes with every clear or assignment:
    // positions remembered with it stay valid as long as it does not change.
    uint64_t Stamp() const { return stamp_; }

private:
    // Open addressing; a position of 0 marks a free slot, others are one more
    // than the record's place in the list.
    struct Slot {
        uint32_t hash;
        uint32_t position;
    };
    void Grow();

    std::vector<ProcRecord> records_;
    std::vector<Slot> slots_;
    uint64_t stamp_;
};

// Today, the current month's totals and the current year's totals.
extern RecordList dayList;
extern RecordList monthList;
extern RecordList yearList;

// Index of the first record of that name (exact, case-sensitive), or -1.
int FindRecordIndex(const RecordList& list, const std::string& name);
// The first record of that name; when there is none, a copy of the whole record is
// appended, with nothing counted since its file's opening.
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

// True while the calling thread holds the lists' lock.
bool ListsLockHeldByThisThread();

// A hold of the statistics mutex "1" (polled in short waits; an abandoned or
// failed wait goes on as if taken). The order is one rule everywhere: the
// statistics mutex first, then the lists' lock, and no message box while this
// thread holds either (a box runs a message loop, in which the timer saves and
// commands run and take them again); see ShowTrackerBox.
// A thread that holds the lists' lock already does not wait: Taken() is false.
class StatisticsHold {
public:
    explicit StatisticsHold(DWORD stepMs = 10);
    ~StatisticsHold();
    bool Taken() const { return taken_; }
    StatisticsHold(const StatisticsHold&) = delete;
    StatisticsHold& operator=(const StatisticsHold&) = delete;

private:
    bool taken_ = false;
};

// True while the calling thread holds the statistics mutex or the lists' lock.
bool TrackerLockHeldByThisThread();
