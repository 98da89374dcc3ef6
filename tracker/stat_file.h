#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "records.h"
#include "stat_record.h"
#include "stat_rounds.h"
#include "tracker_globals.h"

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
    // written as one round within one hold of the statistics mutex, then the
    // date is checked. Null entries are skipped.
    static void SaveAll(const std::vector<StatFile*>& files);

    // Rewrites the file from the list within one hold of the statistics mutex.
    void Write();
    // Appends the file's records whose names are not in the list yet.
    void Load(std::string path);

    void SetPath(const std::string& path) { path_ = path; }
    void SetBasePath(const std::string& basePath) { basePath_ = basePath; }
    std::string BasePath() const { return basePath_; }
    std::string Path() const { return path_; }

    // True while what the file holds is not known (another program holds it, or
    // its drive is not there): it is not written then.
    bool WaitingToRead() const { return waiting_; }

    // Says, for each file still not known at the end of the run, that the times
    // counted for it since could not be saved.
    static void TellUnsaved();
    // Finishes what earlier runs left in that log folder's tree; at start-up
    // and at each change of log folder. Takes the statistics mutex.
    static void FinishLeftovers(const std::string& basePath);

protected:
    // Year, month and day parts: 3 for a day file, 2 for a month total, 1 for a year total.
    // A live object is one of the run's current files; a file left behind is not.
    StatFile(RecordList* list, int dateParts, bool live = true);
    // Open's work: the date is the current one at the first open; afterwards
    // the one the object is on, since moving is the day change's business.
    void OpenAtCurrent(const std::string& basePath);

    RecordList* list_;
    std::string path_;
    std::string basePath_;

private:
    // How the file was opened: by loading (start, change of log folder), where
    // the list's counters stay for names it has, or at a change of period,
    // where every counter restarts from the file.
    enum class Opening { Loading, NewPeriod };

    static std::vector<StatFile*>& LiveObjects();
    void OpenAt(const std::string& basePath, const SYSTEMTIME& date, Opening opening);
    void MakeFolders() const;
    StatTarget Target() const;
    void Wait(Opening opening);
    bool TryJoin(int attempts);
    void Join(const std::vector<ProcRecord>& stored, Opening opening, size_t openedSize);
    void LeaveBehind(bool periodChange);
    bool FirstOnItsFile(const StatFile* file) const;
    void CatchUp(std::vector<StatFile*>& known);
    void LetGoWritten();
    void Tell();
    const std::string& BuildText();
    bool SamePeriod(const SYSTEMTIME& date) const;
    static void WriteRound(const std::vector<StatFile*>& files);
    static void MoveToCurrentDate(const std::vector<StatFile*>& saved);

    int dateParts_;
    bool opened_ = false;
    SYSTEMTIME fileDate_ = {};
    std::string userFolder_;  // resolved
    bool waiting_ = false;    // not known since the opening below
    Opening opening_ = Opening::Loading;
    size_t openedSize_ = 0;   // the records the list had at the opening
    bool told_ = false;       // the user knows of the current spell of failures
    bool written_ = false;    // the last round committed its bytes
    bool stale_ = false;      // the list has names its last round did not write
    bool periodLeft_ = false; // left behind by a change of period
    std::string saveText_;
    std::unique_ptr<RecordList> ownList_;                 // a file left behind: its copy of the list
    std::vector<std::unique_ptr<StatFile>> leftBehind_;  // files of earlier periods or folders not known yet
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
    void Open(std::string basePath) override;
};

class StatFileYear : public StatFile {
public:
    explicit StatFileYear(RecordList* list);
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
    // The records still to read whose names are not empty, in file order.
    std::vector<ProcRecord> Records();

private:
    std::string bytes_;
    bool open_;
    StatRecordParser parser_;
};
