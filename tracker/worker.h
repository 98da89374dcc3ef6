#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "records.h"

// Set by the Stop command, cleared by Start; while set, passes count nothing.
extern std::atomic<bool> trackingStopped;
// The day's activity percentage after the last pass (0..100) and its decimal text.
extern std::atomic<uint32_t> activityPercent;
extern std::string activityText;  // read and written under the lists' lock

// The worker thread: once a second, under the statistics mutex, one pass.
DWORD WINAPI ActivityWorker(LPVOID unused);

// Set by the UI thread as the tracker ends, before it lets go of the worker's
// clock: the worker starts no further pass and ends within a second, even when
// its clock could not be created.
extern std::atomic<bool> workerEnding;

// One counting pass over the lists (the caller holds the statistics mutex and the
// lists' lock): ticks every day record by its state bits in all three lists and
// recomputes the percentage. Returns false when finding or adding a twin failed;
// `error` then names the error in UTF-8 (the names of the standard errors, or a
// Russian text for any other).
bool ActivityPass(RecordList& day, RecordList& month, RecordList& year, std::string& error);

// How a pass finds or adds the month and year twins; FindOrAddRecord unless a test
// makes it fail.
typedef ProcRecord& (*FindOrAddFn)(RecordList& list, const ProcRecord& record);
extern FindOrAddFn WorkerFindOrAdd;

// Shows the worker's error message (the name that ActivityPass gave, UTF-8) on the
// calling thread and returns when the user has closed it.
void ShowWorkerError(const std::string& error);
