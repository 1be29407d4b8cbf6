#include "OleDate.h"

#include <cmath>

namespace KelmLibraryUtils {

namespace {
constexpr int kSecondsPerDay = 86400;
} // namespace

bool OleDateFromParts(const CalendarParts& p, double& days) {
    if (!IsValidDate(p.year, p.month, p.day, kOleMinYear, kOleMaxYear) ||
        !IsValidTime(p.hour, p.minute, p.second))
        return false;
    const auto whole = static_cast<double>(DaysFromCivil(p.year, p.month, p.day) - kOleEpochDays);
    const double fraction = (p.hour * 3600 + p.minute * 60 + p.second) / double(kSecondsPerDay);
    days = whole < 0 ? whole - fraction : whole + fraction;
    return true;
}

bool PartsFromOleDate(double days, CalendarParts& parts) {
    // One day of margin on each side; the year check below is the real bound.
    if (!std::isfinite(days) || days <= -657436.0 || days >= 2958467.0)
        return false;
    double whole = std::trunc(days);
    auto seconds = static_cast<int>(std::llround(std::fabs(days - whole) * kSecondsPerDay));
    if (seconds == kSecondsPerDay) {
        // Rounded up to the next midnight; the next day is one further in
        // both halves of the scale.
        whole += 1;
        seconds = 0;
    }
    CivilFromDays(static_cast<std::int64_t>(whole) + kOleEpochDays, parts);
    parts.hour = seconds / 3600;
    parts.minute = seconds / 60 % 60;
    parts.second = seconds % 60;
    return parts.year >= kOleMinYear && parts.year <= kOleMaxYear;
}

} // namespace KelmLibraryUtils
