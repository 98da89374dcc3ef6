#pragma once
#include <stdexcept>
#include <string>

// The viewer's date value: days counted from 30 December 1899 as a double.
// The viewer holds whole days only.
using TDate = double;

// Thrown when year, month and day do not make a calendar date.
class DateEncodeError : public std::runtime_error {
public:
    DateEncodeError() : std::runtime_error("Invalid argument to date encode.") {}
};

// Years 1 to 9999, months 1 to 12, days within the month; else DateEncodeError.
TDate EncodeDate(int year, int month, int day);
void DecodeDate(TDate date, int& year, int& month, int& day);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Whether the date is in the range every date picker shows: 14 September 1752
// (where Wine's begin) to 31 December 9999.
bool PickerCanShow(TDate date);

// Sunday = 1, Monday = 2, ..., Saturday = 7.
int DayOfWeek(TDate date);

// Patterns "yyyy", "mmmm", "dddd", "ddd", "dd" and "d" with the user's locale
// names; every other character is copied.
std::string FormatDate(const std::string& pattern, TDate date);

// The current local date as a whole day. Tests fix it with the override;
// a negative override is no override.
TDate CurrentDate();
void SetCurrentDateOverride(TDate date);
