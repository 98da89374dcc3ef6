// The three statistics-file objects: opening, joining a file read late, the
// saves and the change of date.

#include "stat_file.h"

#include <algorithm>
#include <set>

#include "file_read.h"
#include "log_paths.h"
#include "my_mutex.h"
#include "settings.h"
#include "tracker_ui.h"

WriteFileFn StatFileWriteFile = WriteFile;

namespace {

// The reader's bounds: fields of up to 1023 characters, names of up to 254.
constexpr size_t kFieldChars = 1023;
constexpr size_t kNameChars = 254;

// A file another program has open for a moment (a virus scanner) is tried a
// few times when it is opened, before the object waits for it.
constexpr int kReadAttempts = 3;
constexpr DWORD kReadRetryMs = 20;

const char kShortWriteText[] = "Wrong bytes written";

void SystemLocalTime(SYSTEMTIME* time)
{
    GetLocalTime(time);
}

bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

// True while a save's round and day change run.
bool saveRunning = false;
// Set by a day change until the day object has told the user.
bool newDayPending = false;

// Failure messages of a save wait until the statistics mutex is released, so
// the worker and the viewer are not held up while the user reads them.
std::vector<std::string>& PendingMessages()
{
    static std::vector<std::string> messages;
    return messages;
}

void QueueMessage(const std::string& text)
{
    // A failure that repeats before its box is answered is not told again.
    std::vector<std::string>& messages = PendingMessages();
    if (TrackerBoxOpen(text) || std::find(messages.begin(), messages.end(), text) != messages.end())
        return;
    messages.push_back(text);
}

// Shows the queued failure messages; a short write then ends the tracker (its
// message loop gets the quit message).
void ShowFailures()
{
    // One box at a time: the timer saves again in the box's own message loop,
    // and what those saves queue is shown here once the open box is answered.
    static bool showing = false;
    if (showing) {
        ShowDeferredBoxes();
        return;
    }
    showing = true;
    std::vector<std::string>& messages = PendingMessages();
    while (!messages.empty()) {
        std::string text = messages.front();
        messages.erase(messages.begin());
        ShowTrackerBox(text, "Kaltrow", MB_ICONERROR);
        if (text == kShortWriteText) {
            messages.clear();
            PostQuitMessage(0);
        }
    }
    showing = false;
    ShowDeferredBoxes();
}

bool SameFile(const std::string& a, const std::string& b)
{
    return SameName(FullPath(a), FullPath(b));
}

// What the newest whole copy of the file holds; false while that is not known:
// the copy exists but cannot be read, or its drive is not there.
bool ReadNewest(const std::string& path, int attempts, std::vector<ProcRecord>& records)
{
    records.clear();
    const std::string copy = SaveRounds::Current().NewestCopy(path);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (attempt > 0)
            Sleep(kReadRetryMs);
        LogParser parser(copy);
        if (parser.IsOpen()) {
            records = parser.Records();
            return true;
        }
    }
    return copy == path && FileMissing(path);
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
    objects.erase(std::remove(objects.begin(), objects.end(), this), objects.end());
}

void StatFile::FinishLeftovers(const std::string& basePath)
{
    // Start-up comes here before it has the statistics mutex: a viewer may be
    // reading the tree.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "1");
    WaitForMutexPolling(mutex, 10);
    SaveRounds::Current().Finish(LogUserFolder(basePath, WindowsUserName()));
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

void StatFile::OpenAtCurrent(const std::string& basePath)
{
    SYSTEMTIME date = fileDate_;
    if (!opened_)
        ReadLocalTime(&date);
    OpenAt(basePath, date, Opening::Loading);
}

void StatFile::OpenAt(const std::string& basePath, const SYSTEMTIME& date, Opening opening)
{
    const std::string user = WindowsUserName();
    std::string path;
    if (dateParts_ == 3)
        path = LogDayFile(basePath, user, date.wYear, date.wMonth, date.wDay);
    else if (dateParts_ == 2)
        path = LogMonthTotal(basePath, user, date.wYear, date.wMonth);
    else
        path = LogYearTotal(basePath, user, date.wYear);
    // One join waits per file: reopening the file that waits (its folder spelled
    // another way) changes nothing. Another file leaves it behind, and so it
    // does a file that is to take the names of an earlier one still waiting.
    const bool sameFile = opened_ && SameFile(path, path_);
    if (!sameFile && (waiting_ || !leftBehind_.empty()))
        LeaveBehind(opening == Opening::NewPeriod);
    const bool same = sameFile && waiting_;
    SetBasePath(basePath);
    SetPath(path);
    fileDate_ = date;
    opened_ = true;
    // Copies and moves compare resolved paths; one too long to resolve fails
    // at its first save as it is.
    userFolder_ = FullPath(LogUserFolder(basePath, user));
    if (userFolder_.empty())
        userFolder_ = LogUserFolder(basePath, user);
    MakeFolders();
    if (same)
        return;
    Wait(opening);
    TryJoin(kReadAttempts);
}

void StatFile::MakeFolders() const
{
    // One level per call; a missing parent shows at the next save.
    const std::string user = WindowsUserName();
    CreateDirectoryA(basePath_.c_str(), nullptr);
    CreateDirectoryA(LogUserFolder(basePath_, user).c_str(), nullptr);
    if (dateParts_ >= 2)
        CreateDirectoryA(LogYearFolder(basePath_, user, fileDate_.wYear).c_str(), nullptr);
    if (dateParts_ >= 3)
        CreateDirectoryA(LogMonthFolder(basePath_, user, fileDate_.wYear, fileDate_.wMonth).c_str(), nullptr);
}

StatTarget StatFile::Target() const
{
    return StatTarget{userFolder_, fileDate_.wYear, dateParts_ >= 2 ? fileDate_.wMonth : 0,
                      dateParts_ >= 3 ? fileDate_.wDay : 0};
}

void StatFile::Wait(Opening opening)
{
    ListsGuard guard;
    for (ProcRecord& r : *list_) {
        if (opening == Opening::NewPeriod)
            r.ResetTimes();
        r.ResetCounted();
    }
    opening_ = opening;
    openedSize_ = list_->size();
    waiting_ = true;
}

bool StatFile::TryJoin(int attempts)
{
    if (!waiting_)
        return true;
    if (!FirstOnItsFile(this))
        return false;
    // The drive may have come since the opening: what earlier runs left on it
    // is finished before the file is read.
    FinishLeftovers(basePath_);
    MakeFolders();
    std::vector<ProcRecord> stored;
    if (!ReadNewest(Target().Path(), attempts, stored)) {
        Tell();
        return false;
    }
    Join(stored, opening_, openedSize_);
    waiting_ = false;
    told_ = false;
    return true;
}

// A file read late leaves the list as if it had been read at its opening, with
// everything counted since on top; on time it is the same with nothing counted.
// Each record carries the seconds counted since the opening, and a record the
// worker copies from a day record starts with none. Of each name the file's
// first line counts:
// - a name the list lacks is appended with the file's times;
// - opened by loading, a name the list had at the opening keeps its counters;
// - any other name takes the file's times plus what it counted since.
// Only this list is looked at.
void StatFile::Join(const std::vector<ProcRecord>& stored, Opening opening, size_t openedSize)
{
    ListsGuard guard;
    std::set<std::string> seen;
    for (const ProcRecord& record : stored) {
        if (!seen.insert(record.NameRef()).second)
            continue;
        const int i = FindRecordIndex(*list_, record.NameRef());
        if (i == -1)
            list_->push_back(record);
        else if (opening == Opening::NewPeriod || static_cast<size_t>(i) >= openedSize)
            (*list_)[static_cast<size_t>(i)].TakeStoredPlusCounted(record);
    }
}

void StatFile::Load(std::string path)
{
    Join(LogParser(path).Records(), Opening::Loading, list_->size());
}

void StatFile::LeaveBehind(bool periodChange)
{
    // An object of the same kind on a copy of the list, which the saves join
    // with the file once it is known, write, and then let go.
    struct LeftBehindFile : StatFile {
        explicit LeftBehindFile(int dateParts) : StatFile(nullptr, dateParts, false) {}
        void Open(std::string) override {}
    };
    std::unique_ptr<StatFile> old(new LeftBehindFile(dateParts_));
    old->ownList_.reset(new RecordList());
    {
        ListsGuard guard;
        *old->ownList_ = *list_;
    }
    old->list_ = old->ownList_.get();
    old->path_ = path_;
    old->basePath_ = basePath_;
    old->userFolder_ = userFolder_;
    old->fileDate_ = fileDate_;
    old->opened_ = true;
    old->waiting_ = waiting_;
    old->opening_ = opening_;
    old->openedSize_ = openedSize_;
    old->told_ = told_;
    old->periodLeft_ = periodChange;
    leftBehind_.push_back(std::move(old));
    waiting_ = false;
}

bool StatFile::FirstOnItsFile(const StatFile* file) const
{
    // One join waits per file: a later one on the same file reads what the
    // earlier one wrote.
    for (const std::unique_ptr<StatFile>& old : leftBehind_) {
        if (old.get() == file)
            return true;
        if (SameFile(old->path_, file->path_))
            return false;
    }
    return true;
}

void StatFile::CatchUp(std::vector<StatFile*>& known)
{
    for (const std::unique_ptr<StatFile>& old : leftBehind_) {
        if (FirstOnItsFile(old.get()) && old->TryJoin(1))
            known.push_back(old.get());
    }
    if (TryJoin(1))
        known.push_back(this);
}

void StatFile::LetGoWritten()
{
    // Oldest first: a file left behind by a change of period gives its names,
    // at 0:0:0, to the lists of the periods after it, as the change would have;
    // those are written again before they go.
    while (!leftBehind_.empty() && leftBehind_.front()->written_) {
        std::unique_ptr<StatFile> old = std::move(leftBehind_.front());
        leftBehind_.erase(leftBehind_.begin());
        if (!old->periodLeft_)
            continue;
        ListsGuard guard;
        stale_ = true;
        std::vector<RecordList*> later = {list_};
        for (const std::unique_ptr<StatFile>& next : leftBehind_) {
            later.push_back(next->list_);
            next->written_ = false;
        }
        for (const ProcRecord& r : *old->list_) {
            for (RecordList* list : later) {
                if (FindRecordIndex(*list, r.NameRef()) == -1)
                    list->push_back(ProcRecord(r.Name()));
            }
        }
    }
}

void StatFile::Tell()
{
    // Once a spell: until the file is read or written again.
    if (!told_)
        QueueMessage(path_ + " problem");
    told_ = true;
}

const std::string& StatFile::BuildText()
{
    // The buffer is kept from save to save: a fresh one of a large list costs more
    // under Wine than filling it (new pages three times a second).
    saveText_.clear();
    saveText_.reserve(list_->size() * 48);
    for (ProcRecord& r : *list_)
        AppendStatRecord(saveText_, r.NameRef(), r.LoadedText(), r.ActiveText(), r.MouseText(), r.KeyboardText());
    return saveText_;
}

void StatFile::WriteRound(const std::vector<StatFile*>& files)
{
    std::vector<SaveRounds::File> round;
    {
        // One snapshot of all the lists.
        ListsGuard guard;
        for (StatFile* file : files)
            round.push_back({file->Target(), &file->BuildText()});
    }
    std::vector<SaveRounds::Saved> saved;
    if (!SaveRounds::Current().Save(round, saved)) {
        QueueMessage(kShortWriteText);
        return;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        StatFile& file = *files[i];
        file.written_ = saved[i] == SaveRounds::Saved::Done || saved[i] == SaveRounds::Saved::Held;
        file.stale_ = false;
        switch (saved[i]) {
        case SaveRounds::Saved::Done:
            file.told_ = false;
            break;
        case SaveRounds::Saved::Held:
            // Nothing is lost: its copy waits, and the tracker goes on.
            file.Tell();
            break;
        case SaveRounds::Saved::Absent:
            // Read again when the drive is back, as a file opened now.
            file.Wait(Opening::Loading);
            file.Tell();
            break;
        case SaveRounds::Saved::Failed:
            QueueMessage(file.path_ + " problem");
            // Nothing written: for a non-empty list that is a short write as well.
            if (!round[i].bytes->empty())
                QueueMessage(kShortWriteText);
            break;
        }
    }
}

void StatFile::Write()
{
    {
        StatisticsHold hold;
        if (!hold.Taken())
            return;
        std::vector<StatFile*> round;
        CatchUp(round);
        WriteRound(round);
        LetGoWritten();
    }
    ShowFailures();
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
        std::vector<StatFile*> round;
        for (StatFile* file : files) {
            if (file)
                file->CatchUp(round);
        }
        WriteRound(round);
        for (StatFile* file : files) {
            if (file)
                file->LetGoWritten();
        }
        MoveToCurrentDate(files);
        saveRunning = false;
    }
    // The timer saves again while a box is open: counting never waits for the user.
    ShowFailures();

    bool withDay = std::any_of(files.begin(), files.end(), [](StatFile* f) { return f && f->dateParts_ == 3; });
    if (!withDay || !newDayPending)
        return;
    newDayPending = false;
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
        // The ticks since its last save belong to the period it leaves, and so
        // do names a file left behind gave it after its save.
        if (file->stale_ || std::find(saved.begin(), saved.end(), file) == saved.end()) {
            std::vector<StatFile*> round;
            file->CatchUp(round);
            WriteRound(round);
            file->LetGoWritten();
        }
        moving.push_back(file);
    }
    for (StatFile* file : moving) {
        file->OpenAt(file->basePath_, now, Opening::NewPeriod);
        if (file->dateParts_ == 3)
            newDayPending = true;
    }
}

void StatFile::TellUnsaved()
{
    std::vector<std::string> paths;
    for (StatFile* file : LiveObjects()) {
        if (file->waiting_)
            paths.push_back(file->path_);
        for (const std::unique_ptr<StatFile>& old : file->leftBehind_) {
            if (old->waiting_)
                paths.push_back(old->path_);
        }
    }
    for (const std::string& path : paths)
        ShowTrackerBox(path + " could not be read. The times counted for it since then could not be saved.",
                       "Kaltrow", MB_ICONERROR);
}

StatFileDay::StatFileDay(RecordList* list) : StatFile(list, 3) {}
void StatFileDay::Open(std::string basePath) { OpenAtCurrent(basePath); }
void StatFileDay::Save() { StatFile::Save(); }

StatFileMonth::StatFileMonth(RecordList* list) : StatFile(list, 2) {}
void StatFileMonth::Open(std::string basePath) { OpenAtCurrent(basePath); }

StatFileYear::StatFileYear(RecordList* list) : StatFile(list, 1) {}
void StatFileYear::Open(std::string basePath) { OpenAtCurrent(basePath); }

LogParser::LogParser(const std::string& path)
    : open_(TryReadWholeFile(path, bytes_)), parser_(bytes_, kFieldChars, kNameChars)
{
}

bool LogParser::ReadUsageRecord(ProcRecord& record)
{
    const char* name = nullptr;
    size_t length = 0;
    My_Time times[4];
    if (!parser_.ReadRecord(name, length, times))
        length = 0;
    record = ProcRecord(std::string(name ? name : "", length));
    record.SetTimes(times[0], times[1], times[2], times[3]);
    return true;
}

void LogParser::ReadTimeField(My_Time& time, char end)
{
    time = parser_.ReadTimeField(end);
}

std::vector<ProcRecord> LogParser::Records()
{
    std::vector<ProcRecord> records;
    while (!AtEnd()) {
        ProcRecord record;
        ReadUsageRecord(record);
        if (!record.Name().empty())
            records.push_back(record);
    }
    return records;
}
