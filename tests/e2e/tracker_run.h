#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "test_process.h"
#include "test_support.h"

// The real tracker from the dist folder, run with this prefix's data folder set
// up by the test: the settings files found there before are put back at the end,
// and the statistics go to a log folder of the test's own.
class TrackerWorld {
public:
    TrackerWorld();
    ~TrackerWorld();

    const std::string& DataFolder() const { return dataFolder_; }
    std::string KaltrowIni() const { return dataFolder_ + "\\kaltrow.ini"; }
    std::string BannerIni() const { return dataFolder_ + "\\banner.ini"; }
    const std::string& LogPath() const { return log_.Path(); }

    void WriteKaltrowIni(const std::string& logPath, int startup, int newDay);
    void WriteBannerIni(int left, int top, int show, int transparency);

    // Starts kaltrow.exe with the dist folder as its current directory.
    bool Start(TestProcess& process, const std::string& args = "", const std::string& exe = "") const;
    // The tracker's indicator once it is there (shown or hidden).
    HWND WaitForIndicator(DWORD pid, DWORD timeoutMs = 15000) const;

private:
    std::string dataFolder_;
    std::string savedKaltrow_;
    std::string savedBanner_;
    std::string savedInterface_;
    bool hadLogFolder_ = false;
    TempDir log_;
};

std::string DistFolder();

// Seconds of the four counters of one application in a statistics file; -1 each
// when the file or the name is not there.
struct Counters {
    long loaded = -1, active = -1, mouse = -1, keyboard = -1;
};
Counters ReadCounters(const std::string& file, const std::string& name);

std::string DayFileOf(const std::string& logPath);
std::string MonthTotalOf(const std::string& logPath);
std::string YearTotalOf(const std::string& logPath);

// Kills the tracker like a crash (kill -9 of its Unix process, this prefix's
// only kaltrow.exe) and waits for it to be gone.
bool HardKillTracker(TestProcess& process);

// Ends a tracker: a close request, then waits for the process.
bool CloseTracker(TestProcess& process, HWND indicator, DWORD* exitCode = nullptr);
