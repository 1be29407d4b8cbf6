#include "CalendarShift.h"

#include "KelmLibraryFuncs/LogFuncs.h"

#include <KelmLibraryUtils/DateTimeUtils.h>

#include <boost/date_time/gregorian/gregorian.hpp>
#include <boost/date_time/posix_time/posix_time.hpp>

#include <cstdlib>
#include <stdexcept>
#include <string>

namespace KelmLibraryFuncs::CalendarShift {
namespace {

namespace greg = boost::gregorian;
namespace ptm = boost::posix_time;
using KelmLibraryUtils::DateTimeUtils;

// Beyond these no shift can stay inside the calendar; refusing them early
// keeps Boost's 32-bit arithmetic from overflowing.
constexpr std::int64_t kMaxMonths = 12 * 10'000;
constexpr std::int64_t kMaxDays = 366 * 10'000;
constexpr std::int64_t kMaxSeconds = kMaxDays * 86'400;

void RequireWithin(std::int64_t amount, std::int64_t limit) {
    if (std::llabs(amount) > limit)
        throw greg::bad_year();
}

greg::date DateOf(const DateTimeValue& value) {
    const int year = value.GetYear();
    // greg_year takes an unsigned short: check before a wider year wraps.
    if (year < 1400 || year > 9999)
        throw greg::bad_year();
    return greg::date(static_cast<unsigned short>(year), value.GetMonth(), value.GetDay());
}

greg::date MonthsLater(const greg::date& day, std::int64_t months) {
    RequireWithin(months, kMaxMonths);
    return day + greg::months(static_cast<int>(months));
}

greg::date DaysLater(const greg::date& day, std::int64_t days) {
    RequireWithin(days, kMaxDays);
    return day + greg::days(static_cast<long>(days));
}

// Reading the fields makes Boost check the range of a computed date.
DateTimeValue WithDate(const greg::date& day, int hour, int minute, int second) {
    if (day.is_special())
        throw greg::bad_year();
    const greg::date::ymd_type ymd = day.year_month_day();
    return DateTimeUtils::MakeDateTime(ymd.year, ymd.month, ymd.day, hour, minute, second);
}

bool Rejected(const std::exception& error) {
    const std::string message = error.what();
    LogFuncs::Write(std::wstring(message.begin(), message.end()), LogFuncs::kDefaultLevel);
    return false;
}

} // namespace

bool ShiftDate(const DateTimeValue& value, std::int64_t years, std::int64_t months,
               std::int64_t days, DateTimeValue& shifted) {
    try {
        RequireWithin(years, kMaxMonths / 12);
        const greg::date start = DateOf(value);
        const greg::date moved =
            DaysLater(MonthsLater(MonthsLater(start, 12 * years), months), days);
        shifted = WithDate(moved, value.GetHour(), value.GetMinute(), value.GetSecond());
        return true;
    } catch (const std::out_of_range& error) {
        return Rejected(error);
    }
}

bool ShiftSeconds(const DateTimeValue& value, std::int64_t seconds, DateTimeValue& shifted) {
    try {
        RequireWithin(seconds, kMaxSeconds);
        const ptm::ptime start(DateOf(value), ptm::hours(value.GetHour()) +
                                                  ptm::minutes(value.GetMinute()) +
                                                  ptm::seconds(value.GetSecond()));
        const ptm::ptime moved = start + ptm::seconds(seconds);
        const ptm::time_duration time = moved.time_of_day();
        shifted = WithDate(moved.date(), static_cast<int>(time.hours()),
                           static_cast<int>(time.minutes()), static_cast<int>(time.seconds()));
        return shifted.IsValid();
    } catch (const std::out_of_range& error) {
        return Rejected(error);
    }
}

} // namespace KelmLibraryFuncs::CalendarShift
