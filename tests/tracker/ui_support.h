#pragma once
#include <windows.h>

#include <string>

// One real indicator for the whole test program, built as start-up builds it,
// over a data folder, a log folder and a program folder of the test's own.
// The tool counter is process-wide, so there is only ever this one indicator.
struct UiWorld {
    std::string dataFolder;     // where "kaltrow.ini" and "banner.ini" go
    std::string programFolder;  // the current directory: skins and logo, no viewer
    HWND indicator = nullptr;
    HANDLE statisticsMutex = nullptr;
};
// Also puts back what other tests of this program may have changed: the data
// folder, the statistics mutex, the indicator global and the message-box seam
// (every box is recorded in ShownBoxes(), none waits for a user).
const UiWorld& World();

// Runs the thread's messages for a while.
void Pump(int milliseconds = 30);

// Sets the indicator's activity figures as the worker would.
void SetActivity(unsigned percent, const std::string& text);

// Puts the cursor over the indicator's client point (x, y).
void CursorToClient(int x, int y);

// The indicator back in its usual state: shown, tracking, no hover, at its place.
void ResetIndicator();

bool MenuItemDisabled(unsigned command);

// Whole file as text; "<missing>" when absent.
std::string FileText(const std::string& path);
// "key = value" lines of a settings file, as a map-like lookup; empty when absent.
std::string SettingValue(const std::string& path, const std::string& key);

// Today's files under a log folder.
std::string TodayDayFile(const std::string& logPath);
std::string TodayMonthTotal(const std::string& logPath);
std::string TodayYearTotal(const std::string& logPath);
