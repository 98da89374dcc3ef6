#pragma once
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "records.h"
#include "tracker_globals.h"
#include "stat_record.h"

// The clock of the day change and the file paths; GetLocalTime unless a test sets it.
typedef void (*LocalTimeSource)(SYSTEMTIME* time);
extern LocalTimeSource ReadLocalTime;

// The one write of a save; WriteFile unless a test makes it fail or cut short.
typedef BOOL(WINAPI* WriteFileFn)(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
extern WriteFileFn StatFileWriteFile;

// The platform's local date and time record, filled from the clock.
class LocalTime {
public:
    LocalTime();
    void Refresh();
    bool IsNewDay();
    SYSTEMTIME time;
};

// The time of the last day test, constructed before the main function runs.
extern LocalTime lastDayCheck;

// Ties one record list to its statistics file under the log folder.
class StatFile {
public:
    explicit StatFile(RecordList* list);
    virtual ~StatFile();
    StatFile(const StatFile&) = delete;
    StatFile& operator=(const StatFile&) = delete;

    // Writes the list to the current file, then handles a new day.
    virtual void Save();
    // Points the object at the current date's file under that log folder, creating
    // folders, and loads the file into the list (names not yet in it only).
    virtual void Open(std::string basePath) = 0;

    // The saves of one timer round, close request or viewer start: the files are
    // replaced as one set within one hold of the statistics mutex, then the date
    // is checked. Null entries are skipped.
    static void SaveAll(const std::vector<StatFile*>& files);

    // Rewrites the file from the list within one hold of the statistics mutex.
    void Write();
    // Appends the file's records whose names are not in the list yet.
    void Load(std::string path);
    // Restarts the list's counters, then takes the file's times for every name, also
    // names already in the list: what is stored for a date is never lost.
    void TakeStored(std::string path);

    void SetPath(const std::string& path) { path_ = path; }
    void SetBasePath(const std::string& basePath) { basePath_ = basePath; }
    std::string BasePath() const { return basePath_; }
    std::string Path() const { return path_; }

    // True while the file exists but could not be read: it is not written then.
    bool WaitingToRead() const { return unread_.active; }

    // Says, for each file that could not be read until the end of the run, that
    // the times counted for it since could not be saved. At the end of the run.
    static void TellUnsaved();

    // Finishes the save sets that a tracker left unfinished in this log tree (and,
    // at the first call, in the trees written before), then removes stale
    // temporaries from the user's part of the tree. Runs under the statistics mutex.
    static void RecoverLogTree(const std::string& basePath);
    // The newest whole copy of a statistics file: the temporary of a replacement
    // still to be made, else the file itself.
    static std::string NewestCopy(const std::string& path);

protected:
    // Year, month and day parts: 3 for a day file, 2 for a month total, 1 for a year total.
    // A live object is one of the run's current files; a file left behind is not.
    StatFile(RecordList* list, int dateParts, bool live = true);
    // Points the object at the file of that date, creating its folders; with
    // `takeStored` the list restarts from the file, else only new names are added.
    void OpenAt(const std::string& basePath, const SYSTEMTIME& date, bool takeStored);
    // Open's part before OpenAt: the log tree is put right once per log folder.
    void OpenAtCurrent(const std::string& basePath);
    // The date Open uses: the current one at the first open; afterwards the date the
    // object is on, since moving to another date is the day change's business.
    SYSTEMTIME OpenDate() const;

    // Shows the failure messages that writes have queued; a short write then ends
    // the tracker (its message loop gets the quit message).
    static void ShowFailures();
    // Failure messages wait until the statistics mutex is released; a short
    // write also ends the tracker once its message is answered.
    static void QueueMessage(const std::string& text);
    static void QueueShortWrite();
    // Set by a day change until the day object has told the user.
    static bool newDayPending_;

    RecordList* list_;
    std::string path_;
    std::string basePath_;

private:
    // A stored file that exists but could not be read: what the list held for
    // each name when loading failed, so that reading it later adds the file's
    // times without counting any second twice.
    struct Unread {
        bool active = false;
        std::set<std::string> keep;                    // names whose counters a load keeps
        std::map<std::string, std::array<uint32_t, 4>> base;  // seconds already in the file
    };

    // Every object alive, in the order of creation (day, month, year in the tracker).
    static std::vector<StatFile*>& LiveObjects();
    // Replaces the files as one save set (stat_save_set.h).
    static void WriteSet(const std::vector<StatFile*>& files);
    const std::string& BuildText();
    static void MoveToCurrentDate(const std::vector<StatFile*>& saved);
    bool SamePeriod(const SYSTEMTIME& date) const;
    // Loading at an open: a file that exists but cannot be read is tried again;
    // then the object waits for it (BeginUnread) and does not write it meanwhile.
    void LoadForOpen(const std::string& path, bool takeStored);
    void AppendNew(const std::vector<ProcRecord>& records);
    void TakeRecords(const std::vector<ProcRecord>& records);
    void BeginUnread(const std::string& path, bool keepListed);
    bool RetryUnread();
    // Stored times entered the day list for `name`: a month or year total that
    // waits to be read and has no record of it yet already holds them.
    void NoteStoredInDay(const std::string& name, const std::array<uint32_t, 4>& seconds);
    // At a change of period, a file still waiting to be read keeps its counts in
    // an object of its own, which the saves join with it once it can be read.
    void LeaveBehind();
    void SaveLeftBehind();

    int dateParts_;
    bool opened_ = false;
    SYSTEMTIME fileDate_ = {};
    std::string userFolder_;
    Unread unread_;
    std::string saveText_;
    bool pendingTold_ = false;  // the user knows its last replacement waits for the file
    std::unique_ptr<RecordList> ownList_;                 // a file left behind: its copy of the list
    std::vector<std::unique_ptr<StatFile>> leftBehind_;  // files of earlier periods not joined yet
};

class StatFileDay : public StatFile {
public:
    explicit StatFileDay(RecordList* list);
    void Save() override;
    void Open(std::string basePath) override;
};

class StatFileMonth : public StatFile {
public:
    explicit StatFileMonth(RecordList* list);
    void Save() override;
    void Open(std::string basePath) override;
};

class StatFileYear : public StatFile {
public:
    explicit StatFileYear(RecordList* list);
    void Save() override;
    void Open(std::string basePath) override;
};

// The three objects of the run, created by start-up in the order day, month, year.
extern StatFile* dayFile;
extern StatFile* monthFile;
extern StatFile* yearFile;

// The tracker's reader of one statistics file, taken whole when it is made.
class LogParser {
public:
    explicit LogParser(const std::string& path);
    // False when the file could not be read whole (missing, held, a failed read).
    bool IsOpen() const { return open_; }
    bool AtEnd() const { return !open_ || parser_.AtEnd(); }
    // An empty name when the bytes ended before an opening quote.
    bool ReadUsageRecord(ProcRecord& record);
    void ReadTimeField(My_Time& time, char end);

private:
    std::string bytes_;
    bool open_;
    StatRecordParser parser_;
};
