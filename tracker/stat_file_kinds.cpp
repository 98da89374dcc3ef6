// The three statistics-file objects, their saves and the change of date.

#include <vector>

#include "log_paths.h"
#include "my_mutex.h"
#include "settings.h"
#include "stat_file.h"
#include "tracker_ui.h"

namespace {

void SystemLocalTime(SYSTEMTIME* time)
{
    GetLocalTime(time);
}

// Every object alive, in the order of creation (day, month, year in the tracker):
// a change of date moves all of them within one hold of the statistics mutex, so
// no tick falls between the day's restart and the month's or the year's.
std::vector<StatFile*>& LiveObjects()
{
    static std::vector<StatFile*> objects;
    return objects;
}

bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

bool saveRunning = false;
bool newDayBoxOpen = false;

void RemoveStaleTemporaries(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return;
    std::string folder = path.substr(0, slash + 1);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "~klr*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA((folder + data.cFileName).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

} // namespace

LocalTimeSource ReadLocalTime = SystemLocalTime;

LocalTime::LocalTime() : time()
{
    Refresh();
}

void LocalTime::Refresh()
{
    ReadLocalTime(&time);
}

bool LocalTime::IsNewDay()
{
    // Dates, not hours: a clock set back an hour is the same day, and a sleep
    // across midnight into a later hour is a new one.
    SYSTEMTIME now;
    ReadLocalTime(&now);
    bool newDay = !SameDate(now, time);
    time = now;
    return newDay;
}

LocalTime lastDayCheck;

StatFile* dayFile = nullptr;
StatFile* monthFile = nullptr;
StatFile* yearFile = nullptr;

bool StatFile::newDayPending_ = false;

StatFile::StatFile(RecordList* list) : StatFile(list, 3) {}

StatFile::StatFile(RecordList* list, int dateParts) : list_(list), dateParts_(dateParts)
{
    LiveObjects().push_back(this);
}

StatFile::~StatFile()
{
    CloseFile();
    std::vector<StatFile*>& objects = LiveObjects();
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i] == this) {
            objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
}

bool StatFile::SaveRunning()
{
    return saveRunning;
}

void StatFile::Save()
{
    // The message boxes of a save run a message loop in which the timer fires again;
    // a box shown under the lists' lock must not wait here for the statistics mutex.
    if (saveRunning || ListsLockHeldByThisThread())
        return;
    saveRunning = true;
    WaitForMutexPolling(statisticsMutex, 10);
    WriteLocked();
    MoveToCurrentDate();
    ReleaseMutex(statisticsMutex);
    ShowFailures();
    saveRunning = false;
}

bool StatFile::SamePeriod(const SYSTEMTIME& date) const
{
    if (date.wYear != fileDate_.wYear)
        return false;
    if (dateParts_ >= 2 && date.wMonth != fileDate_.wMonth)
        return false;
    return dateParts_ < 3 || date.wDay == fileDate_.wDay;
}

void StatFile::MoveToCurrentDate()
{
    lastDayCheck.Refresh();
    const SYSTEMTIME now = lastDayCheck.time;
    for (StatFile* file : LiveObjects()) {
        if (!file->opened_ || file->SamePeriod(now))
            continue;
        // The ticks since its last save belong to the period it leaves.
        if (file != this)
            file->WriteLocked();
        file->OpenAt(file->basePath_, now, true);
        if (file->dateParts_ == 3)
            newDayPending_ = true;
    }
}

SYSTEMTIME StatFile::OpenDate() const
{
    if (opened_)
        return fileDate_;
    SYSTEMTIME now;
    ReadLocalTime(&now);
    return now;
}

void StatFile::OpenAt(const std::string& basePath, const SYSTEMTIME& date, bool takeStored)
{
    std::string user = WindowsUserName();
    SetBasePath(basePath);
    // One level per call; a missing parent shows at the next save.
    CreateDirectoryA(basePath.c_str(), nullptr);
    CreateDirectoryA(LogUserFolder(basePath, user).c_str(), nullptr);
    if (dateParts_ >= 2)
        CreateDirectoryA(LogYearFolder(basePath, user, date.wYear).c_str(), nullptr);
    if (dateParts_ >= 3)
        CreateDirectoryA(LogMonthFolder(basePath, user, date.wYear, date.wMonth).c_str(), nullptr);

    std::string path;
    if (dateParts_ >= 3)
        path = LogDayFile(basePath, user, date.wYear, date.wMonth, date.wDay);
    else if (dateParts_ == 2)
        path = LogMonthTotal(basePath, user, date.wYear, date.wMonth);
    else
        path = LogYearTotal(basePath, user, date.wYear);

    RemoveStaleTemporaries(path);
    if (takeStored)
        TakeStored(path);
    else
        Load(path);
    SetPath(path);
    fileDate_ = date;
    opened_ = true;
}

StatFileDay::StatFileDay(RecordList* list) : StatFile(list, 3) {}

void StatFileDay::Open(std::string basePath)
{
    OpenAt(basePath, OpenDate(), false);
}

void StatFileDay::Save()
{
    if (SaveRunning() || ListsLockHeldByThisThread())
        return;
    StatFile::Save();
    if (!newDayPending_)
        return;
    newDayPending_ = false;
    // Saves go on while the box is open; a later day change needs no second box.
    if (newDayFlag == 0 || newDayBoxOpen)
        return;
    newDayBoxOpen = true;
    TrackerMessageBox(nullptr,
                      "The new day started. From this very second\nall the statistics will be saved on the new day.",
                      "Kaltrow - Information", MB_ICONINFORMATION);
    newDayBoxOpen = false;
}

StatFileMonth::StatFileMonth(RecordList* list) : StatFile(list, 2) {}

void StatFileMonth::Save()
{
    StatFile::Save();
}

void StatFileMonth::Open(std::string basePath)
{
    OpenAt(basePath, OpenDate(), false);
}

StatFileYear::StatFileYear(RecordList* list) : StatFile(list, 1) {}

void StatFileYear::Save()
{
    StatFile::Save();
}

void StatFileYear::Open(std::string basePath)
{
    OpenAt(basePath, OpenDate(), false);
}
