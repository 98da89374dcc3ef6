#include "viewer_date.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Day 0 of the viewer's count is 30 December 1899; in the civil day count
// used below (days from 1 March of year 0) that is this number.
constexpr long long kEpochShift = 693899;

long long CivilToDays(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe);
}

void DaysToCivil(long long z, int& year, int& month, int& day)
{
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}

long long WholeDays(TDate date)
{
    return static_cast<long long>(std::floor(date));
}

TDate& DateOverride()
{
    static TDate date = -1;
    return date;
}

std::string LocaleText(LCTYPE type)
{
    char buffer[128] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof(buffer)) <= 0)
        return std::string();
    return buffer;
}

// The locale's day-name tables start at Monday.
LCTYPE DayNameType(LCTYPE first, TDate date)
{
    int w = DayOfWeek(date);   // Sunday = 1
    int mondayBased = (w + 5) % 7;
    return first + static_cast<LCTYPE>(mondayBased);
}

} // namespace

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

TDate EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw DateEncodeError();
    return static_cast<TDate>(CivilToDays(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                              kEpochShift);
}

void DecodeDate(TDate date, int& year, int& month, int& day)
{
    DaysToCivil(WholeDays(date) + kEpochShift, year, month, day);
}

bool PickerCanShow(TDate date)
{
    return date >= EncodeDate(1752, 9, 14) && date <= EncodeDate(9999, 12, 31);
}

int DayOfWeek(TDate date)
{
    long long d = WholeDays(date);
    return static_cast<int>(((d + 6) % 7 + 7) % 7) + 1;
}

std::string FormatDate(const std::string& pattern, TDate date)
{
    int y, m, d;
    DecodeDate(date, y, m, d);
    std::string out;
    size_t i = 0;
    auto starts = [&](const char* token) { return pattern.compare(i, std::strlen(token), token) == 0; };
    while (i < pattern.size()) {
        char number[16];
        if (starts("yyyy")) {
            std::snprintf(number, sizeof(number), "%04d", y);
            out += number;
            i += 4;
        } else if (starts("mmmm")) {
            out += LocaleText(LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(m - 1));
            i += 4;
        } else if (starts("dddd")) {
            out += LocaleText(DayNameType(LOCALE_SDAYNAME1, date));
            i += 4;
        } else if (starts("ddd")) {
            out += LocaleText(DayNameType(LOCALE_SABBREVDAYNAME1, date));
            i += 3;
        } else if (starts("dd")) {
            std::snprintf(number, sizeof(number), "%02d", d);
            out += number;
            i += 2;
        } else if (starts("d")) {
            out += std::to_string(d);
            i += 1;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

TDate CurrentDate()
{
    if (DateOverride() >= 0)
        return DateOverride();
    SYSTEMTIME now;
    GetLocalTime(&now);
    return EncodeDate(now.wYear, now.wMonth, now.wDay);
}

void SetCurrentDateOverride(TDate date)
{
    DateOverride() = date;
}
