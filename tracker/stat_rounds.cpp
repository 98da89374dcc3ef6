// Rounds of statistics-file copies, and the finishing of what a run left.

#include "stat_rounds.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <map>

#include "data_folder.h"
#include "file_read.h"
#include "file_write.h"
#include "log_paths.h"
#include "stat_file.h"

int roundStepsLeft = -1;

namespace {

const char kEarlierTreesFile[] = "logtrees.lst";
constexpr DWORD kEarlierRecordLimit = 64 * 1024;

bool Step()
{
    if (roundStepsLeft == 0)
        return false;
    if (roundStepsLeft > 0)
        --roundStepsLeft;
    return true;
}

// Gone now, or not there at all.
bool Delete(const std::string& path)
{
    return Step() && (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
}

bool CreateEmpty(const std::string& path)
{
    static const std::string none;
    return Step() && WriteNewFile(path, none, true, WriteFile) == WriteOutcome::Written;
}

WriteOutcome WriteCopy(const std::string& path, const std::string& bytes)
{
    if (Step())
        return WriteTemporary(path, bytes, StatFileWriteFile);
    // Stopped as by a kill in the middle of the write.
    WriteNewFile(path, bytes.substr(0, bytes.size() / 2), false, WriteFile);
    return WriteOutcome::Short;
}

std::string MarkText(uint64_t mark)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (size_t i = 16; i-- > 0; mark >>= 4)
        text[i] = digits[mark & 15];
    return text;
}

// The mark of a name that has `prefix`, 16 hexadecimal digits and a dot; the
// rest of the name after the dot in `rest`.
bool MarkOf(const std::string& name, const std::string& prefix, uint64_t& mark, std::string& rest)
{
    if (name.size() < prefix.size() + 17 || name.compare(0, prefix.size(), prefix) != 0 ||
        name[prefix.size() + 16] != '.')
        return false;
    mark = 0;
    for (size_t i = prefix.size(); i < prefix.size() + 16; ++i) {
        const char c = name[i];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return false;
        mark = mark << 4 | static_cast<uint64_t>(digit);
    }
    rest = name.substr(prefix.size() + 17);
    return true;
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

// A year, month or day as the tracker writes it: decimal, no leading zero, 1 to `max`.
int Number(const std::string& text, int max)
{
    if (text.empty() || text.size() > 4 || text[0] == '0' || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int n = std::atoi(text.c_str());
    return n <= max ? n : 0;
}

// The file of one to three date parts in `folder`.
bool TargetOf(const std::string& folder, const std::vector<std::string>& date, StatTarget& target)
{
    if (date.empty() || date.size() > 3)
        return false;
    target = StatTarget{folder, Number(date[0], 9999), date.size() > 1 ? Number(date[1], 12) : 0,
                        date.size() > 2 ? Number(date[2], 31) : 0};
    return target.year != 0 && (date.size() < 2 || target.month != 0) && (date.size() < 3 || target.day != 0);
}

std::vector<std::string> Names(const std::string& pattern, bool folders)
{
    std::vector<std::string> names;
    ForEachEntry(pattern, [&](const WIN32_FIND_DATAA& data) {
        const std::string name = data.cFileName;
        if (((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folders && name != "." && name != "..")
            names.push_back(name);
    });
    return names;
}

uint64_t LastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
}

// Another program has the file open without sharing its deletion: a move onto
// it fails until that program lets go.
bool HeldElsewhere(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

} // namespace

std::string StatTarget::Path() const
{
    std::string path = folder + "\\" + std::to_string(year);
    if (month != 0)
        path += "\\" + std::to_string(month);
    return path + "\\" + (day != 0 ? std::to_string(day) : std::string("total"));
}

SaveRounds& SaveRounds::Current()
{
    static SaveRounds rounds;
    return rounds;
}

std::string SaveRounds::CopyPath(const StatTarget& target, uint64_t mark)
{
    std::string date = std::to_string(target.year);
    if (target.month != 0)
        date += "." + std::to_string(target.month);
    if (target.day != 0)
        date += "." + std::to_string(target.day);
    return target.folder + "\\~k" + MarkText(mark) + "." + date + ".new";
}

std::string SaveRounds::CommitPath(const std::string& folder, uint64_t mark)
{
    return folder + "\\~k" + MarkText(mark) + ".ok";
}

uint64_t SaveRounds::NextMark()
{
    // The clock, and never below a mark of this run or one found in a tree.
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t clock = static_cast<uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    lastMark_ = std::max(lastMark_ + 1, clock);
    return lastMark_;
}

bool SaveRounds::Save(const std::vector<File>& files, std::vector<Saved>& saved)
{
    saved.assign(files.size(), Saved::Failed);
    const uint64_t mark = NextMark();
    std::vector<size_t> made;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string copy = CopyPath(files[i].target, mark);
        switch (WriteCopy(copy, *files[i].bytes)) {
        case WriteOutcome::Written:
            made.push_back(i);
            break;
        case WriteOutcome::NotCreated:
            if (!VolumeReachable(files[i].target.folder))
                saved[i] = Saved::Absent;
            break;
        case WriteOutcome::Short:
            for (size_t j : made)
                Delete(CopyPath(files[j].target, mark));
            return false;
        }
    }
    // The commit, once per user folder; the copies of a folder that could not
    // take it go, so a round is committed whole or not at all in each tree.
    std::map<std::string, bool> committed;
    for (size_t i : made) {
        const std::string& folder = files[i].target.folder;
        if (!committed.count(folder)) {
            committed[folder] = CreateEmpty(CommitPath(folder, mark));
            if (committed[folder])
                commits_.emplace_back(folder, mark);
        }
    }
    std::vector<size_t> kept;
    for (size_t i : made) {
        const StatTarget& target = files[i].target;
        if (!committed[target.folder]) {
            Delete(CopyPath(target, mark));
            continue;
        }
        pending_.push_back({mark, target.folder, CopyPath(target, mark), target.Path()});
        kept.push_back(i);
    }
    made.swap(kept);
    for (size_t i : made)
        saved[i] = Settle(files[i].target.Path(), kMoveAttempts);
    // What earlier rounds could not move is tried once more.
    SettleWaiting(1);
    return true;
}

void SaveRounds::SettleWaiting(int attempts)
{
    std::vector<std::string> targets;
    for (const Copy& copy : pending_) {
        if (std::none_of(targets.begin(), targets.end(), [&](const std::string& t) { return SameName(t, copy.target); }))
            targets.push_back(copy.target);
    }
    for (const std::string& target : targets)
        Settle(target, attempts);
    DropSpentCommits();
}

std::vector<SaveRounds::Copy>::iterator SaveRounds::Newest(const std::string& target)
{
    auto newest = pending_.end();
    for (auto it = pending_.begin(); it != pending_.end(); ++it) {
        if (SameName(it->target, target) && (newest == pending_.end() || it->mark > newest->mark))
            newest = it;
    }
    return newest;
}

SaveRounds::Saved SaveRounds::Settle(const std::string& target, int attempts)
{
    const auto newest = Newest(target);
    if (newest == pending_.end())
        return Saved::Done;
    const Copy copy = *newest;
    // Older copies go first: left beside a newer file, one would later be moved over it.
    bool olderGone = true;
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(),
                                  [&](const Copy& c) {
                                      if (c.mark >= copy.mark || !SameName(c.target, target))
                                          return false;
                                      const bool gone = Delete(c.path);
                                      olderGone = olderGone && gone;
                                      return gone;
                                  }),
                   pending_.end());
    if (olderGone && Step() && MoveOverTarget(copy.path, copy.target, attempts)) {
        pending_.erase(std::find_if(pending_.begin(), pending_.end(), [&](const Copy& c) { return c.path == copy.path; }));
        return Saved::Done;
    }
    // A virus scanner may hold the new copy itself for a moment.
    if (!olderGone || HeldElsewhere(copy.target) || HeldElsewhere(copy.path))
        return Saved::Held;
    return VolumeReachable(copy.folder) ? Saved::Failed : Saved::Absent;
}

void SaveRounds::DropSpentCommits()
{
    commits_.erase(std::remove_if(commits_.begin(), commits_.end(),
                                  [&](const std::pair<std::string, uint64_t>& commit) {
                                      const bool inUse = std::any_of(pending_.begin(), pending_.end(), [&](const Copy& c) {
                                          return c.mark == commit.second && SameName(c.folder, commit.first);
                                      });
                                      return !inUse && Delete(CommitPath(commit.first, commit.second));
                                  }),
                   commits_.end());
}

std::string SaveRounds::NewestCopy(const std::string& path)
{
    const std::string target = FullPath(path);
    for (;;) {
        const auto newest = Newest(target);
        if (newest == pending_.end())
            return path;
        // A copy another program removed is no copy: the file is the newest there is.
        if (!FileMissing(newest->path))
            return newest->path;
        pending_.erase(newest);
    }
}

void SaveRounds::Finish(const std::string& userFolder)
{
    // Once per opening of a tree, not for each of its three files; a tree on a
    // drive that is not there is finished when it comes.
    const std::string folder = FullPath(userFolder);
    if (folder.empty() || SameName(folder, finished_) || !VolumeReachable(folder))
        return;
    finished_ = folder;
    FinishListedTrees(folder);
    FinishTree(folder);
}

void SaveRounds::FinishTree(const std::string& folder)
{
    FinishEarlierFormat(folder);

    std::vector<std::pair<uint64_t, std::string>> copies;  // mark, date
    std::vector<uint64_t> marks;
    for (const std::string& name : Names(folder + "\\~k*", false)) {
        uint64_t mark = 0;
        std::string rest;
        if (!MarkOf(name, "~k", mark, rest))
            continue;
        lastMark_ = std::max(lastMark_, mark);
        if (rest == "ok")
            marks.push_back(mark);
        else if (rest.size() > 4 && rest.compare(rest.size() - 4, 4, ".new") == 0)
            copies.emplace_back(mark, rest.substr(0, rest.size() - 4));
    }
    for (const auto& found : copies) {
        StatTarget target;
        const std::string path = folder + "\\~k" + MarkText(found.first) + "." + found.second + ".new";
        if (!TargetOf(folder, Split(found.second, '.'), target) || CopyPath(target, found.first) != path)
            continue;
        if (std::find(marks.begin(), marks.end(), found.first) == marks.end()) {
            Delete(path);  // cut before its round's commit
        } else if (std::none_of(pending_.begin(), pending_.end(), [&](const Copy& c) { return SameName(c.path, path); })) {
            pending_.push_back({found.first, folder, path, target.Path()});
        }
    }
    for (uint64_t mark : marks) {
        if (std::none_of(commits_.begin(), commits_.end(), [&](const std::pair<std::string, uint64_t>& c) {
                return c.second == mark && SameName(c.first, folder);
            }))
            commits_.emplace_back(folder, mark);
    }
    SettleWaiting(kMoveAttempts);
}

void SaveRounds::FinishListedTrees(const std::string& current)
{
    // An earlier version listed the trees that might hold its unfinished saves.
    if (listedTreesDone_)
        return;
    listedTreesDone_ = true;
    const std::string list = DataFolder() + "\\" + kEarlierTreesFile;
    std::string text;
    if (!TryReadWholeFile(list, text))
        return;
    for (std::string line : Split(text, '\n')) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string tree = FullPath(line);
        const std::string name = tree.substr(tree.find_last_of('\\') + 1);
        if (!tree.empty() && !SameName(tree, current) && SameName(name, WindowsUserName()))
            FinishTree(tree);
    }
    Delete(list);
}

void SaveRounds::FinishEarlierFormat(const std::string& folder)
{
    // An earlier version recorded each save as "~klrsave.<mark>.lst", lines of
    // "<temporary>\t<file>" and "end", with temporaries "~klr<kind>.<mark>.tmp".
    // A temporary is still to be moved only where its record is whole and newer
    // than its file: it becomes a committed copy of this scheme.
    static const char* const kKinds[] = {"year", "month", "day"};
    bool allDone = true;
    for (const std::string& name : Names(folder + "\\~klrsave.*", false)) {
        uint64_t mark = 0;
        std::string rest, text;
        if (!MarkOf(name, "~klrsave.", mark, rest) || rest != "lst") {
            // The version before named no round: whose temporaries it lists cannot be told.
            if (name == "~klrsave.lst")
                Delete(folder + "\\" + name);
            continue;
        }
        lastMark_ = std::max(lastMark_, mark);
        // Held by another program: tried again, with its temporaries, at the next opening.
        if (!TryReadWholeFile(folder + "\\" + name, text)) {
            allDone = false;
            continue;
        }
        const bool whole = text.size() <= kEarlierRecordLimit &&
                           (text == "end\n" || (text.size() > 5 && text.compare(text.size() - 5, 5, "\nend\n") == 0));
        if (whole && !CreateEmpty(CommitPath(folder, mark))) {
            allDone = false;
            continue;
        }
        for (const std::string& line : whole ? Split(text, '\n') : std::vector<std::string>()) {
            const size_t tab = line.find('\t');
            const std::string file = tab == std::string::npos ? std::string() : FullPath(line.substr(tab + 1));
            if (file.size() <= folder.size() + 1 || !SameName(file.substr(0, folder.size() + 1), folder + "\\"))
                continue;
            std::vector<std::string> date = Split(file.substr(folder.size() + 1), '\\');
            const bool total = date.back() == "total";
            if (total)
                date.pop_back();
            StatTarget target;
            if ((total == (date.size() == 3)) || !TargetOf(folder, date, target))
                continue;
            const std::string temp = folder + "\\~klr" + kKinds[date.size() - 1] + "." + MarkText(mark) + ".tmp";
            if (SameName(FullPath(line.substr(0, tab)), temp) && LastWriteTime(target.Path()) < mark && Step())
                MoveFileExA(temp.c_str(), CopyPath(target, mark).c_str(), 0);
        }
        Delete(folder + "\\" + name);
    }
    if (!allDone)
        return;
    // What is left of that version, and the temporaries of the one before,
    // which stood beside the files.
    std::vector<std::string> folders = {folder};
    for (const std::string& year : Names(folder + "\\*", true)) {
        folders.push_back(folder + "\\" + year);
        for (const std::string& month : Names(folder + "\\" + year + "\\*", true))
            folders.push_back(folder + "\\" + year + "\\" + month);
    }
    for (const std::string& in : folders) {
        for (const std::string& name : Names(in + "\\~klr*.tmp", false)) {
            if (name.size() > 8 && name.compare(name.size() - 4, 4, ".tmp") == 0)
                Delete(in + "\\" + name);
        }
    }
}
