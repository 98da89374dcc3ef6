#include "my_time.h"

namespace {

// Decimal digits of v, a minus sign first when it is negative.
char* PutDecimal(char* out, int32_t v)
{
    uint32_t magnitude = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (v < 0)
        *out++ = '-';
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

} // namespace

std::string My_Time::TimeToText()
{
    // Built in place: the tracker formats every counter of every list three times a second.
    char buffer[3 * 11 + 2];
    char* end = PutDecimal(buffer, hours);
    *end++ = ':';
    end = PutDecimal(end, minutes);
    *end++ = ':';
    end = PutDecimal(end, seconds);
    text.assign(buffer, static_cast<size_t>(end - buffer));
    return text;
}

void My_Time::Tick()
{
    if (minutes == 59 && seconds == 59)
        hours = static_cast<int32_t>(static_cast<uint32_t>(hours) + 1);
    uint32_t m = static_cast<uint32_t>(minutes);
    minutes = static_cast<int32_t>((seconds == 59 ? m + 1 : m) % 60);
    seconds = static_cast<int32_t>((static_cast<uint32_t>(seconds) + 1) % 60);
}

My_Time My_Time::operator+(My_Time other) const
{
    auto add = [](int32_t a, int32_t b) {
        return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
    };
    return My_Time(add(hours, other.hours), add(minutes, other.minutes), add(seconds, other.seconds));
}

uint32_t My_Time::TotalSeconds() const
{
    return static_cast<uint32_t>(hours) * 3600u + static_cast<uint32_t>(minutes) * 60u +
           static_cast<uint32_t>(seconds);
}

uint32_t TimePercent(My_Time part, My_Time whole)
{
    uint32_t w = whole.TotalSeconds();
    if (w == 0)
        w = 1;
    // Wider than the 32 bits the rule names, so long days cannot overflow.
    uint64_t p = static_cast<uint64_t>(part.TotalSeconds()) * 100u;
    uint64_t q = p / w;
    return q > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(q);
}
