#include "commands.h"

#include <windows.h>
#include <shellapi.h>

#include "data_folder.h"
#include "indicator.h"
#include "my_mutex.h"
#include "settings.h"
#include "stat_file.h"
#include "resource.h"
#include "tracker_globals.h"
#include "tracker_messages.h"
#include "records.h"
#include "worker.h"

namespace {

void SetTrayState(bool stopped)
{
    indicatorDialog.ModifyTrayIcon(stopped ? IDI_STOPPED : IDI_TRACKING,
                                   TrayTip(stopped, CurrentActivityText()).c_str());
}

} // namespace

std::string CurrentActivityText()
{
    ListsGuard lock;
    return activityText;
}

std::string TrayTip(bool stopped, const std::string& activity)
{
    return std::string(kProductTip) + (stopped ? " [stopped] - " : " [tracking] - ") + activity + "%";
}

void SaveStatFiles()
{
    // One set, so the month and year totals never differ from the day by a tick.
    StatFile::SaveAll({dayFile, monthFile, yearFile});
}

void HideIndicator()
{
    indicatorDialog.Show(SW_HIDE);
    bannerSettings.SetShow(SW_HIDE);
    bannerSettings.Save();
    popupMenu.DisableHide();
    popupMenu.EnableShow();
}

void ShowIndicator()
{
    SetForegroundWindow(indicatorDialog.Handle());
    indicatorDialog.Show(SW_SHOW);
    bannerSettings.SetShow(SW_SHOW);
    bannerSettings.Save();
    popupMenu.DisableShow();
    popupMenu.EnableHide();
}

void StopTracking()
{
    trackingStopped = true;
    PostMessageA(indicatorDialog.Handle(), WM_PAINT, 0, 0);
    popupMenu.DisableStop();
    popupMenu.EnableStart();
    SetTrayState(true);
}

void StartTracking()
{
    trackingStopped = false;
    PostMessageA(indicatorDialog.Handle(), WM_PAINT, 0, 0);
    popupMenu.DisableStart();
    popupMenu.EnableStop();
    SetTrayState(false);
}

void ToggleTracking()
{
    if (trackingStopped)
        StartTracking();
    else
        StopTracking();
}

void OpenStatistics()
{
    SaveStatFiles();
    logSettings.Save();
    bannerSettings.Save();
    ShellExecuteA(nullptr, nullptr, "klr_stat.exe", nullptr, nullptr, SW_SHOWNORMAL);
}

void ApplySettings(std::string logPath, int startup, int newDay)
{
    // As the next start will read it back, so both use one tree.
    logPath = LogFolderAsRead(logPath);
    if (logPath != logSettings.LogPath()) {
        // One hold over the three: a tick between two of them would add a running
        // application to a list whose new file is not read yet, and that file's
        // counters for it would then be passed over.
        StatisticsHold hold;
        if (hold.Taken()) {
            for (StatFile* file : {dayFile, monthFile, yearFile}) {
                if (file)
                    file->Open(logPath);
            }
            logSettings.SetLogPath(logPath);
        }
    }
    logSettings.SetStartup(startup);
    logSettings.SetNewDay(newDay);
}
