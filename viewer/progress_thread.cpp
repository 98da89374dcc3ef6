#include "progress_thread.h"

#include <memory>

#include "log_parser.h"
#include "my_mutex.h"
#include "statistics.h"
#include "views.h"

namespace {

struct ReadingObjects {
    MyMutex* mutex = nullptr;
    WaitView* wait = nullptr;
    std::unique_ptr<ProgressThread> current;
};

ReadingObjects& Objects()
{
    static ReadingObjects objects;
    return objects;
}

} // namespace

ProgressThread::ProgressThread(MyMutex* mutex, WaitView* wait) : mutex_(mutex), wait_(wait)
{
    request_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    done_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, nullptr);
}

ProgressThread::~ProgressThread()
{
    if (thread_) {
        // A thread never started would otherwise stay suspended for ever.
        if (WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT) {
            ResumeThread(thread_);
            WaitFor();
        }
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

void ProgressThread::Start()
{
    if (thread_)
        ResumeThread(thread_);
}

int ProgressThread::WaitFor()
{
    if (!thread_)
        return 0;
    HANDLE handles[2] = {thread_, request_};
    for (;;) {
        DWORD r = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
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
        break;
    }
    if (failure_) {
        std::exception_ptr failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
    return returnValue_;
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
    const int step = static_cast<int>(100 / n);
    position_ = 0;

    if (ownFiles_ && results_) {
        currentDestination_ = results_;
        for (const std::string& file : *ownFiles_) {
            currentFile_ = &file;
            Synchronize(&ProgressThread::ReadOwnStep);
            position_ += step;
        }
    }
    if (periodFiles_ && periodTotals_) {
        currentDestination_ = periodTotals_;
        for (const std::string& file : *periodFiles_) {
            currentFile_ = &file;
            Synchronize(&ProgressThread::SumStep);
            position_ += step;
        }
    }
    if (mutex_)
        mutex_->Release();
    Synchronize(&ProgressThread::HideStep);
    returnValue_ = 1;
}

void ProgressThread::ReadOwnStep()
{
    ReadUsageFile();
    if (wait_)
        wait_->SetPosition(position_);
}

void ProgressThread::SumStep()
{
    SumUsageFile();
    if (wait_)
        wait_->SetPosition(position_);
}

void ProgressThread::HideStep()
{
    if (wait_)
        wait_->Hide();
}

void ProgressThread::ReadUsageFile()
{
    Applic row("", "");
    LogParser parser(*currentFile_);
    if (!parser.IsOpen())
        return;
    do {
        if (parser.ReadUsageRecord(row))
            currentDestination_->push_back(row);
    } while (!parser.AtEnd());
}

void ProgressThread::SumUsageFile()
{
    Applic sum(*currentFile_, "");
    ApplicList* remembered = currentDestination_;
    ApplicList records;
    currentDestination_ = &records;
    try {
        ReadUsageFile();
    } catch (...) {
        currentDestination_ = remembered;
        throw;
    }
    currentDestination_ = remembered;
    for (const Applic& row : records)
        sum = SumApplic(row, sum);
    remembered->push_back(sum);
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

bool RunProgressThread(Statistics* level, FileList& ownFiles)
{
    ReadingObjects& objects = Objects();
    // The worker of the run before has ended; it is freed here.
    objects.current.reset();
    objects.current.reset(new ProgressThread(objects.mutex, objects.wait));
    TotalDates* totals = level->Totals();
    objects.current->SetLists(ownFiles, *level->Results(), totals->totals, totals->periodFiles);
    objects.current->Start();
    return objects.current->WaitFor() != 0;
}
