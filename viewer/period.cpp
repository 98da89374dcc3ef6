#include "period.h"

#include <windows.h>

#include "messages.h"
#include "views.h"

TDate Period::Today()
{
    return CurrentDate();
}

void Period::SetWeek(TDate date)
{
    int w = DayOfWeek(date);
    TDate x = w == 1 ? date - 8 : date - w;
    from = x + 2;
    to = x + 8;
}

std::string Period::YearText()
{
    return FormatDate("yyyy", Today());
}

std::string Period::MonthText()
{
    return FormatDate("mmmm", Today());
}

std::string Period::DayText()
{
    return FormatDate("dddd", Today());
}

bool Period::AskCustomRange()
{
    toggle = !toggle;
    if (!toggle || !form)
        return false;
    TDate start = from, final = to;
    if (!form->ShowModal(start, final))
        return false;
    from = start;
    to = final;
    return true;
}

bool AcceptCustomRange(TDate start, TDate final)
{
    if (start > final) {
        ShowMessageBox("Start date greater than final.", "Kaltrow", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}
