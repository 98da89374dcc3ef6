// The three statistics-file objects, their saves and the change of date.

#include <algorithm>
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

bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

// True while a save's write and day change run.
bool saveRunning = false;

// The log folder whose tree this process has put right last.
std::string& RecoveredBase()
{
    static std::string base;
    return base;
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

std::vector<StatFile*>& StatFile::LiveObjects()
{
    // A change of date moves all of them within one hold of the statistics mutex,
    // so no tick falls between the day's restart and the month's or the year's.
    static std::vector<StatFile*> objects;
    return objects;
}

StatFile::StatFile(RecordList* list) : StatFile(list, 3) {}

StatFile::StatFile(RecordList* list, int dateParts, bool live) : list_(list), dateParts_(dateParts)
{
    if (live)
        LiveObjects().push_back(this);
}

StatFile::~StatFile()
{
    std::vector<StatFile*>& objects = LiveObjects();
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i] == this) {
            objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
}

void StatFile::Save()
{
    SaveAll({this});
}

void StatFile::SaveAll(const std::vector<StatFile*>& files)
{
    // No step of a save runs a message loop; its boxes come after it.
    if (saveRunning)
        return;
    {
        StatisticsHold hold;
        if (!hold.Taken())
            return;
        saveRunning = true;
        WriteSet(files);
        for (StatFile* file : files) {
            if (file)
                file->SaveLeftBehind();
        }
        MoveToCurrentDate(files);
        saveRunning = false;
    }
    // The timer saves again while a box is open: counting never waits for the user.
    ShowFailures();

    bool withDay = false;
    for (StatFile* file : files)
        withDay = withDay || (file && file->dateParts_ == 3);
    if (!withDay || !newDayPending_)
        return;
    newDayPending_ = false;
    // A later day change while the box is open needs no second box.
    if (newDayFlag != 0)
        ShowTrackerBox("The new day started. From this very second\nall the statistics will be saved on the new day.",
                       "Kaltrow - Information", MB_ICONINFORMATION);
}

bool StatFile::SamePeriod(const SYSTEMTIME& date) const
{
    if (date.wYear != fileDate_.wYear)
        return false;
    if (dateParts_ >= 2 && date.wMonth != fileDate_.wMonth)
        return false;
    return dateParts_ < 3 || date.wDay == fileDate_.wDay;
}

void StatFile::MoveToCurrentDate(const std::vector<StatFile*>& saved)
{
    lastDayCheck.Refresh();
    const SYSTEMTIME now = lastDayCheck.time;
    std::vector<StatFile*> moving;
    for (StatFile* file : LiveObjects()) {
        if (!file->opened_ || file->SamePeriod(now))
            continue;
        // The ticks since its last save belong to the period it leaves.
        if (std::find(saved.begin(), saved.end(), file) == saved.end())
            WriteSet({file});
        // Its counts are kept until its file can be read.
        if (file->unread_.active)
            file->LeaveBehind();
        moving.push_back(file);
    }
    for (StatFile* file : moving) {
        file->OpenAt(file->basePath_, now, true);
        if (file->dateParts_ == 3)
            newDayPending_ = true;
    }
}

void StatFile::OpenAtCurrent(const std::string& basePath)
{
    // Once per log folder: at start and when the setting changes.
    if (RecoveredBase() != basePath) {
        RecoverLogTree(basePath);
        RecoveredBase() = basePath;
    }
    OpenAt(basePath, OpenDate(), false);
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

    userFolder_ = LogUserFolder(basePath, user);
    SetPath(path);
    LoadForOpen(NewestCopy(path), takeStored);
    fileDate_ = date;
    opened_ = true;
}

StatFileDay::StatFileDay(RecordList* list) : StatFile(list, 3) {}

void StatFileDay::Open(std::string basePath)
{
    OpenAtCurrent(basePath);
}

void StatFileDay::Save()
{
    StatFile::Save();
}

StatFileMonth::StatFileMonth(RecordList* list) : StatFile(list, 2) {}

void StatFileMonth::Save()
{
    StatFile::Save();
}

void StatFileMonth::Open(std::string basePath)
{
    OpenAtCurrent(basePath);
}

StatFileYear::StatFileYear(RecordList* list) : StatFile(list, 1) {}

void StatFileYear::Save()
{
    StatFile::Save();
}

void StatFileYear::Open(std::string basePath)
{
    OpenAtCurrent(basePath);
}
