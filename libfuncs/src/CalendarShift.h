#pragma once
// The Gregorian arithmetic behind the date-time shifts, on Boost.Date_Time.
// Its calendar covers the years 1400..9999; a shift that would leave it, or a
// date it rejects, fails and writes the calendar's message to the trace.
#include <KelmLibraryUtils/DateTimeValue.h>

#include <cstdint>

namespace KelmLibraryFuncs::CalendarShift {

using KelmLibraryUtils::DateTimeValue;

// The calendar date of a valid `value` moved by years, months and days, in
// that order, each month step keeping the end of the month; the time of day
// stays.
bool ShiftDate(const DateTimeValue& value, std::int64_t years, std::int64_t months,
               std::int64_t days, DateTimeValue& shifted);

// A valid `value`, taken to whole seconds, moved by an exact duration.
bool ShiftSeconds(const DateTimeValue& value, std::int64_t seconds, DateTimeValue& shifted);

} // namespace KelmLibraryFuncs::CalendarShift
