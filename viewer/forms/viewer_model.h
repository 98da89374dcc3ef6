#pragma once
#include <memory>
#include <string>
#include <vector>

#include "applic.h"
#include "klr.h"
#include "my_mutex.h"
#include "period.h"
#include "project.h"
#include "report_lists.h"
#include "statistics.h"
#include "viewer_interface.h"
#include "viewer_settings.h"

// The viewer's process-wide objects. The lists exist, empty, before any
// window; the rest is created once, in this order, when the main window
// first shows, and kept until the program ends.
struct ViewerModel {
    ApplicList resultList;
    ApplicList projectList;
    TotalDates totalDates;
    // Total_panel's height while the applications panel is hidden.
    int savedPeriodHeight = 0;
    // The command line after the program's name.
    std::string commandTail;

    std::unique_ptr<LogSettings> logSettings;
    std::unique_ptr<InterfaceSettings> interfaceSettings;
    std::unique_ptr<ApplList> applList;   // the Interface's view
    std::unique_ptr<Interface> iface;
    std::unique_ptr<Project> project;
    std::unique_ptr<StatisticsDay> day;
    std::unique_ptr<StatisticsWeek> week;
    std::unique_ptr<StatisticsMonth> month;
    std::unique_ptr<StatisticsYear> year;
    std::unique_ptr<StatisticsAllYears> allYears;
    std::unique_ptr<StatisticsCustom> custom;
    std::unique_ptr<Period> period;
    std::unique_ptr<KLR> klr;
    std::unique_ptr<MyMutex> mutex;
    std::unique_ptr<TotalList> totalList;

    // The six levels in the order Day, Week, Month, Year, All years, Custom.
    std::vector<Statistics*> Levels() const
    {
        return {day.get(), week.get(), month.get(), year.get(), allYears.get(), custom.get()};
    }
};
