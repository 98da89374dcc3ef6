#include "stat_file.h"

#include <new>

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

const char kRecordEnd[] = "end";

// Failure messages of a write wait until the statistics mutex is released, so
// the worker and the viewer are not held up while the user reads them.
struct PendingFailures {
    std::vector<std::string> messages;
    bool quit = false;
};

PendingFailures& Pending()
{
    static PendingFailures pending;
    return pending;
}

void QueueMessage(const std::string& text)
{
    Pending().messages.push_back(text);
}

void QueueShortWrite()
{
    QueueMessage("Wrong bytes written");
    Pending().quit = true;
}

enum class ReadOutcome { Read, Missing, Unreadable };

ReadOutcome ReadRecords(const std::string& path, std::vector<ProcRecord>& records)
{
    records.clear();
    LogParser parser(path);
    if (!parser.IsOpen()) {
        // Only a file that is not there counts as empty.
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return ReadOutcome::Missing;
        }
        return ReadOutcome::Unreadable;
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

bool IsOurTemporaryName(const std::string& name)
{
    return name.size() > 8 && name.compare(0, 4, "~klr") == 0 && name.compare(name.size() - 4, 4, ".tmp") == 0;
}

// Deletes the plain files of one folder that this or an earlier version used
// as temporaries ("~klr<name>.tmp"), and nothing else.
void RemoveTemporariesIn(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\~klr*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsOurTemporaryName(data.cFileName))
            DeleteFileA((folder + "\\" + data.cFileName).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

std::vector<std::string> SubFolders(const std::string& folder)
{
    std::vector<std::string> folders;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return folders;
    do {
        std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            folders.push_back(folder + "\\" + name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return folders;
}

// The record lists "temporary TAB target" lines and ends with its end mark; a
// record without the mark was cut short before any move began.
void RollForward(const std::string& userFolder)
{
    const std::string recordPath = StatFile::CommitRecordPath(userFolder);
    std::string text;
    if (!ReadWholeFile(recordPath, text))
        return;
    std::vector<std::pair<std::string, std::string>> moves;
    bool whole = false;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos)
            break;
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line == kRecordEnd) {
            whole = at == text.size();
            break;
        }
        size_t tab = line.find('\t');
        if (tab == std::string::npos)
            break;
        std::string temp = line.substr(0, tab);
        std::string target = line.substr(tab + 1);
        // Only our own temporaries, only onto files of this user's tree.
        const std::string prefix = userFolder + "\\";
        bool sane = temp.compare(0, prefix.size(), prefix) == 0 &&
                    temp.find('\\', prefix.size()) == std::string::npos &&
                    IsOurTemporaryName(temp.substr(prefix.size())) && target.size() > prefix.size() &&
                    target.compare(0, prefix.size(), prefix) == 0;
        if (!sane)
            break;
        moves.emplace_back(temp, target);
    }
    if (whole) {
        for (const auto& move : moves) {
            if (GetFileAttributesA(move.first.c_str()) == INVALID_FILE_ATTRIBUTES)
                continue;  // moved before the tracker stopped
            if (MoveOverTarget(move.first, move.second))
                continue;
            std::string bytes;
            if (ReadWholeFile(move.first, bytes) &&
                WriteNewFile(move.second, bytes, true, WriteFile) == WriteOutcome::Written)
                DeleteFileA(move.first.c_str());
        }
    }
    DeleteFileA(recordPath.c_str());
}

} // namespace

void StatFile::ShowFailures()
{
    PendingFailures pending;
    std::swap(pending, Pending());
    for (const std::string& text : pending.messages)
        TrackerMessageBox(nullptr, text.c_str(), "Kaltrow", MB_ICONERROR);
    // A statistics file that cannot be written ends the tracker.
    if (pending.quit)
        PostQuitMessage(0);
}

std::string StatFile::TemporaryPath() const
{
    if (userFolder_.empty())
        return std::string();
    static const char* const kinds[] = {"", "year", "month", "day"};
    return userFolder_ + "\\~klr" + kinds[dateParts_] + ".tmp";
}

std::string StatFile::CommitRecordPath(const std::string& userFolder)
{
    return userFolder + "\\~klrsave.lst";
}

void StatFile::RecoverLogTree(const std::string& basePath)
{
    // Start-up comes here before it has the statistics mutex: a tracker already
    // running may be in the middle of a save.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "1");
    WaitForMutexPolling(mutex, 10);
    const std::string userFolder = LogUserFolder(basePath, WindowsUserName());
    RollForward(userFolder);
    RemoveTemporariesIn(userFolder);
    for (const std::string& year : SubFolders(userFolder)) {
        RemoveTemporariesIn(year);
        for (const std::string& month : SubFolders(year))
            RemoveTemporariesIn(month);
    }
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

void StatFile::Write()
{
    WaitForMutexPolling(statisticsMutex, 10);
    WriteSet({this});
    ReleaseMutex(statisticsMutex);
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

void StatFile::WriteSet(const std::vector<StatFile*>& files)
{
    struct Item {
        StatFile* file;
        const std::string* text;
        std::string temp;
        bool staged = false;
    };
    std::vector<Item> items;
    for (StatFile* file : files) {
        // A stored file that cannot be read is not replaced by less.
        if (file && (!file->unread_.active || file->RetryUnread()))
            items.push_back({file, nullptr, file->TemporaryPath()});
    }
    {
        // One snapshot of all the lists.
        ListsGuard guard;
        for (Item& item : items)
            item.text = &item.file->BuildText();
    }
    // Each file's new content whole on disk first; no file changes yet.
    std::vector<Item*> staged;
    for (Item& item : items) {
        WriteOutcome outcome = WriteTemporary(item.temp, *item.text, StatFileWriteFile);
        if (outcome == WriteOutcome::Short) {
            for (Item* done : staged)
                DeleteFileA(done->temp.c_str());
            QueueShortWrite();
            return;
        }
        if (outcome == WriteOutcome::Written) {
            item.staged = true;
            staged.push_back(&item);
        }
    }
    // Several moves are recorded first, so that a tracker killed between them
    // finishes them at its next start.
    std::string record;
    if (staged.size() > 1) {
        std::string text;
        for (Item* item : staged)
            text += item->temp + "\t" + item->file->path_ + "\n";
        text += std::string(kRecordEnd) + "\n";
        record = CommitRecordPath(staged.front()->file->userFolder_);
        if (WriteNewFile(record, text, true, WriteFile) != WriteOutcome::Written) {
            DeleteFileA(record.c_str());
            record.clear();
        }
    }
    for (Item* item : staged) {
        if (MoveOverTarget(item->temp, item->file->path_))
            continue;
        // Replacing kept failing: the counts still reach the file, the old way.
        item->file->RewriteDirectly(*item->text);
        DeleteFileA(item->temp.c_str());
    }
    if (!record.empty())
        DeleteFileA(record.c_str());
    for (Item& item : items) {
        // No temporary could be made: written in place, as before the set.
        if (!item.staged)
            item.file->RewriteDirectly(*item.text);
    }
}

bool StatFile::RewriteDirectly(const std::string& text)
{
    switch (WriteNewFile(path_, text, false, StatFileWriteFile)) {
    case WriteOutcome::Written:
        return true;
    case WriteOutcome::NotCreated:
        QueueMessage(path_ + " problem");
        // Nothing written: for a non-empty list that is a short write as well.
        if (!text.empty())
            QueueShortWrite();
        return false;
    case WriteOutcome::Short:
        QueueShortWrite();
        return false;
    }
    return false;
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
        if (FindRecordIndex(*list_, r.Name()) == -1)
            list_->push_back(r);
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
        }
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
            continue;
        }
        if (unread_.keep.count(name))
            continue;
        // The file's times plus what was counted since loading failed.
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
    }
    unread_ = Unread();
    return true;
}

namespace {

bool ReadStatBytes(const std::string& path, std::string& bytes)
{
    try {
        return ReadWholeFile(path, bytes);
    } catch (const std::bad_alloc&) {
        // Kept and tried again like a file another program holds.
        bytes.clear();
        return false;
    }
}

} // namespace

LogParser::LogParser(const std::string& path)
    : open_(ReadStatBytes(path, bytes_)), parser_(bytes_, kFieldChars, kNameChars)
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
