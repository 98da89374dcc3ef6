#pragma once
#include <windows.h>

#include <exception>
#include <map>
#include <string>
#include <vector>

#include "applic.h"

class MyMutex;
class WaitView;

// The worker of one reading run. It holds the statistics mutex from the
// first file of the run to the last, and only while it takes the files'
// bytes, each file once. The records are parsed, appended and summed after
// the release by the thread that waits for it (WaitFor), to which the
// worker hands those steps, so the viewer's lists and the progress bar are
// touched by the UI thread alone.
class ProgressThread {
public:
    // Nothing runs and no handle is made before Start.
    ProgressThread(MyMutex* mutex, WaitView* wait) : mutex_(mutex), wait_(wait) {}
    virtual ~ProgressThread();
    ProgressThread(const ProgressThread&) = delete;
    ProgressThread& operator=(const ProgressThread&) = delete;

    void SetLists(const std::vector<std::string>& ownFiles, ApplicList& results, ApplicList& periodTotals,
                  const std::vector<std::string>& periodFiles);
    // Makes the two events and the thread, which starts at once; false,
    // with nothing running, when any of them cannot be made.
    bool Start();
    // On the UI thread: runs the calls the worker hands over and returns
    // only once the worker has ended, with its return value; then throws
    // what the run threw, on either thread.
    int WaitFor();
    // The stop request. A run reads every file all the same.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

protected:
    virtual void Execute();
    // Steps run on the UI thread, after the release, on the bytes of the
    // current file (null when it could not be opened): the records appended
    // to the current destination, or one sum row of them.
    virtual void ReadUsageFile();
    virtual void SumUsageFile();
    // Run on the worker under the mutex, once for each file of the run.
    virtual bool ReadFileBytes(const std::string& path, std::string& bytes);
    // Runs the method on the waiting thread and returns when it is done.
    void Synchronize(void (ProgressThread::*method)());
    // The system calls that can fail, as seams for tests.
    virtual HANDLE MakeEvent();
    virtual DWORD WaitForWorker(DWORD count, const HANDLE* handles);

    const std::string* currentFile_ = nullptr;
    const std::string* currentBytes_ = nullptr;
    ApplicList* currentDestination_ = nullptr;

private:
    static DWORD WINAPI ThreadProc(LPVOID self);
    // WaitFor without the throw, also for the destructor.
    void Serve();
    void TakeBytes();
    void ParseStep();
    void MoveBar();
    void HideStep();
    // The bytes of the file, once taken; null when it did not open.
    const std::string* BytesOf(const std::string& path) const;

    MyMutex* mutex_;
    WaitView* wait_;
    const std::vector<std::string>* ownFiles_ = nullptr;
    ApplicList* results_ = nullptr;
    ApplicList* periodTotals_ = nullptr;
    const std::vector<std::string>* periodFiles_ = nullptr;
    int position_ = 0;
    int step_ = 0;
    // Each file of the run once: own files and period files may name the
    // same one (Day, Week, All years).
    std::map<std::string, std::pair<bool, std::string>> bytes_;
    int returnValue_ = 0;
    volatile bool terminated_ = false;

    HANDLE thread_ = nullptr;
    HANDLE request_ = nullptr;   // the worker has a call for the waiting thread
    HANDLE done_ = nullptr;      // the waiting thread has run it
    void (ProgressThread::*pending_)() = nullptr;
    std::exception_ptr failure_;
};

// The objects every run uses, created once at start-up: the statistics
// mutex and the progress dialog (either may be null).
void SetReadingObjects(MyMutex* mutex, WaitView* wait);
// Makes the worker of each run; tests give runs that fail. Null restores
// the plain worker.
using WorkerFactory = ProgressThread* (*)(MyMutex* mutex, WaitView* wait);
void SetWorkerFactory(WorkerFactory factory);
// The worker of the latest run, kept until the next run replaces it.
ProgressThread* CurrentWorker();
