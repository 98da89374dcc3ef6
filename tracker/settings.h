#pragma once
#include <memory>
#include <string>

#include "text_reader.h"

// The process-wide new-day flag (1 at start): every new_day value read or set
// goes here too, and the day change reads it.
extern int newDayFlag;

// A settings file in the data folder, read at most once: the constructor opens it
// and Load closes it. Saving opens a stream of its own each time.
class Settings {
public:
    explicit Settings(const std::string& fileName);
    virtual ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    virtual bool Load() = 0;
    // False when the file could not be written.
    virtual bool Save() = 0;

    static std::string DataFolder();
    const std::string& Path() const { return path_; }

protected:
    std::string ReadKey();
    // `minus`: see ReadSettingsValue.
    std::string ReadValue(bool* minus = nullptr);

    std::unique_ptr<TextReader> stream_;
    std::string path_;
};

// "kaltrow.ini", shared with the viewer.
class LogSettings : public Settings {
public:
    explicit LogSettings(const std::string& fileName);
    bool Load() override;
    bool Save() override;
    // Writes these values in place of the ones held, which stay as they are.
    bool SaveWith(const std::string& logPath, int startup, int newDay) const;

    std::string LogPath() const { return log_path_; }
    int Startup() const { return startup_; }
    int NewDay() const { return new_day_; }
    void SetLogPath(std::string path) { log_path_ = path; }
    void SetStartup(int value) { startup_ = value; }
    void SetNewDay(int value);

private:
    std::string log_path_;
    int startup_ = 1;
    int new_day_ = 1;
};

// "banner.ini": the indicator's position, visibility and transparency.
class BannerSettings : public Settings {
public:
    explicit BannerSettings(const std::string& fileName);
    bool Load() override;
    bool Save() override;

    // The place of a strip centred in the full-screen area.
    static int DefaultLeft();
    static int DefaultTop();
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Show() const { return show_; }
    int Transparency() const { return transparency_; }
    void SetPosition(int left, int top)
    {
        left_ = left;
        top_ = top;
    }
    void SetShow(int value) { show_ = value; }
    void SetTransparency(int value) { transparency_ = value; }

private:
    int left_ = 0;
    int top_ = 0;
    int show_ = 5;
    int transparency_ = 170;
};

// The two objects of the run, built before the tracker's main function.
extern LogSettings logSettings;
extern BannerSettings bannerSettings;
