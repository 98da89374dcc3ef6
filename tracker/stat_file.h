#pragma once
#include <windows.h>

#include <string>

#include "records.h"
#include "tracker_globals.h"
#include "text_reader.h"

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

    // Rewrites the file from the list within one hold of the statistics mutex: the
    // text goes to a temporary file beside it, which then replaces the file.
    void Write();
    // Creates the temporary file of a write and keeps its handle.
    void CreateFile();
    void CloseFile();
    // Appends the file's records whose names are not in the list yet.
    void Load(std::string path);
    // Restarts the list's counters, then takes the file's times for every name, also
    // names already in the list: what is stored for a date is never lost.
    void TakeStored(std::string path);

    void SetPath(const std::string& path) { path_ = path; }
    void SetBasePath(const std::string& basePath) { basePath_ = basePath; }
    std::string BasePath() const { return basePath_; }
    std::string Path() const { return path_; }

    // The temporary file beside `path` that a write fills before it replaces `path`.
    static std::string TemporaryPath(const std::string& path);

protected:
    // Year, month and day parts: 3 for a day file, 2 for a month total, 1 for a year total.
    StatFile(RecordList* list, int dateParts);
    // Points the object at the file of that date, creating its folders; with
    // `takeStored` the list restarts from the file, else only new names are added.
    void OpenAt(const std::string& basePath, const SYSTEMTIME& date, bool takeStored);
    // The date Open uses: the current one at the first open; afterwards the date the
    // object is on, since moving to another date is the day change's business.
    SYSTEMTIME OpenDate() const;

    // True while a save (its write, day change and failure messages) runs; a message
    // box of a save runs a message loop in which the timer must not save again.
    static bool SaveRunning();
    // Shows the failure messages that writes have queued; a short write then ends
    // the tracker (its message loop gets the quit message).
    static void ShowFailures();
    // Set by a day change until the day object has told the user.
    static bool newDayPending_;

    RecordList* list_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string path_;
    std::string basePath_;

private:
    void WriteLocked();
    bool WriteText(const std::string& text);
    bool RewriteDirectly(const std::string& text);
    bool ReplaceFromTemporary();
    void MoveToCurrentDate();
    bool SamePeriod(const SYSTEMTIME& date) const;

    int dateParts_;
    bool opened_ = false;
    SYSTEMTIME fileDate_ = {};
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

// The tracker's reader of one statistics file.
class LogParser {
public:
    explicit LogParser(const std::string& path);
    bool IsOpen() const;
    bool AtEnd() const;
    bool ReadUsageRecord(ProcRecord& record);
    void ReadTimeField(My_Time& time, char end);

private:
    TextReader in_;
};
