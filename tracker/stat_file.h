#pragma once
#include <windows.h>

#include <string>

#include "records.h"
#include "tracker_globals.h"
#include "text_reader.h"

// The clock of the day change and the file paths; GetLocalTime unless a test sets it.
typedef void (*LocalTimeSource)(SYSTEMTIME* time);
extern LocalTimeSource ReadLocalTime;

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

    void Write();
    void CreateFile();
    void CloseFile();
    void Load(std::string path);

    void SetPath(const std::string& path) { path_ = path; }
    void SetBasePath(const std::string& basePath) { basePath_ = basePath; }
    std::string BasePath() const { return basePath_; }
    std::string Path() const { return path_; }

protected:
    RecordList* list_;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::string path_;
    std::string basePath_;
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
