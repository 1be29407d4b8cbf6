#pragma once
// Proleptic Gregorian calendar arithmetic shared by the date-time
// conversions: day numbers, month lengths and the validity of components.
#include <cstdint>

namespace KelmLibraryUtils {

struct CalendarParts {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Days since 1970-01-01 of a calendar date (any year, no range check).
constexpr std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The calendar date of a day number counted from 1970-01-01.
void CivilFromDays(std::int64_t days, CalendarParts& parts);

// 1 = Monday .. 7 = Sunday.
int DayOfWeek(std::int64_t days);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// The date exists and the year lies in minYear..maxYear.
bool IsValidDate(int year, int month, int day, int minYear, int maxYear);
bool IsValidTime(int hour, int minute, int second);

} // namespace KelmLibraryUtils
