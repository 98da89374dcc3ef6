#include "records.h"

#include <atomic>
#include <stdexcept>
#include <utility>

#include "my_mutex.h"
#include "process_identity.h"
#include "tracker_globals.h"
#include "tracker_ui.h"

RecordList dayList;
RecordList monthList;
RecordList yearList;

ProcRecord::ProcRecord(const std::string& name) : name_(name) {}

void ProcRecord::TickLoaded() { loaded_.Tick(); ++counted_[0]; }
void ProcRecord::TickActive() { active_.Tick(); ++counted_[1]; }
void ProcRecord::TickMouse() { mouse_.Tick(); ++counted_[2]; }
void ProcRecord::TickKeyboard() { keyboard_.Tick(); ++counted_[3]; }

std::string ProcRecord::LoadedText() { return loaded_.TimeToText(); }
std::string ProcRecord::ActiveText() { return active_.TimeToText(); }
std::string ProcRecord::MouseText() { return mouse_.TimeToText(); }
std::string ProcRecord::KeyboardText() { return keyboard_.TimeToText(); }

My_Time ProcRecord::Loaded() const { return loaded_; }
My_Time ProcRecord::Active() const { return active_; }
My_Time ProcRecord::Mouse() const { return mouse_; }
My_Time ProcRecord::Keyboard() const { return keyboard_; }

void ProcRecord::SetTimes(const My_Time& loaded, const My_Time& active, const My_Time& mouse,
                          const My_Time& keyboard)
{
    loaded_.Assign(loaded);
    active_.Assign(active);
    mouse_.Assign(mouse);
    keyboard_.Assign(keyboard);
}

void ProcRecord::ResetTimes()
{
    SetTimes(My_Time(), My_Time(), My_Time(), My_Time());
}

void ProcRecord::ResetCounted()
{
    for (uint32_t& c : counted_)
        c = 0;
}

void ProcRecord::TakeStoredPlusCounted(const ProcRecord& stored)
{
    const My_Time from[4] = {stored.loaded_, stored.active_, stored.mouse_, stored.keyboard_};
    My_Time* to[4] = {&loaded_, &active_, &mouse_, &keyboard_};
    for (size_t k = 0; k < 4; ++k) {
        // Nothing counted: the stored fields stay exactly as the file has them.
        if (counted_[k] == 0) {
            to[k]->Assign(from[k]);
            continue;
        }
        const uint64_t s = static_cast<uint64_t>(from[k].TotalSeconds()) + counted_[k];
        to[k]->Assign(My_Time(static_cast<int32_t>(s / 3600), static_cast<int32_t>(s / 60 % 60),
                              static_cast<int32_t>(s % 60)));
    }
}

std::string ProcRecord::Name() const { return name_; }
int32_t ProcRecord::State() const { return state_; }
void ProcRecord::SetState(int32_t state) { state_ = state; }
int32_t ProcRecord::WindowCount() const { return windowCount_; }
void ProcRecord::IncWindowCount() { ++windowCount_; }
void ProcRecord::DecWindowCount() { --windowCount_; }

namespace {

uint64_t NewStamp()
{
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1);
}

uint32_t HashName(const std::string& name)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : name) {
        h ^= c;
        h *= 16777619u;
    }
    // The low bits pick the slot: mix the high ones into them.
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h;
}

} // namespace

RecordList::RecordList() : stamp_(NewStamp()) {}

RecordList::RecordList(const RecordList& other)
    : records_(other.records_), slots_(other.slots_), stamp_(NewStamp())
{
}

RecordList::RecordList(RecordList&& other) noexcept
    : records_(std::move(other.records_)), slots_(std::move(other.slots_)), stamp_(NewStamp())
{
    other.clear();
}

RecordList& RecordList::operator=(const RecordList& other)
{
    if (this != &other) {
        RecordList copy(other);
        records_.swap(copy.records_);
        slots_.swap(copy.slots_);
        stamp_ = NewStamp();
    }
    return *this;
}

RecordList& RecordList::operator=(RecordList&& other) noexcept
{
    if (this != &other) {
        records_ = std::move(other.records_);
        slots_ = std::move(other.slots_);
        stamp_ = NewStamp();
        other.clear();
    }
    return *this;
}

void RecordList::clear()
{
    records_.clear();
    slots_.clear();
    stamp_ = NewStamp();
}

void RecordList::Grow()
{
    std::vector<Slot> grown(slots_.empty() ? 16 : slots_.size() * 2, Slot{0, 0});
    size_t mask = grown.size() - 1;
    for (const Slot& s : slots_) {
        if (s.position == 0)
            continue;
        size_t i = s.hash & mask;
        while (grown[i].position != 0)
            i = (i + 1) & mask;
        grown[i] = s;
    }
    slots_.swap(grown);
}

void RecordList::push_back(const ProcRecord& record)
{
    const std::string& name = record.NameRef();
    uint32_t hash = HashName(name);
    // At most half the slots in use, so every probe meets a free one. Whatever
    // throws here throws before the list or its index has changed.
    if ((records_.size() + 1) * 2 > slots_.size())
        Grow();
    records_.push_back(record);
    size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& s = slots_[i];
        if (s.position == 0) {
            s.hash = hash;
            s.position = static_cast<uint32_t>(records_.size());
            return;
        }
        // An earlier record of the name stays the one found.
        if (s.hash == hash && records_[s.position - 1].HasName(name))
            return;
    }
}

int RecordList::Find(const std::string& name) const
{
    if (slots_.empty())
        return -1;
    uint32_t hash = HashName(name);
    size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& s = slots_[i];
        if (s.position == 0)
            return -1;
        if (s.hash == hash && records_[s.position - 1].HasName(name))
            return static_cast<int>(s.position - 1);
    }
}

int FindRecordIndex(const RecordList& list, const std::string& name)
{
    return list.Find(name);
}

ProcRecord& FindOrAddRecord(RecordList& list, const ProcRecord& record)
{
    int i = list.Find(record.NameRef());
    if (i != -1)
        return list[static_cast<size_t>(i)];
    list.push_back(record);
    list.back().ResetCounted();
    return list.back();
}

int FirstRecordWithState(int mask)
{
    ListsGuard guard;
    for (size_t i = 0; i < dayList.size(); ++i) {
        if (dayList[i].State() & mask)
            return static_cast<int>(i);
    }
    return -1;
}

void SetProcState(int index, int mask, int bit)
{
    bool outOfRange = false;
    {
        ListsGuard guard;
        try {
            int holder = FirstRecordWithState(bit);
            if (holder != -1) {
                ProcRecord& r = dayList.at(static_cast<size_t>(holder));
                r.SetState(r.State() & mask);
            }
            if (index != -1) {
                // A negative index reads as a huge unsigned one: out of range too.
                ProcRecord& r = dayList.at(static_cast<size_t>(static_cast<unsigned>(index)));
                r.SetState(r.State() | bit);
            }
        } catch (const std::out_of_range&) {
            outOfRange = true;
        }
    }
    // The hook messages call this under the lists' lock: the box then waits until it is released.
    if (outOfRange)
        ShowTrackerBox("SetProcState function failed. Idex is out of range.", "Kaltrow", MB_OK);
}

BOOL CALLBACK AddAppWindow(HWND window, LPARAM)
{
    char name[256] = {};
    char title[256] = {};
    // Naming the window talks to another process: done before the lock is taken.
    GetAppNameAndTitle(window, name, title, false);
    if (name[0] == '\0' || title[0] == '\0')
        return TRUE;
    ListsGuard guard;
    int i = FindRecordIndex(dayList, name);
    if (i == -1) {
        ProcRecord record(name);
        record.IncWindowCount();
        record.SetState(STATE_LOADED);
        dayList.push_back(record);
    } else {
        ProcRecord& record = dayList[static_cast<size_t>(i)];
        record.IncWindowCount();
        record.SetState(record.State() | STATE_LOADED);
    }
    return TRUE;
}

namespace {

// A critical section rather than std::recursive_mutex: the standard one needs
// the threads library, whose calls do not all exist on Windows XP. It is
// recursive too, and lives to the end of the process.
CRITICAL_SECTION& ListsSection()
{
    static CRITICAL_SECTION* section = [] {
        static CRITICAL_SECTION created;
        InitializeCriticalSection(&created);
        return &created;
    }();
    return *section;
}

thread_local int listsLockDepth = 0;

} // namespace

ListsGuard::ListsGuard()
{
    EnterCriticalSection(&ListsSection());
    ++listsLockDepth;
}

ListsGuard::~ListsGuard()
{
    --listsLockDepth;
    LeaveCriticalSection(&ListsSection());
}

bool ListsLockHeldByThisThread()
{
    return listsLockDepth > 0;
}

namespace {

thread_local int statisticsDepth = 0;

} // namespace

StatisticsHold::StatisticsHold(DWORD stepMs)
{
    // The worker holds the statistics mutex and then waits for the lists' lock.
    if (listsLockDepth > 0)
        return;
    WaitForMutexPolling(statisticsMutex, stepMs);
    taken_ = true;
    ++statisticsDepth;
}

StatisticsHold::~StatisticsHold()
{
    if (!taken_)
        return;
    --statisticsDepth;
    ReleaseMutex(statisticsMutex);
}

bool TrackerLockHeldByThisThread()
{
    return listsLockDepth > 0 || statisticsDepth > 0;
}
