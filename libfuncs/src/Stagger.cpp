// The staggered date-time: a base moved by n intervals, the time of day
// first (as an exact duration), then the calendar (years, months, days).
#include "KelmLibraryFuncs/DateTimeFuncs.h"

#include "CalendarShift.h"

#include <KelmLibraryUtils/DateTimeUtils.h>

#include <cstdint>
#include <limits>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;

// The whole move of one item.
struct Steps {
    std::int64_t years = 0;
    std::int64_t months = 0;
    std::int64_t days = 0;
    std::int64_t seconds = 0;
};

// The time-of-day intervals come from a time picker; anything outside a
// time of day (-1 is what an invalid picker gives) is no interval at all.
bool HasTimeOfDayInterval(const STAGGERITEM& item) {
    return item.IntervalHours >= 0 && item.IntervalHours <= 23 && item.IntervalMinutes >= 0 &&
           item.IntervalMinutes <= 59 && item.IntervalSeconds >= 0 && item.IntervalSeconds <= 59;
}

std::int64_t Multiplier(int index, const STAGGERITEM& item) {
    switch (item.Type) {
    case DateTimeFuncs::Uniform:
        return std::int64_t{item.StartValue} + 1;
    case DateTimeFuncs::Cumulative:
        return std::int64_t{index} + item.StartValue;
    default:
        return index;
    }
}

// n times an interval, refused when it leaves 32 bits: such a product
// wraps and would move the item somewhere arbitrary.
bool Times(std::int64_t n, std::int32_t interval, std::int64_t& product) {
    product = n * interval;
    return product >= std::numeric_limits<std::int32_t>::min() &&
           product <= std::numeric_limits<std::int32_t>::max();
}

bool StepsOf(int index, const STAGGERITEM& item, Steps& steps) {
    const std::int64_t n = Multiplier(index, item);
    std::int64_t h = 0, m = 0, s = 0;
    if (!HasTimeOfDayInterval(item) || !Times(n, item.IntervalYears, steps.years) ||
        !Times(n, item.IntervalMonths, steps.months) || !Times(n, item.IntervalDays, steps.days) ||
        !Times(n, item.IntervalHours, h) || !Times(n, item.IntervalMinutes, m) ||
        !Times(n, item.IntervalSeconds, s))
        return false;
    steps.seconds = h * 3600 + m * 60 + s;
    if (item.Method == DateTimeFuncs::Back) {
        steps = {-steps.years, -steps.months, -steps.days, -steps.seconds};
    } else if (item.Method != DateTimeFuncs::Forward) {
        steps.seconds = 0;
    }
    return true;
}

DateTimeValue StartOf(const DateTimeValue& base, const STAGGERITEM& item) {
    return item.EnabledStartDateTime
               ? DateTimeUtils::CombineDateTime(item.StartDate, item.StartTime)
               : base;
}

} // namespace

// Whatever cannot be shifted as asked is left unchanged (0), never shifted
// half-way: a calendar step out of range must not leave the time-of-day
// step applied alone.
DateTimeFuncs::FileTime DateTimeFuncs::GetStaggerFileDateTime(int index, int enabled,
                                                              const DateTimeValue& base,
                                                              const STAGGERITEM& item) {
    if (!enabled)
        return 0;
    const DateTimeValue start = StartOf(base, item);
    Steps steps;
    if (!start.IsValid() || !(start.GetDays() > 0) || !StepsOf(index, item, steps))
        return 0;
    DateTimeValue timed;
    DateTimeValue shifted;
    if (!CalendarShift::ShiftSeconds(start, steps.seconds, timed) ||
        !CalendarShift::ShiftDate(timed, steps.years, steps.months, steps.days, shifted))
        return 0;
    return DateTimeUtils::ToFileTime(shifted);
}

} // namespace KelmLibraryFuncs
