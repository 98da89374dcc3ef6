#pragma once
#include <string>

// The tracker's user commands; UI thread only.
void HideIndicator();
void ShowIndicator();
void StopTracking();
void StartTracking();
void ToggleTracking();
void OpenStatistics();
// Reopens the three statistics files under a changed log path, then stores the values.
// "kaltrow.ini" is not written here.
void ApplySettings(std::string logPath, int startup, int newDay);

// "Kaltrow v1.1 [tracking] - 42%" or with " [stopped] - ".
std::string TrayTip(bool stopped, const std::string& activity);
// The day's activity text, read under the lists' lock.
std::string CurrentActivityText();

// Saves the day, month and year files in that order. Each save skips itself while
// a save's message box or the lists' lock holds this thread in a message loop.
void SaveStatFiles();
