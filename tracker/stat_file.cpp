#include "stat_file.h"

#include <algorithm>

#include "file_read.h"
#include "file_write.h"
#include "log_paths.h"
#include "my_mutex.h"
#include "stat_record.h"
#include "tracker_ui.h"

WriteFileFn StatFileWriteFile = WriteFile;

namespace {

// The reader's bounds: fields of up to 1023 characters, names of up to 254.
constexpr size_t kFieldChars = 1023;
constexpr size_t kNameChars = 254;

// A stored file that exists but cannot be read (held without read sharing, a
// moment's error) is tried a few times before the object waits for it.
constexpr int kReadAttempts = 3;
constexpr DWORD kReadRetryMs = 20;

const char kShortWriteText[] = "Wrong bytes written";

// Failure messages of a save wait until the statistics mutex is released, so
// the worker and the viewer are not held up while the user reads them.
struct PendingFailures {
    std::vector<std::string> messages;
};

PendingFailures& Pending()
{
    static PendingFailures pending;
    return pending;
}

enum class ReadOutcome { Read, Missing, Unreadable };

ReadOutcome ReadRecords(const std::string& path, std::vector<ProcRecord>& records)
{
    records.clear();
    LogParser parser(path);
    if (!parser.IsOpen()) {
        // Only a file that is not there counts as empty; one too large to hold
        // is kept and tried again like a file another program holds.
        return FileMissing(path) ? ReadOutcome::Missing : ReadOutcome::Unreadable;
    }
    while (!parser.AtEnd()) {
        ProcRecord record;
        parser.ReadUsageRecord(record);
        if (!record.Name().empty())
            records.push_back(record);
    }
    return ReadOutcome::Read;
}

ReadOutcome ReadRecordsPatiently(const std::string& path, std::vector<ProcRecord>& records)
{
    ReadOutcome outcome = ReadRecords(path, records);
    for (int attempt = 1; outcome == ReadOutcome::Unreadable && attempt < kReadAttempts; ++attempt) {
        Sleep(kReadRetryMs);
        outcome = ReadRecords(path, records);
    }
    return outcome;
}

std::array<uint32_t, 4> SecondsOf(const ProcRecord& r)
{
    return {r.Loaded().TotalSeconds(), r.Active().TotalSeconds(), r.Mouse().TotalSeconds(),
            r.Keyboard().TotalSeconds()};
}

My_Time FromSeconds(int64_t s)
{
    if (s < 0)
        s = 0;
    return My_Time(static_cast<int32_t>(s / 3600), static_cast<int32_t>(s / 60 % 60), static_cast<int32_t>(s % 60));
}


} // namespace

void StatFile::QueueMessage(const std::string& text)
{
    // A failure that repeats before its box is answered is not told again.
    std::vector<std::string>& messages = Pending().messages;
    if (TrackerBoxOpen(text) || std::find(messages.begin(), messages.end(), text) != messages.end())
        return;
    messages.push_back(text);
}

void StatFile::QueueShortWrite()
{
    QueueMessage(kShortWriteText);
}

void StatFile::ShowFailures()
{
    // One box at a time: the timer saves again in the box's own message loop,
    // and what those saves queue is shown here once the open box is answered.
    static bool showing = false;
    if (showing) {
        ShowDeferredBoxes();
        return;
    }
    showing = true;
    std::vector<std::string>& messages = Pending().messages;
    while (!messages.empty()) {
        std::string text = messages.front();
        messages.erase(messages.begin());
        ShowTrackerBox(text, "Kaltrow", MB_ICONERROR);
        if (text == kShortWriteText) {
            // A statistics file that cannot be written ends the tracker.
            messages.clear();
            PostQuitMessage(0);
        }
    }
    showing = false;
    ShowDeferredBoxes();
}

void StatFile::Write()
{
    {
        StatisticsHold hold;
        if (!hold.Taken())
            return;
        WriteSet({this});
    }
    ShowFailures();
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


void StatFile::Load(std::string path)
{
    std::vector<ProcRecord> records;
    ReadRecords(path, records);
    AppendNew(records);
}

void StatFile::TakeStored(std::string path)
{
    std::vector<ProcRecord> records;
    ReadRecords(path, records);
    TakeRecords(records);
}

void StatFile::LoadForOpen(const std::string& path, bool takeStored)
{
    std::vector<ProcRecord> records;
    if (ReadRecordsPatiently(path, records) != ReadOutcome::Unreadable) {
        unread_ = Unread();
        if (takeStored)
            TakeRecords(records);
        else
            AppendNew(records);
        return;
    }
    if (takeStored) {
        ListsGuard guard;
        for (ProcRecord& r : *list_)
            r.ResetTimes();
    }
    BeginUnread(path, !takeStored);
}

void StatFile::AppendNew(const std::vector<ProcRecord>& records)
{
    ListsGuard guard;
    for (const ProcRecord& r : records) {
        if (FindRecordIndex(*list_, r.Name()) == -1) {
            list_->push_back(r);
            NoteStoredInDay(r.Name(), SecondsOf(r));
        }
    }
}

void StatFile::TakeRecords(const std::vector<ProcRecord>& records)
{
    ListsGuard guard;
    for (ProcRecord& r : *list_)
        r.ResetTimes();
    // The first line of a name counts, as in Load.
    std::vector<bool> taken(list_->size(), false);
    for (const ProcRecord& r : records) {
        int i = FindRecordIndex(*list_, r.Name());
        if (i == -1) {
            list_->push_back(r);
            taken.push_back(true);
        } else if (!taken[static_cast<size_t>(i)]) {
            (*list_)[static_cast<size_t>(i)].SetTimes(r.Loaded(), r.Active(), r.Mouse(), r.Keyboard());
            taken[static_cast<size_t>(i)] = true;
        } else {
            continue;
        }
        NoteStoredInDay(r.Name(), SecondsOf(r));
    }
}

void StatFile::BeginUnread(const std::string& path, bool keepListed)
{
    unread_ = Unread();
    unread_.active = true;
    ListsGuard guard;
    for (const ProcRecord& r : *list_) {
        if (keepListed)
            unread_.keep.insert(r.Name());
        else
            unread_.base[r.Name()] = SecondsOf(r);
    }
    // The worker makes a month or year record that is missing as a copy of the
    // day record, whose stored times the total already holds.
    if (dateParts_ < 3) {
        for (StatFile* other : LiveObjects()) {
            if (other->dateParts_ != 3 || other->list_ == list_)
                continue;
            for (const ProcRecord& r : *other->list_) {
                if (FindRecordIndex(*list_, r.Name()) == -1 && !unread_.base.count(r.Name()))
                    unread_.base[r.Name()] = SecondsOf(r);
            }
        }
    }
    // Told once; the file is tried again at every save.
    QueueMessage(path + " problem");
}

// Joining a file that could not be read: each stored second is in each file
// once and each counted second is added once. A name the list lacks takes the
// file's times. A name the list had when loading failed and whose counters a
// load keeps (a new log folder) keeps them. Any other name gets the file's times
// plus what the list gained since loading failed (`base`). A month or year record
// the worker made meanwhile is a copy of its day record, so `base` holds the day
// file's stored times in it, which the total already has (NoteStoredInDay).
bool StatFile::RetryUnread()
{
    std::vector<ProcRecord> records;
    ReadOutcome outcome = ReadRecords(path_, records);
    if (outcome == ReadOutcome::Unreadable)
        return false;
    ListsGuard guard;
    std::set<std::string> seen;
    for (const ProcRecord& stored : records) {
        const std::string name = stored.Name();
        if (!seen.insert(name).second)
            continue;
        int i = FindRecordIndex(*list_, name);
        if (i == -1) {
            list_->push_back(stored);
            NoteStoredInDay(name, SecondsOf(stored));
            continue;
        }
        if (unread_.keep.count(name))
            continue;
        ProcRecord& r = (*list_)[static_cast<size_t>(i)];
        std::array<uint32_t, 4> now = SecondsOf(r);
        std::array<uint32_t, 4> base = {0, 0, 0, 0};
        auto found = unread_.base.find(name);
        if (found != unread_.base.end())
            base = found->second;
        My_Time fromFile[4] = {stored.Loaded(), stored.Active(), stored.Mouse(), stored.Keyboard()};
        My_Time merged[4];
        for (int k = 0; k < 4; ++k) {
            int64_t counted = static_cast<int64_t>(now[static_cast<size_t>(k)]) - base[static_cast<size_t>(k)];
            merged[k] = counted <= 0 ? fromFile[k] : FromSeconds(fromFile[k].TotalSeconds() + counted);
        }
        r.SetTimes(merged[0], merged[1], merged[2], merged[3]);
        NoteStoredInDay(name, SecondsOf(stored));
    }
    unread_ = Unread();
    return true;
}

void StatFile::NoteStoredInDay(const std::string& name, const std::array<uint32_t, 4>& seconds)
{
    // A day file left behind joins into its own copy, not into the day list.
    if (dateParts_ != 3 || ownList_)
        return;
    for (StatFile* total : LiveObjects()) {
        if (total->dateParts_ == 3 || !total->unread_.active || FindRecordIndex(*total->list_, name) != -1)
            continue;
        std::array<uint32_t, 4>& base = total->unread_.base[name];
        for (size_t k = 0; k < 4; ++k)
            base[k] += seconds[k];
    }
}

void StatFile::LeaveBehind()
{
    // An object of the same kind on a copy of the list, which the next saves
    // join with the file once it can be read, then write and let go.
    struct LeftBehindFile : StatFile {
        explicit LeftBehindFile(int dateParts) : StatFile(nullptr, dateParts, false) {}
        void Open(std::string) override {}
    };
    std::unique_ptr<StatFile> old(new LeftBehindFile(dateParts_));
    old->ownList_.reset(new RecordList());
    old->list_ = old->ownList_.get();
    {
        ListsGuard guard;
        *old->list_ = *list_;
    }
    old->path_ = path_;
    old->basePath_ = basePath_;
    old->userFolder_ = userFolder_;
    old->fileDate_ = fileDate_;
    old->opened_ = true;
    old->unread_ = unread_;
    unread_ = Unread();
    leftBehind_.push_back(std::move(old));
}

void StatFile::SaveLeftBehind()
{
    for (size_t i = 0; i < leftBehind_.size();) {
        StatFile& old = *leftBehind_[i];
        old.WriteSet({&old});
        std::string bytes;
        bool done = !old.unread_.active && TryReadWholeFile(old.path_, bytes) && bytes == old.saveText_;
        if (done)
            leftBehind_.erase(leftBehind_.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

void StatFile::TellUnsaved()
{
    std::vector<std::string> paths;
    for (StatFile* file : LiveObjects()) {
        if (file->unread_.active)
            paths.push_back(file->path_);
        for (const std::unique_ptr<StatFile>& old : file->leftBehind_)
            paths.push_back(old->path_);
    }
    for (const std::string& path : paths)
        ShowTrackerBox(path + " could not be read. The times counted for it since then could not be saved.",
                       "Kaltrow", MB_ICONERROR);
}

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
