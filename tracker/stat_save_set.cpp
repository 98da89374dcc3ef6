// The save set: the files of one save replaced together, and what a tracker
// that stopped in the middle of one, or could not finish it, left behind.

#include "stat_save_set.h"

#include <algorithm>
#include <cstdlib>

#include "data_folder.h"
#include "file_read.h"
#include "file_write.h"
#include "log_paths.h"
#include "my_mutex.h"
#include "stat_file.h"

namespace {

const char kRecordEnd[] = "end\n";
const char kRecordPrefix[] = "~klrsave.";
const char kRecordSuffix[] = ".lst";
// Beside the settings files: the trees are remembered whatever log folder the
// next start is given.
const char kTreesFile[] = "logtrees.lst";
// A record is a few lines; anything larger was not written by a tracker.
constexpr DWORD kRecordLimit = 64 * 1024;
const char* const kKinds[] = {"", "year", "month", "day"};

std::string MarkText(uint64_t mark)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (size_t i = 16; i-- > 0; mark >>= 4)
        text[i] = digits[mark & 15];
    return text;
}

// The mark of a name made of `prefix`, 16 hexadecimal digits and `suffix`.
bool MarkOf(const std::string& name, const std::string& prefix, const std::string& suffix, uint64_t& mark)
{
    if (name.size() != prefix.size() + 16 + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    mark = 0;
    for (size_t i = prefix.size(); i < prefix.size() + 16; ++i) {
        const char c = name[i];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return false;
        mark = mark << 4 | static_cast<uint64_t>(digit);
    }
    return true;
}

char Folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Windows matches names without regard to case; only ASCII letters are folded
// here, so two different names are never taken for one.
bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Folded(a[i]) != Folded(b[i]))
            return false;
    }
    return true;
}

bool Listed(const std::vector<std::string>& list, const std::string& text)
{
    return std::any_of(list.begin(), list.end(), [&](const std::string& item) { return SameText(item, text); });
}

std::string NameOf(const std::string& path)
{
    return path.substr(path.find_last_of('\\') + 1);
}

std::vector<std::string> Split(const std::string& text, char at)
{
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t end; (end = text.find(at, from)) != std::string::npos; from = end + 1)
        parts.push_back(text.substr(from, end - from));
    parts.push_back(text.substr(from));
    return parts;
}

// A year, month or day as the tracker names it: decimal, no leading zero, 1 to `max`.
bool IsNumber(const std::string& text, int max)
{
    return !text.empty() && text.size() <= 4 && text[0] != '0' &&
           text.find_first_not_of("0123456789") == std::string::npos && std::atoi(text.c_str()) <= max;
}

// Date parts of the round's own temporary in the user folder; 0 for any other path.
int TemporaryKind(const std::string& folder, uint64_t mark, const std::string& temp)
{
    for (int parts = 1; parts <= 3; ++parts) {
        if (SameText(temp, SaveSets::TemporaryPath(folder, parts, mark)))
            return parts;
    }
    return 0;
}

// Inside the user folder, named as the tracker names that kind: year\total,
// year\month\total or year\month\day. A device name is none of these.
bool IsTargetOfKind(const std::string& folder, int dateParts, const std::string& target)
{
    const std::string prefix = folder + "\\";
    if (target.size() <= prefix.size() || !SameText(target.substr(0, prefix.size()), prefix))
        return false;
    const std::vector<std::string> parts = Split(target.substr(prefix.size()), '\\');
    if (parts.size() != (dateParts == 1 ? 2u : 3u) || !IsNumber(parts[0], 9999))
        return false;
    if (dateParts >= 2 && !IsNumber(parts[1], 12))
        return false;
    return dateParts == 3 ? IsNumber(parts[2], 31) : parts.back() == "total";
}

// The moves of a record whose every byte was written (it ends with its end
// mark), each path as Windows resolves it; a line that is not one of ours is
// skipped. False for a record cut short: no move of it had begun.
bool ReadRecord(const std::string& folder, uint64_t mark, const std::string& text,
                std::vector<std::pair<std::string, std::string>>& moves)
{
    const std::string end = kRecordEnd;
    if (text.size() < end.size() || text.compare(text.size() - end.size(), end.size(), end) != 0 ||
        (text.size() > end.size() && text[text.size() - end.size() - 1] != '\n'))
        return false;
    for (const std::string& line : Split(text.substr(0, text.size() - end.size()), '\n')) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        const std::string temp = SaveSets::Resolved(line.substr(0, tab));
        const std::string target = SaveSets::Resolved(line.substr(tab + 1));
        const int parts = TemporaryKind(folder, mark, temp);
        if (parts != 0 && IsTargetOfKind(folder, parts, target))
            moves.emplace_back(temp, target);
    }
    return true;
}

// Deleted now or not there at all.
bool Gone(const std::string& path)
{
    return DeleteFileA(path.c_str()) || FileMissing(path);
}

bool IsOurTemporaryName(const std::string& name)
{
    return name.size() > 8 && name.compare(0, 4, "~klr") == 0 && name.compare(name.size() - 4, 4, ".tmp") == 0;
}

// Deletes the plain files of one folder that this or an earlier version used
// as temporaries ("~klr<name>.tmp"), except those still to be moved. Names
// carry the round's mark, so they are compared whatever the folder's spelling.
void RemoveTemporariesIn(const std::string& folder, const std::vector<std::string>& keepNames,
                         const std::vector<std::string>& keepMarks)
{
    ForEachEntry(folder + "\\~klr*", [&](const WIN32_FIND_DATAA& data) {
        const std::string name = data.cFileName;
        bool kept = Listed(keepNames, name);
        for (const std::string& mark : keepMarks)
            kept = kept || name.find("." + mark + ".") != std::string::npos;
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsOurTemporaryName(name) && !kept)
            DeleteFileA((folder + "\\" + name).c_str());
    });
}

std::vector<std::string> SubFolders(const std::string& folder)
{
    std::vector<std::string> folders;
    ForEachEntry(folder + "\\*", [&](const WIN32_FIND_DATAA& data) {
        const std::string name = data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..")
            folders.push_back(folder + "\\" + name);
    });
    return folders;
}

// Only a folder named as this user's folder is put right from the remembered list.
bool IsUserFolder(const std::string& folder)
{
    return !folder.empty() && SameText(NameOf(folder), WindowsUserName());
}

} // namespace

SaveSets& SaveSets::Current()
{
    static SaveSets sets;
    return sets;
}

std::string SaveSets::Resolved(const std::string& path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return std::string();
    char buffer[MAX_PATH];
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof(buffer), buffer, nullptr);
    if (length == 0 || length >= sizeof(buffer))
        return std::string();
    std::string full(buffer, length);
    while (full.size() > 3 && full.back() == '\\')
        full.pop_back();
    return full;
}

std::string SaveSets::TemporaryPath(const std::string& folder, int dateParts, uint64_t mark)
{
    if (folder.empty())
        return std::string();
    return folder + "\\~klr" + kKinds[dateParts] + "." + MarkText(mark) + ".tmp";
}

std::string SaveSets::RecordPath(const std::string& folder, uint64_t mark)
{
    return folder + "\\" + kRecordPrefix + MarkText(mark) + kRecordSuffix;
}

std::string SaveSets::TreesPath()
{
    return DataFolder() + "\\" + kTreesFile;
}

uint64_t SaveSets::NextMark()
{
    // Later rounds have higher marks, also across runs: the clock, and never
    // below a mark found in a tree.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t clock = static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    lastMark_ = std::max(lastMark_ + 1, clock);
    return lastMark_;
}

bool SaveSets::Save(const std::vector<File>& files, std::vector<Failure>& failures)
{
    failures.assign(files.size(), Failure::None);
    const uint64_t mark = NextMark();
    std::vector<std::string> temps(files.size());
    std::vector<bool> staged(files.size(), false);
    // Each file's new content whole on disk first; no file changes yet.
    for (size_t i = 0; i < files.size(); ++i) {
        temps[i] = TemporaryPath(files[i].folder, files[i].dateParts, mark);
        const WriteOutcome outcome = WriteTemporary(temps[i], *files[i].bytes, StatFileWriteFile);
        if (outcome == WriteOutcome::Short) {
            for (size_t j = 0; j < i; ++j) {
                if (staged[j])
                    DeleteFileA(temps[j].c_str());
            }
            return false;
        }
        staged[i] = outcome == WriteOutcome::Written;
    }
    // Then the record of the moves, one per tree: from here on every step can be
    // finished by a later round or start.
    std::vector<std::string> records(files.size());
    std::vector<bool> grouped(files.size(), false);
    for (size_t i = 0; i < files.size(); ++i) {
        if (!staged[i] || grouped[i])
            continue;
        std::string text;
        std::vector<size_t> members;
        for (size_t j = i; j < files.size(); ++j) {
            if (staged[j] && !grouped[j] && files[j].folder == files[i].folder) {
                grouped[j] = true;
                members.push_back(j);
                text += temps[j] + "\t" + files[j].target + "\n";
            }
        }
        text += kRecordEnd;
        const std::string record = RecordPath(files[i].folder, mark);
        if (WriteNewFile(record, text, true, WriteFile) != WriteOutcome::Written) {
            DeleteFileA(record.c_str());
            continue;
        }
        records_.push_back(record);
        for (size_t j : members)
            records[j] = record;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        if (!staged[i])
            continue;
        if (!records[i].empty())
            Supersede(files[i].target, mark);
        moves_.push_back({mark, files[i].folder, records[i], temps[i], files[i].target, false, false});
    }
    for (size_t i = 0; i < files.size(); ++i) {
        bool done = false;
        if (staged[i]) {
            auto move = std::find_if(moves_.begin(), moves_.end(), [&](const Move& m) { return m.temp == temps[i]; });
            done = Finish(*move, files[i].bytes, kMoveAttempts, failures[i]);
            if (failures[i] == Failure::NotCreated)
                failures[i] = Failure::Pending;
        } else {
            // No temporary could be made: written in place, as before the set.
            switch (WriteNewFile(files[i].target, *files[i].bytes, true, StatFileWriteFile)) {
            case WriteOutcome::Written:
                done = true;
                break;
            case WriteOutcome::NotCreated:
                failures[i] = Failure::NotCreated;
                break;
            case WriteOutcome::Short:
                failures[i] = Failure::Short;
                break;
            }
        }
        if (done)
            Supersede(files[i].target, mark + 1);
    }
    ForgetFinished();
    RememberTrees();
    return true;
}

bool SaveSets::Finish(Move& move, const std::string* bytes, int attempts, Failure& failure)
{
    if (MoveOverTarget(move.temp, move.target, attempts)) {
        move.tempGone = true;
        return true;
    }
    // The move keeps failing (another program holds the target): the bytes go
    // into the target itself, and the temporary stays until that is known whole.
    std::string read;
    if (!bytes) {
        if (!TryReadWholeFile(move.temp, read))
            return false;
        bytes = &read;
    }
    switch (WriteNewFile(move.target, *bytes, true, StatFileWriteFile)) {
    case WriteOutcome::Written:
        move.tempGone = DeleteFileA(move.temp.c_str()) != FALSE;
        return true;
    case WriteOutcome::NotCreated:
        failure = Failure::NotCreated;
        return false;
    case WriteOutcome::Short:
        failure = Failure::Short;
        return false;
    }
    return false;
}

bool SaveSets::FinishEarlier(const std::vector<std::string>& renewed)
{
    // Once a round: the next round tries again anyway.
    return Settle(renewed, 1);
}

bool SaveSets::Settle(const std::vector<std::string>& renewed, int attempts)
{
    bool cut = false;
    // Oldest first, so that of two moves onto one target the newer lands last.
    for (size_t i = 0; i < moves_.size(); ++i) {
        Move& move = moves_[i];
        if (move.superseded || Listed(renewed, move.target))
            continue;
        Failure failure = Failure::None;
        // A temporary that is gone was moved before the tracker stopped.
        if (FileMissing(move.temp) || Finish(move, nullptr, attempts, failure))
            Supersede(move.target, move.mark + 1);
        cut = cut || failure == Failure::Short;
    }
    ForgetFinished();
    RememberTrees();
    return cut;
}

void SaveSets::Supersede(const std::string& target, uint64_t below)
{
    for (Move& move : moves_) {
        if (move.mark < below && SameText(move.target, target))
            move.superseded = true;
    }
}

void SaveSets::ForgetFinished()
{
    // A superseded move only needs its temporary gone; unrecorded, a temporary
    // left behind is removed at the next start.
    moves_.erase(std::remove_if(moves_.begin(), moves_.end(),
                                [](const Move& move) { return move.superseded && (move.tempGone || Gone(move.temp)); }),
                 moves_.end());
    records_.erase(std::remove_if(records_.begin(), records_.end(),
                                  [&](const std::string& record) {
                                      bool open = std::any_of(moves_.begin(), moves_.end(), [&](const Move& m) {
                                          return !m.superseded && m.record == record;
                                      });
                                      return !open && Gone(record);
                                  }),
                   records_.end());
}

void SaveSets::RecoverTree(const std::string& folder)
{
    struct Found {
        uint64_t mark;
        std::string path;
        bool small;
    };
    std::vector<Found> found;
    ForEachEntry(folder + "\\" + kRecordPrefix + "*", [&](const WIN32_FIND_DATAA& data) {
        const std::string name = data.cFileName;
        uint64_t mark = 0;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return;
        if (MarkOf(name, kRecordPrefix, kRecordSuffix, mark))
            found.push_back({mark, folder + "\\" + name, data.nFileSizeHigh == 0 && data.nFileSizeLow <= kRecordLimit});
        else if (name == "~klrsave.lst")
            // An earlier version's record: its temporaries do not name their
            // round, so whose they are cannot be told. The files keep what they hold.
            DeleteFileA((folder + "\\" + name).c_str());
    });
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.mark < b.mark; });
    std::vector<std::string> unread;  // marks whose temporaries must stay
    const size_t first = moves_.size();
    for (const Found& record : found) {
        lastMark_ = std::max(lastMark_, record.mark);
        // This run's own records (their moves are known already), by the name
        // that carries the mark, whatever the tree's spelling.
        bool own = std::any_of(records_.begin(), records_.end(),
                               [&](const std::string& path) { return NameOf(path) == NameOf(record.path); });
        if (!record.small || own)
            continue;
        std::string text;
        std::vector<std::pair<std::string, std::string>> lines;
        if (!TryReadWholeFile(record.path, text)) {
            unread.push_back(MarkText(record.mark));
            continue;
        }
        if (!ReadRecord(folder, record.mark, text, lines)) {
            DeleteFileA(record.path.c_str());
            continue;
        }
        records_.push_back(record.path);
        for (const auto& line : lines)
            moves_.push_back({record.mark, folder, record.path, line.first, line.second, false, false});
    }
    // Of the recorded moves onto one target only the newest is made.
    for (size_t i = first; i < moves_.size(); ++i)
        Supersede(moves_[i].target, moves_[i].mark);
    std::stable_sort(moves_.begin(), moves_.end(), [](const Move& a, const Move& b) { return a.mark < b.mark; });
    Settle({}, kMoveAttempts);
    SweepTemporaries(folder, unread);
}

void SaveSets::SweepTemporaries(const std::string& folder, const std::vector<std::string>& keepMarks) const
{
    std::vector<std::string> keep;
    for (const Move& move : moves_)
        keep.push_back(NameOf(move.temp));
    RemoveTemporariesIn(folder, keep, keepMarks);
    // Earlier versions put their temporaries beside the files.
    for (const std::string& year : SubFolders(folder)) {
        RemoveTemporariesIn(year, keep, keepMarks);
        for (const std::string& month : SubFolders(year))
            RemoveTemporariesIn(month, keep, keepMarks);
    }
}

void SaveSets::Recover(const std::string& userFolder)
{
    const std::string folder = Resolved(userFolder);
    if (!rememberedRead_) {
        rememberedRead_ = true;
        std::string text;
        if (TryReadWholeFile(TreesPath(), text)) {
            for (std::string line : Split(text, '\n')) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                line = Resolved(line);
                if (!line.empty())
                    remembered_.push_back(line);
            }
        }
        // Sets cut in a log folder used before.
        for (const std::string& tree : remembered_) {
            if (!SameText(tree, folder) && IsUserFolder(tree))
                RecoverTree(tree);
        }
    }
    current_ = folder;
    if (!folder.empty())
        RecoverTree(folder);
    RememberTrees();
}

void SaveSets::RememberTrees()
{
    // Until the list has been read, writing it would forget trees.
    if (!rememberedRead_)
        return;
    // The tree being written, where a round may be cut at any moment, and every
    // other one that still holds a set to finish.
    std::vector<std::string> trees;
    if (!current_.empty())
        trees.push_back(current_);
    for (const Move& move : moves_) {
        if (!move.superseded && !Listed(trees, move.folder))
            trees.push_back(move.folder);
    }
    bool same = trees.size() == remembered_.size();
    for (const std::string& tree : trees)
        same = same && Listed(remembered_, tree);
    if (same)
        return;
    std::string text;
    for (const std::string& tree : trees)
        text += tree + "\n";
    if (WriteWholeFile(TreesPath(), text))
        remembered_ = trees;
}

std::string SaveSets::NewestCopy(const std::string& target) const
{
    const std::string resolved = Resolved(target);
    for (auto move = moves_.rbegin(); move != moves_.rend(); ++move) {
        // A temporary another program removed is no copy: read as missing, it
        // would start the file from nothing and the next save write that over it.
        if (!move->superseded && SameText(move->target, resolved))
            return FileMissing(move->temp) ? target : move->temp;
    }
    return target;
}

void StatFile::RecoverLogTree(const std::string& basePath)
{
    // Start-up comes here before it has the statistics mutex: a tracker already
    // running may be in the middle of a save.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, "1");
    WaitForMutexPolling(mutex, 10);
    SaveSets::Current().Recover(LogUserFolder(basePath, WindowsUserName()));
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}

std::string StatFile::NewestCopy(const std::string& path)
{
    return SaveSets::Current().NewestCopy(path);
}

void StatFile::WriteSet(const std::vector<StatFile*>& files)
{
    SaveSets& sets = SaveSets::Current();
    // What earlier rounds left first: a file another program has let go gets its
    // newest bytes before it is read again below.
    std::vector<std::string> renewed;
    for (StatFile* file : files) {
        if (file && !file->unread_.active)
            renewed.push_back(SaveSets::Resolved(file->path_));
    }
    if (sets.FinishEarlier(renewed))
        QueueShortWrite();

    std::vector<StatFile*> writing;
    for (StatFile* file : files) {
        // A stored file that cannot be read is not replaced by less.
        if (file && (!file->unread_.active || file->RetryUnread()))
            writing.push_back(file);
    }
    std::vector<SaveSets::File> set;
    {
        // One snapshot of all the lists.
        ListsGuard guard;
        for (StatFile* file : writing)
            set.push_back({SaveSets::Resolved(file->userFolder_), file->dateParts_, SaveSets::Resolved(file->path_),
                           &file->BuildText()});
    }
    std::vector<SaveSets::Failure> failures;
    if (!sets.Save(set, failures)) {
        QueueShortWrite();
        return;
    }
    for (size_t i = 0; i < writing.size(); ++i) {
        bool& told = writing[i]->pendingTold_;
        switch (failures[i]) {
        case SaveSets::Failure::None:
            told = false;
            break;
        case SaveSets::Failure::Pending:
            // Nothing is lost: told once while the file stays held, and the tracker goes on.
            if (!told)
                QueueMessage(writing[i]->path_ + " problem");
            told = true;
            break;
        case SaveSets::Failure::NotCreated:
            QueueMessage(writing[i]->path_ + " problem");
            // Nothing written: for a non-empty list that is a short write as well.
            if (!set[i].bytes->empty())
                QueueShortWrite();
            break;
        case SaveSets::Failure::Short:
            QueueShortWrite();
            break;
        }
    }
}
