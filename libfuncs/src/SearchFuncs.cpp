#include "KelmLibraryFuncs/SearchFuncs.h"

#include "SearchState.h"

#include "KelmLibraryFuncs/DateTimeFuncs.h"

#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/FileUtils.h>
#include <KelmLibraryUtils/ImageUtils.h>
#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>

#include <boost/date_time/gregorian/gregorian.hpp>

#include <cmath>
#include <cstdint>
#include <exception>
#include <iterator>
#include <limits>

namespace KelmLibraryFuncs {
namespace {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;
using KelmLibraryUtils::FileUtils;
using KelmLibraryUtils::ImageUtils;

// Before 1899-12-30 an OLE date counts its time of day away from zero
// (-1.25 is 06:00 of 1899-12-29, later than -1.0), so values are ordered on
// a scale that runs forward throughout.
double Linear(const DateTimeValue& value) {
    const double days = value.GetDays();
    const double whole = std::trunc(days);
    return days < 0 ? whole + (whole - days) : days;
}

bool SameYear(const DateTimeValue& a, const DateTimeValue& b) {
    return !a.IsNull() && !b.IsNull() && a.GetYear() == b.GetYear();
}

bool SameMonth(const DateTimeValue& a, const DateTimeValue& b) {
    return SameYear(a, b) && a.GetMonth() == b.GetMonth();
}

bool SameDay(const DateTimeValue& a, const DateTimeValue& b) {
    return SameMonth(a, b) && a.GetDay() == b.GetDay();
}

bool Within(const DateTimeValue& value, const DateTimeValue& from, const DateTimeValue& to) {
    return Linear(from) <= Linear(value) && Linear(value) <= Linear(to);
}

// A null bound leaves that side open; with both null nothing passes.
bool WithinSpecified(const DateTimeValue& value, const SearchState& state) {
    const bool hasFrom = !state.from.IsNull();
    const bool hasTo = !state.to.IsNull();
    if (!hasFrom && !hasTo)
        return false;
    if ((hasFrom && !state.from.IsValid()) || (hasTo && !state.to.IsValid()))
        return false;
    return (!hasFrom || Linear(state.from) <= Linear(value)) &&
           (!hasTo || Linear(value) <= Linear(state.to));
}

// Sunday 1 ... Saturday 7; 0 for a value outside the calendar.
int DayOfWeek(const DateTimeValue& value) {
    try {
        const boost::gregorian::date date(value.GetYear(), value.GetMonth(), value.GetDay());
        return date.day_of_week().as_number() + 1;
    } catch (const std::exception&) {
        return 0;
    }
}

// Weeks run from Sunday to Saturday; `weeksBack` 0 is the week of `now`.
bool WithinWeek(const DateTimeValue& value, const DateTimeValue& now, int weeksBack) {
    const int weekday = DayOfWeek(now);
    if (weekday == 0)
        return false;
    const DateTimeValue first =
        DateTimeFuncs::GetCalDateTime(now, 0, 0, 1 - weekday - 7 * weeksBack);
    const DateTimeValue last = DateTimeFuncs::GetCalDateTime(first, 0, 0, 6);
    return Within(value, DateTimeUtils::GetBeginDateTime(first),
                  DateTimeUtils::GetEndDateTime(last));
}

struct SizeBounds {
    std::int64_t low;
    std::int64_t high;
};

constexpr std::int64_t kKB = 1024;
constexpr std::int64_t kMB = 1024 * kKB;
constexpr std::int64_t kGB = 1024 * kMB;

// Indexed by the size range; the first row stands in for the specified
// bounds, which come from the state.
constexpr SizeBounds kSizeRanges[] = {
    {0, 0},
    {0, 0},
    {1, 16 * kKB},
    {16 * kKB + 1, kMB},
    {kMB + 1, 128 * kMB},
    {128 * kMB + 1, kGB},
    {kGB + 1, 4 * kGB},
    {4 * kGB + 1, std::numeric_limits<std::int64_t>::max()},
    {-1, -1},
};

DateTimeValue ExifTakenDateTime(const std::wstring& path) {
    const std::wstring text = ImageUtils::GetPropertyTagExifDTOrig(path);
    return text.empty() ? DateTimeValue() : DateTimeUtils::GetExifDateTime(text);
}

// The date-time the search looks at; targets other than these give the
// valid value 0 (1899-12-30 00:00:00).
DateTimeValue TargetDateTime(const std::wstring& path, const KelmPlatform::ItemInfo& info) {
    switch (TheSearchState().dateTimeTarget) {
    case SearchFuncs::ModifiedTarget:
        return DateTimeUtils::FromFileTime(info.times.modified);
    case SearchFuncs::CreatedTarget:
        return DateTimeUtils::FromFileTime(info.times.created);
    case SearchFuncs::ExifTakenTarget:
        return ExifTakenDateTime(path);
    default:
        return DateTimeValue();
    }
}

// A folder has no size (-1) unless folder sizes are asked for.
std::int64_t ItemSize(const std::wstring& path, const KelmPlatform::ItemInfo& info,
                      int folderSize) {
    if (info.attributes & KelmPlatform::kDirectory)
        return folderSize ? FileUtils::GetFileSize(path) : -1;
    return static_cast<std::int64_t>(info.size);
}

} // namespace

int SearchFuncs::IsMatch(const std::wstring& path, int folderSize) {
    KelmPlatform::ItemInfo info;
    if (!KelmPlatform::ReadItemInfo(path, info))
        return 1;
    const SearchState& state = TheSearchState();
    if (state.dateTimeSearch && !IsMatchDateTime(TargetDateTime(path, info)))
        return 0;
    if (state.sizeSearch && !IsMatchSize(ItemSize(path, info, folderSize)))
        return 0;
    return 1;
}

int SearchFuncs::IsMatch(const ITEM& item) {
    const SearchState& state = TheSearchState();
    if (state.dateTimeSearch && !IsMatchDateTime(item.DateTime))
        return 0;
    if (state.sizeSearch && !IsMatchSize(item.Size))
        return 0;
    return 1;
}

int SearchFuncs::IsMatchDateTime(const std::wstring& path) {
    KelmPlatform::ItemInfo info;
    if (!KelmPlatform::ReadItemInfo(path, info))
        return 0;
    return IsMatchDateTime(TargetDateTime(path, info));
}

int SearchFuncs::IsMatchDateTime(const DateTimeValue& value) {
    return IsMatchDateTime(value, DateTimeUtils::GetCurrentDateTime());
}

// A value without a date-time (null) lies in no range, like an invalid one.
int SearchFuncs::IsMatchDateTime(const DateTimeValue& value, const DateTimeValue& now) {
    const SearchState& state = TheSearchState();
    if (!value.IsValid())
        return 0;
    if (state.dateTimeRange == DateTimeSpecified)
        return WithinSpecified(value, state) ? 1 : 0;
    if (!now.IsValid())
        return 0;
    switch (state.dateTimeRange) {
    case Today:
        return SameDay(value, now) ? 1 : 0;
    case Yesterday:
        return SameDay(value, DateTimeFuncs::GetCalDateTime(now, 0, 0, -1)) ? 1 : 0;
    case ThisWeek:
        return WithinWeek(value, now, 0) ? 1 : 0;
    case LastWeek:
        return WithinWeek(value, now, 1) ? 1 : 0;
    case ThisMonth:
        return SameMonth(value, now) ? 1 : 0;
    case LastMonth:
        return SameMonth(value, DateTimeFuncs::GetCalDateTime(now, 0, -1, 0)) ? 1 : 0;
    case ThisYear:
        return SameYear(value, now) ? 1 : 0;
    case LastYear:
        return SameYear(value, DateTimeFuncs::GetCalDateTime(now, -1, 0, 0)) ? 1 : 0;
    default:
        return 0;
    }
}

int SearchFuncs::IsMatchSize(const std::wstring& path, int folderSize) {
    KelmPlatform::ItemInfo info;
    if (!KelmPlatform::ReadItemInfo(path, info))
        return 0;
    return IsMatchSize(ItemSize(path, info, folderSize));
}

int SearchFuncs::IsMatchSize(std::int64_t size) {
    const SearchState& state = TheSearchState();
    const int range = state.sizeRange;
    if (range == SizeSpecified)
        return state.fromSize <= size && size <= state.toSize ? 1 : 0;
    if (range < 0 || range >= static_cast<int>(std::size(kSizeRanges)))
        return 0;
    return kSizeRanges[range].low <= size && size <= kSizeRanges[range].high ? 1 : 0;
}

} // namespace KelmLibraryFuncs
