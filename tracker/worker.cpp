#include "worker.h"

#include <new>
#include <stdexcept>
#include <vector>

#include "my_mutex.h"
#include "tracker_globals.h"
#include "tracker_ui.h"

std::atomic<bool> trackingStopped{false};
std::atomic<uint32_t> activityPercent{0};
std::string activityText;

FindOrAddFn WorkerFindOrAdd = FindOrAddRecord;

namespace {

// The message for an error of no standard kind ("exception caught").
const char kOtherError[] = u8"Исключение перехвачено";

// Finds or adds the twins of a day record that are not known yet (null); on a
// standard error, its name.
bool FindTwins(RecordList& month, RecordList& year, const ProcRecord& day, ProcRecord*& m, ProcRecord*& y,
               std::string& error)
{
    try {
        if (!m)
            m = &WorkerFindOrAdd(month, day);
        if (!y)
            y = &WorkerFindOrAdd(year, day);
        return true;
    } catch (const std::length_error&) {
        error = "length_error";
    } catch (const std::range_error&) {
        error = "range_error";
    } catch (const std::bad_alloc&) {
        error = "bad_alloc";
    } catch (const std::out_of_range&) {
        error = "out_of_range";
    } catch (...) {
        error = kOtherError;
    }
    return false;
}

// Where the month and year twins of each day record stand, so that a pass finds
// them once per record, not once a second. Lists only grow at their end, so a
// position holds while the list keeps its stamp; each use still checks the name.
// Used under the lists' lock only.
struct TwinPositions {
    static constexpr uint32_t kUnknown = UINT32_MAX;
    uint64_t dayStamp = 0, monthStamp = 0, yearStamp = 0;
    std::vector<uint32_t> inMonth, inYear;  // by the day record's position
};

TwinPositions twins;

void ForgetPositions(std::vector<uint32_t>& positions)
{
    positions.assign(positions.size(), TwinPositions::kUnknown);
}

void PreparePositions(const RecordList& day, const RecordList& month, const RecordList& year)
{
    if (twins.dayStamp != day.Stamp()) {
        twins.dayStamp = day.Stamp();
        twins.inMonth.clear();
        twins.inYear.clear();
    }
    if (twins.monthStamp != month.Stamp()) {
        twins.monthStamp = month.Stamp();
        ForgetPositions(twins.inMonth);
    }
    if (twins.yearStamp != year.Stamp()) {
        twins.yearStamp = year.Stamp();
        ForgetPositions(twins.inYear);
    }
    try {
        twins.inMonth.resize(day.size(), TwinPositions::kUnknown);
        twins.inYear.resize(day.size(), TwinPositions::kUnknown);
    } catch (...) {
        // Short of memory: the pass looks every twin up instead.
        twins = TwinPositions();
    }
}

ProcRecord* AtPosition(RecordList& list, uint32_t position, const ProcRecord& day)
{
    if (position >= list.size() || !list[position].HasName(day.NameRef()))
        return nullptr;
    return &list[position];
}

uint32_t PositionOf(const RecordList& list, const ProcRecord* record)
{
    int i = list.Find(record->NameRef());
    // The find-or-add of a test may hand out a record of no list.
    if (i < 0 || &list[static_cast<size_t>(i)] != record)
        return TwinPositions::kUnknown;
    return static_cast<uint32_t>(i);
}

std::wstring Wide(const std::string& utf8)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &text[0], n);
    return text;
}

} // namespace

bool ActivityPass(RecordList& day, RecordList& month, RecordList& year, std::string& error)
{
    My_Time activeSum;
    My_Time inputSum;
    PreparePositions(day, month, year);
    for (size_t i = 0; i < day.size(); ++i) {
        bool remembered = i < twins.inMonth.size() && i < twins.inYear.size();
        ProcRecord* m = remembered ? AtPosition(month, twins.inMonth[i], day[i]) : nullptr;
        ProcRecord* y = remembered ? AtPosition(year, twins.inYear[i], day[i]) : nullptr;
        if (!m || !y) {
            // A twin new to its list starts from the day record's counters, then ticks with it.
            if (!FindTwins(month, year, day[i], m, y, error))
                return false;
            if (remembered) {
                twins.inMonth[i] = PositionOf(month, m);
                twins.inYear[i] = PositionOf(year, y);
            }
        }
        ProcRecord& d = day[i];
        int32_t state = d.State();
        if (state & STATE_LOADED) {
            d.TickLoaded();
            m->TickLoaded();
            y->TickLoaded();
        }
        if (state & STATE_ACTIVE) {
            d.TickActive();
            m->TickActive();
            y->TickActive();
        }
        if (state & STATE_MOUSE) {
            d.SetState(d.State() & ~STATE_MOUSE);
            d.TickMouse();
            m->TickMouse();
            y->TickMouse();
        }
        if (state & STATE_KEYBOARD) {
            d.SetState(d.State() & ~STATE_KEYBOARD);
            d.TickKeyboard();
            m->TickKeyboard();
            y->TickKeyboard();
        }
        activeSum = activeSum + d.Active();
        inputSum = (inputSum + d.Mouse()) + d.Keyboard();
    }
    uint32_t percent = TimePercent(inputSum, activeSum);
    // Input may reach windows that are not in the foreground: more than 100 is possible.
    if (percent > 100)
        percent = 100;
    activityPercent = percent;
    activityText = std::to_string(percent);
    return true;
}

void ShowWorkerError(const std::string& error)
{
    // Wide, so the Russian text reads right whatever the system's code page.
    TrackerMessageBoxW(nullptr, Wide(error).c_str(), L"Kaltrow", MB_OK);
}

std::atomic<bool> workerEnding{false};

DWORD WINAPI ActivityWorker(LPVOID)
{
    for (;;) {
        DWORD started = GetTickCount();
        DWORD wait = WaitForSingleObject(instanceMutex, 1000);
        if (wait == WAIT_OBJECT_0) {
            // The UI thread let go of it: the tracker is ending.
            ReleaseMutex(instanceMutex);
            return 0;
        }
        if (wait == WAIT_FAILED) {
            // Without its clock the worker would count seconds as fast as it can spin.
            DWORD spent = GetTickCount() - started;
            if (spent < 1000)
                Sleep(1000 - spent);
        }
        if (workerEnding)
            return 0;

        std::string error;
        bool counted = true;
        {
            StatisticsHold hold;
            // The lists may be on their way out.
            if (workerEnding)
                return 0;
            if (!trackingStopped) {
                ListsGuard guard;
                counted = ActivityPass(dayList, monthList, yearList, error);
            }
        }
        if (!counted) {
            ShowWorkerError(error);
            return 0;
        }
        if (!trackingStopped)
            PostMessageA(indicatorWindow, WM_PAINT, 0, 0);
    }
}
