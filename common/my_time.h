#pragma once
#include <cstdint>
#include <string>

// A duration of whole hours, minutes and seconds. Hours do not wrap at 24.
// Minutes and seconds stay below 60 when the value comes from ticks; sums and
// values read from a file may hold more, and nothing checks them.
class My_Time {
public:
    My_Time() = default;
    My_Time(int32_t h, int32_t m, int32_t s) : hours(h), minutes(m), seconds(s) {}

    void Assign(const My_Time& other) { *this = other; }

    // "h:m:s" in decimal without leading zeros; kept in `text` and returned.
    std::string TimeToText();

    // One second forward. On values out of range the carry into the hours
    // happens only at exactly 59:59, and minutes and seconds are reduced
    // modulo 60 as unsigned numbers (a hand-edited file may give such values).
    void Tick();

    // Field-wise sum without carry; only weighted into seconds afterwards.
    My_Time operator+(My_Time other) const;

    // Seconds as hours * 3600 + minutes * 60 + seconds, in unsigned 32-bit arithmetic.
    uint32_t TotalSeconds() const;

    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
    std::string text;
};

// Percentage of part against whole (a zero whole counts as one second),
// remainder dropped, not clamped.
uint32_t TimePercent(My_Time part, My_Time whole);
