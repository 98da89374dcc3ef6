#pragma once
#include <functional>
#include <string>

#include "viewer_date.h"

class IOBasics {
public:
    virtual ~IOBasics() = default;
    virtual bool Load() = 0;
    // Rewrites the file whole; false when it could not be written.
    virtual bool Save() = 0;
};

// A "key = value" file in the data folder.
class Settings : public IOBasics {
public:
    explicit Settings(const std::string& fileName);
    const std::string& Path() const { return path_; }

protected:
    // The file must exist and open for reading and writing; opening never
    // creates it.
    bool CanOpen() const;
    // Reads every pair whose value is not empty, in file order. Keys are cut
    // to 49 and values to 255 characters; the rest of the line is skipped
    // and reading goes on.
    void ReadPairs(const std::function<void(const std::string&, const std::string&)>& apply) const;
    bool WriteText(const std::string& text) const;

    std::string path_;
    bool streamGood_ = false;   // the state the constructor found the file in
};

// "kaltrow.ini", shared with the tracker. The viewer writes it only on request.
class LogSettings : public Settings {
public:
    LogSettings();
    bool Load() override;   // re-reads the file at every call
    bool Save() override;

    int Startup() const { return startup_; }
    void SetStartup(int value) { startup_ = value; }
    int NewDay() const { return new_day_; }
    void SetNewDay(int value) { new_day_ = value; }

    std::string log_path;

private:
    // The tracker's defaults, so a form confirmed without a readable file
    // writes what the tracker itself would have written.
    int startup_ = 1;
    int new_day_ = 1;
};

// "interface.ini", the viewer's own file.
class InterfaceSettings : public Settings {
public:
    explicit InterfaceSettings(int splitPos);
    // Read once, through the state the constructor found. A refresh time
    // outside 1 to 59 reads as 5 and a date no picker shows as today.
    bool Load() override;
    bool Save() override;

    const std::string& ProjPath() const { return Proj_path_; }
    void SetProjPath(const std::string& value) { Proj_path_ = value; }
    int SplitPos() const { return SplitPos_; }
    void SetSplitPos(int value) { SplitPos_ = value; }
    TDate BegDate() const { return BegDate_; }
    void SetBegDate(TDate value) { BegDate_ = value; }
    TDate EndDate() const { return EndDate_; }
    void SetEndDate(TDate value) { EndDate_ = value; }
    int Autoupdate() const { return autoupdate_; }
    void SetAutoupdate(int value) { autoupdate_ = value; }
    int Autoupdatetime() const { return autoupdatetime_; }
    void SetAutoupdatetime(int value) { autoupdatetime_ = value; }

private:
    std::string Proj_path_;
    int WinState_ = 3;
    int SplitPos_;
    TDate BegDate_;
    TDate EndDate_;
    int autoupdate_ = 0;
    static constexpr int kDefaultAutoupdatetime = 5;
    int autoupdatetime_ = kDefaultAutoupdatetime;
};
