#pragma once
#include <string>

#include "viewer_date.h"

class CustomPeriodView;

// The one range of whole days the viewer computes.
class Period {
public:
    Period(TDate from, TDate to) : from(from), to(to) {}

    static TDate Today();

    // Monday to Sunday of the week that holds the date.
    void SetWeek(TDate date);

    // Today's date (not the period's) as "yyyy", "mmmm" and "dddd".
    static std::string YearText();
    static std::string MonthText();
    static std::string DayText();

    // Every second call returns false without showing the dialog; otherwise
    // the dialog runs and true means from and to now hold the chosen range.
    bool AskCustomRange();

    TDate from;
    TDate to;
    CustomPeriodView* form = nullptr;
    bool toggle = false;
};

// The OK check of the custom-period dialog: a start after the final date is
// refused with a message and the dialog stays open.
bool AcceptCustomRange(TDate start, TDate final);
