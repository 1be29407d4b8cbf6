#include "CalendarMath.h"

namespace KelmLibraryUtils {

void CivilFromDays(std::int64_t days, CalendarParts& parts) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    parts.year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    parts.month = month;
    parts.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
}

int DayOfWeek(std::int64_t days) {
    return static_cast<int>(((days % 7) + 7 + 3) % 7) + 1;
}

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

bool IsValidDate(int year, int month, int day, int minYear, int maxYear) {
    return year >= minYear && year <= maxYear && day >= 1 && day <= DaysInMonth(year, month);
}

bool IsValidTime(int hour, int minute, int second) {
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

} // namespace KelmLibraryUtils
