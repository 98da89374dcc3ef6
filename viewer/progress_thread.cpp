#include "progress_thread.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "file_read.h"
#include "log_parser.h"
#include "my_mutex.h"
#include "statistics.h"
#include "views.h"

namespace {

struct ReadingObjects {
    MyMutex* mutex = nullptr;
    WaitView* wait = nullptr;
    WorkerFactory factory = nullptr;
    std::unique_ptr<ProgressThread> current;
};

ReadingObjects& Objects()
{
    static ReadingObjects objects;
    return objects;
}

} // namespace

ProgressThread::~ProgressThread()
{
    if (thread_) {
        // The worker may be waiting for a call; it must end before the
        // object it runs on goes.
        Serve();
        CloseHandle(thread_);
    }
    if (request_)
        CloseHandle(request_);
    if (done_)
        CloseHandle(done_);
}

void ProgressThread::SetLists(const std::vector<std::string>& ownFiles, ApplicList& results,
                              ApplicList& periodTotals, const std::vector<std::string>& periodFiles)
{
    ownFiles_ = &ownFiles;
    results_ = &results;
    periodTotals_ = &periodTotals;
    periodFiles_ = &periodFiles;
}

bool ProgressThread::Start()
{
    request_ = MakeEvent();
    done_ = MakeEvent();
    // Without both events the worker could neither hand over a call nor
    // wait for it: it is not started at all.
    if (request_ && done_)
        thread_ = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
    return thread_ != nullptr;
}

HANDLE ProgressThread::MakeEvent()
{
    return CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

DWORD ProgressThread::WaitForWorker(DWORD count, const HANDLE* handles)
{
    return WaitForMultipleObjects(count, handles, FALSE, INFINITE);
}

int ProgressThread::WaitFor()
{
    if (!thread_)
        return 0;
    Serve();
    // The bytes were parsed, or the run failed: either way they are not needed.
    bytes_.clear();
    if (failure_) {
        std::exception_ptr failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
    return returnValue_;
}

void ProgressThread::Serve()
{
    HANDLE handles[2] = {thread_, request_};
    for (;;) {
        DWORD r = WaitForWorker(2, handles);
        if (r == WAIT_OBJECT_0)
            return;
        if (r == WAIT_OBJECT_0 + 1) {
            try {
                (this->*pending_)();
            } catch (...) {
                // Kept for after the worker has released the mutex and ended.
                if (!failure_)
                    failure_ = std::current_exception();
            }
            SetEvent(done_);
            continue;
        }
        // A failed wait says nothing of the worker, which may still run or
        // wait for a call: try again shortly, never leaving it behind.
        Sleep(10);
    }
}

void ProgressThread::Synchronize(void (ProgressThread::*method)())
{
    pending_ = method;
    SetEvent(request_);
    WaitForSingleObject(done_, INFINITE);
}

DWORD WINAPI ProgressThread::ThreadProc(LPVOID self)
{
    static_cast<ProgressThread*>(self)->Execute();
    return 0;
}

void ProgressThread::Execute()
{
    // Abandoned and failed waits go on as if the mutex were taken.
    if (mutex_) {
        while (mutex_->Wait() == WAIT_TIMEOUT) {
        }
    }
    size_t n = (ownFiles_ ? ownFiles_->size() : 0) + (periodFiles_ ? periodFiles_->size() : 0);
    if (n == 0)
        n = 1;
    step_ = static_cast<int>(100 / n);
    position_ = 0;
    // Under the mutex only the reads, on this thread, so no hand-over to
    // the waiting thread lengthens the hold; the tracker's tick waits meanwhile.
    try {
        TakeBytes();
    } catch (...) {
        // Kept for the waiting thread, which throws it once the run has ended.
        failure_ = std::current_exception();
    }
    if (mutex_)
        mutex_->Release();
    Synchronize(&ProgressThread::ParseStep);
    Synchronize(&ProgressThread::HideStep);
    returnValue_ = 1;
}

bool ProgressThread::ReadFileBytes(const std::string& path, std::string& bytes)
{
    return ReadWholeFile(path, bytes);
}

void ProgressThread::TakeBytes()
{
    bytes_.clear();
    for (const std::vector<std::string>* list : {ownFiles_, periodFiles_}) {
        if (!list)
            continue;
        for (const std::string& file : *list) {
            auto entry = bytes_.emplace(file, std::make_pair(false, std::string()));
            if (entry.second)
                entry.first->second.first = ReadFileBytes(file, entry.first->second.second);
        }
    }
}

const std::string* ProgressThread::BytesOf(const std::string& path) const
{
    auto found = bytes_.find(path);
    if (found == bytes_.end() || !found->second.first)
        return nullptr;
    return &found->second.second;
}

void ProgressThread::ParseStep()
{
    // A read that failed (out of memory) leaves the run with nothing half read.
    if (failure_) {
        bytes_.clear();
        return;
    }
    if (ownFiles_ && results_) {
        // Room for a row per line, so a long run does not move the rows again and again.
        size_t lines = 0;
        for (const std::string& file : *ownFiles_) {
            if (const std::string* bytes = BytesOf(file))
                lines += static_cast<size_t>(std::count(bytes->begin(), bytes->end(), '\n')) + 1;
        }
        results_->reserve(results_->size() + lines);
        currentDestination_ = results_;
        for (const std::string& file : *ownFiles_) {
            currentFile_ = &file;
            currentBytes_ = BytesOf(file);
            ReadUsageFile();
            MoveBar();
        }
    }
    if (periodFiles_ && periodTotals_) {
        currentDestination_ = periodTotals_;
        for (const std::string& file : *periodFiles_) {
            currentFile_ = &file;
            currentBytes_ = BytesOf(file);
            SumUsageFile();
            MoveBar();
        }
    }
    currentBytes_ = nullptr;
    bytes_.clear();
}

void ProgressThread::MoveBar()
{
    if (wait_)
        wait_->SetPosition(position_);
    position_ += step_;
}

void ProgressThread::HideStep()
{
    if (wait_)
        wait_->Hide();
}

void ProgressThread::ReadUsageFile()
{
    if (!currentBytes_)
        return;
    LogParser parser(*currentBytes_);
    ApplicList& destination = *currentDestination_;
    do {
        destination.emplace_back();
        if (!parser.ReadUsageRecord(destination.back()))
            destination.pop_back();
    } while (!parser.AtEnd());
}

void ProgressThread::SumUsageFile()
{
    // The sum of every record, added in file order as SumApplic adds them.
    Applic sum(*currentFile_, "");
    if (currentBytes_) {
        LogParser parser(*currentBytes_);
        My_Time times[4];
        do {
            if (parser.ReadRecordTimes(times)) {
                sum.loaded = AddTimes(times[0], sum.loaded);
                sum.active = AddTimes(times[1], sum.active);
                sum.mouse = AddTimes(times[2], sum.mouse);
                sum.keyboard = AddTimes(times[3], sum.keyboard);
            }
        } while (!parser.AtEnd());
    }
    currentDestination_->push_back(sum);
}

void SetReadingObjects(MyMutex* mutex, WaitView* wait)
{
    Objects().mutex = mutex;
    Objects().wait = wait;
}

ProgressThread* CurrentWorker()
{
    return Objects().current.get();
}

void SetWorkerFactory(WorkerFactory factory)
{
    Objects().factory = factory;
}

bool RunProgressThread(Statistics* level, FileList& ownFiles)
{
    ReadingObjects& objects = Objects();
    // The worker of the run before has ended; it is freed here.
    objects.current.reset();
    objects.current.reset(objects.factory ? objects.factory(objects.mutex, objects.wait)
                                          : new ProgressThread(objects.mutex, objects.wait));
    TotalDates* totals = level->Totals();
    objects.current->SetLists(ownFiles, *level->Results(), totals->totals, totals->periodFiles);
    if (!objects.current->Start())
        throw std::runtime_error("The reading of the statistics could not be started.");
    return objects.current->WaitFor() != 0;
}
