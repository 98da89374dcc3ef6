#include "applic.h"

namespace {

int32_t Wrap(uint32_t value)
{
    return static_cast<int32_t>(value);
}

} // namespace

My_Time AddTimes(My_Time a, const My_Time& b)
{
    // Unsigned arithmetic, so values from hand-edited files cannot overflow into UB.
    uint32_t s = static_cast<uint32_t>(a.seconds) + static_cast<uint32_t>(b.seconds);
    uint32_t m = static_cast<uint32_t>(a.minutes) + static_cast<uint32_t>(b.minutes) + s / 60;
    uint32_t h = static_cast<uint32_t>(a.hours) + static_cast<uint32_t>(b.hours) + m / 60;
    return My_Time(Wrap(h), Wrap(m % 60), Wrap(s % 60));
}

std::string TimeToText(My_Time& t)
{
    return t.TimeToText();
}

bool SameApplic(const Applic& a, const Applic& b)
{
    return a.path == b.path && a.name == b.name;
}

void CopyTimes(Applic& row, const My_Time times[4])
{
    row.loaded = times[0];
    row.active = times[1];
    row.mouse = times[2];
    row.keyboard = times[3];
}

Applic SumApplic(const Applic& a, const Applic& b)
{
    Applic sum(b.path, b.name);
    sum.loaded = AddTimes(a.loaded, b.loaded);
    sum.active = AddTimes(a.active, b.active);
    sum.mouse = AddTimes(a.mouse, b.mouse);
    sum.keyboard = AddTimes(a.keyboard, b.keyboard);
    return sum;
}

std::string FileNamePart(const std::string& path)
{
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos || slash == 0)
        return path;
    return path.substr(slash + 1);
}
