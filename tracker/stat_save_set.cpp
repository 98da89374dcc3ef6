// The save set: the files of one save replaced together, and what a tracker
// that stopped in the middle of one left behind.

#include "file_read.h"
#include "file_write.h"
#include "log_paths.h"
#include "my_mutex.h"
#include "stat_file.h"

namespace {

const char kRecordEnd[] = "end";

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
