#include "stat_file.h"

#include <vector>

#include "my_mutex.h"
#include "stat_record.h"
#include "tracker_ui.h"

WriteFileFn StatFileWriteFile = WriteFile;

namespace {

// The reader's bounds: fields of up to 1023 characters, names of up to 254.
constexpr size_t kFieldChars = 1023;
constexpr size_t kNameChars = 254;

// A rename onto a file that another process holds open fails for a moment
// (a virus scanner, or any open file under Wine): a few short retries.
constexpr int kReplaceAttempts = 4;
constexpr DWORD kReplaceRetryMs = 25;

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

std::vector<ProcRecord> ReadRecords(const std::string& path)
{
    std::vector<ProcRecord> records;
    LogParser parser(path);
    while (parser.IsOpen() && !parser.AtEnd()) {
        ProcRecord record;
        parser.ReadUsageRecord(record);
        if (!record.Name().empty())
            records.push_back(record);
    }
    return records;
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

std::string StatFile::TemporaryPath(const std::string& path)
{
    if (path.empty())
        return std::string();
    size_t slash = path.find_last_of('\\');
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string leaf = slash == std::string::npos ? path : path.substr(slash + 1);
    // Starts with no digit, so readers of the tree never take it for a day or a year.
    return folder + "~klr" + leaf + ".tmp";
}

void StatFile::Write()
{
    WaitForMutexPolling(statisticsMutex, 10);
    WriteLocked();
    ReleaseMutex(statisticsMutex);
    ShowFailures();
}

void StatFile::CreateFile()
{
    std::string temp = TemporaryPath(path_);
    file_ = temp.empty() ? INVALID_HANDLE_VALUE
                         : ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

void StatFile::CloseFile()
{
    if (file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
}

void StatFile::WriteLocked()
{
    std::string text;
    {
        ListsGuard guard;
        text.reserve(list_->size() * 48);
        for (ProcRecord& r : *list_)
            AppendStatRecord(text, r.Name(), r.LoadedText(), r.ActiveText(), r.MouseText(), r.KeyboardText());
    }
    // The file keeps its old content until the new one is whole on disk beside it.
    CreateFile();
    if (file_ == INVALID_HANDLE_VALUE) {
        RewriteDirectly(text);
        return;
    }
    bool whole = WriteText(text);
    if (whole)
        FlushFileBuffers(file_);
    CloseFile();
    std::string temp = TemporaryPath(path_);
    if (!whole) {
        DeleteFileA(temp.c_str());
        QueueShortWrite();
        return;
    }
    if (ReplaceFromTemporary())
        return;
    // Replacing kept failing: the counts still reach the file, the old way.
    if (RewriteDirectly(text))
        DeleteFileA(temp.c_str());
}

bool StatFile::WriteText(const std::string& text)
{
    DWORD size = static_cast<DWORD>(text.size());
    DWORD written = 0;
    if (file_ != INVALID_HANDLE_VALUE)
        StatFileWriteFile(file_, text.data(), size, &written, nullptr);
    return written == size;
}

bool StatFile::RewriteDirectly(const std::string& text)
{
    file_ = path_.empty() ? INVALID_HANDLE_VALUE
                          : ::CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
    bool opened = file_ != INVALID_HANDLE_VALUE;
    if (!opened)
        QueueMessage(path_ + " problem");
    bool whole = WriteText(text);
    if (!whole)
        QueueShortWrite();
    CloseFile();
    return opened && whole;
}

bool StatFile::ReplaceFromTemporary()
{
    std::string temp = TemporaryPath(path_);
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(temp.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING))
            return true;
        DWORD error = GetLastError();
        bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                    error == ERROR_LOCK_VIOLATION;
        if (!busy || attempt >= kReplaceAttempts)
            return false;
        Sleep(kReplaceRetryMs);
    }
}

void StatFile::Load(std::string path)
{
    std::vector<ProcRecord> records = ReadRecords(path);
    ListsGuard guard;
    for (const ProcRecord& r : records) {
        if (FindRecordIndex(*list_, r.Name()) == -1)
            list_->push_back(r);
    }
}

void StatFile::TakeStored(std::string path)
{
    std::vector<ProcRecord> records = ReadRecords(path);
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

LogParser::LogParser(const std::string& path) : in_(path) {}

bool LogParser::IsOpen() const
{
    return in_.IsOpen();
}

bool LogParser::AtEnd() const
{
    return in_.AtEnd();
}

bool LogParser::ReadUsageRecord(ProcRecord& record)
{
    StatRecordFields fields;
    ReadStatRecord(in_, fields, kFieldChars, kNameChars);
    record = ProcRecord(fields.name);
    record.SetTimes(fields.loaded, fields.active, fields.mouse, fields.keyboard);
    return true;
}

void LogParser::ReadTimeField(My_Time& time, char end)
{
    time = ReadStatTimeField(in_, end, kFieldChars);
}
