#include "KelmLibraryUtils/DateTimeUtils.h"

#include "FileTimeCalendar.h"
#include "OleDate.h"

#include <KelmPlatform/FileSystemItem.h>

#include <cstdint>
#include <ctime>

namespace KelmLibraryUtils {

namespace {

using KelmPlatform::kTicksPerSecond;

bool SplitValue(const DateTimeValue& value, CalendarParts& parts) {
    return value.IsValid() && PartsFromOleDate(value.GetDays(), parts);
}

DateTimeValue FromParts(const CalendarParts& p) {
    return DateTimeUtils::MakeDateTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

// Shifts a file time by a signed number of seconds; false when the result
// falls outside what a file time can hold.
bool Shift(FileTime ft, std::int64_t seconds, FileTime& shifted) {
    std::int64_t ticks = 0;
    if (ft > INT64_MAX ||
        __builtin_add_overflow(static_cast<std::int64_t>(ft),
                               seconds * static_cast<std::int64_t>(kTicksPerSecond), &ticks) ||
        ticks < 0)
        return false;
    shifted = static_cast<FileTime>(ticks);
    return true;
}

FileTime Shifted(FileTime ft, std::int64_t seconds) {
    FileTime shifted = 0;
    return Shift(ft, seconds, shifted) ? shifted : 0;
}

DateTimeValue ItemDate(const std::wstring& path, int kind) {
    KelmPlatform::ItemTimes times;
    if (!KelmPlatform::ReadItemTimes(path, times))
        return DateTimeValue();
    switch (kind) {
    case DateTimeUtils::Created:
        return DateTimeUtils::FromFileTime(times.created);
    case DateTimeUtils::Modified:
    case -1:
        return DateTimeUtils::FromFileTime(times.modified);
    case DateTimeUtils::Accessed:
        return DateTimeUtils::FromFileTime(times.accessed);
    default:
        return DateTimeValue::MakeInvalid();
    }
}

int ComponentOf(const DateTimeValue& value, int component) {
    switch (component) {
    case DateTimeUtils::Year:
        return value.GetYear();
    case DateTimeUtils::Month:
        return value.GetMonth();
    case DateTimeUtils::Day:
        return value.GetDay();
    case DateTimeUtils::Hour:
        return value.GetHour();
    case DateTimeUtils::Minute:
        return value.GetMinute();
    case DateTimeUtils::Second:
        return value.GetSecond();
    default:
        return -1;
    }
}

} // namespace

DateTimeValue DateTimeUtils::MakeDateTime(int year, int month, int day, int hour, int minute,
                                          int second) {
    const CalendarParts wanted{year, month, day, hour, minute, second};
    double days = 0;
    CalendarParts back;
    if (!OleDateFromParts(wanted, days) || !PartsFromOleDate(days, back) || back.year != year ||
        back.month != month || back.day != day || back.hour != hour || back.minute != minute ||
        back.second != second)
        return DateTimeValue::MakeInvalid();
    return DateTimeValue(days);
}

DateTimeValue DateTimeUtils::FromFileTime(FileTime ft) {
    FileTime local = 0;
    if (!Shift(ft, CurrentUtcOffset(), local))
        return DateTimeValue::MakeInvalid();
    CalendarParts parts;
    PartsFromFileTime(local, parts);
    return FromParts(parts);
}

FileTime DateTimeUtils::LocalComponentsToFileTime(int year, int month, int day, int hour,
                                                  int minute, int second) {
    FileTime local = 0;
    if (!FileTimeFromParts(CalendarParts{year, month, day, hour, minute, second}, local))
        return 0;
    return LocalFileTimeToFileTime(local);
}

FileTime DateTimeUtils::ToFileTime(const DateTimeValue& value) {
    CalendarParts p;
    if (!SplitValue(value, p))
        return 0;
    return LocalComponentsToFileTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
}

DateTimeValue DateTimeUtils::GetCurrentDateTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return FromFileTime(KelmPlatform::FileTimeFromTimespec(now));
}

FileTime DateTimeUtils::FileTimeToLocalFileTime(FileTime utc) {
    return Shifted(utc, CurrentUtcOffset());
}

FileTime DateTimeUtils::LocalFileTimeToFileTime(FileTime local) {
    return Shifted(local, -CurrentUtcOffset());
}

DateTimeValue DateTimeUtils::GetDateCreated(const std::wstring& path) {
    return ItemDate(path, Created);
}

DateTimeValue DateTimeUtils::GetDateModified(const std::wstring& path) {
    return ItemDate(path, Modified);
}

DateTimeValue DateTimeUtils::GetDateAccessed(const std::wstring& path) {
    return ItemDate(path, Accessed);
}

int DateTimeUtils::GetDateTime(const std::wstring& path, const DateTimeValue& value, int kind,
                               int component) {
    return ComponentOf(value.IsNull() ? ItemDate(path, kind) : value, component);
}

int DateTimeUtils::GetDateTimeValue(const std::wstring&, const DateTimeValue& value, int,
                                    int component) {
    return ComponentOf(value, component);
}

DateTimeValue DateTimeUtils::CombineDateTime(const DateTimeValue& date, const DateTimeValue& time) {
    // Components of a null or invalid input read as -1 and spoil the result.
    return MakeDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), time.GetHour(),
                        time.GetMinute(), time.GetSecond());
}

DateTimeValue DateTimeUtils::GetBeginDateTime(const DateTimeValue& value) {
    if (value.IsNull())
        return DateTimeValue();
    return MakeDateTime(value.GetYear(), value.GetMonth(), value.GetDay(), 0, 0, 0);
}

DateTimeValue DateTimeUtils::GetEndDateTime(const DateTimeValue& value) {
    if (value.IsNull())
        return DateTimeValue();
    return MakeDateTime(value.GetYear(), value.GetMonth(), value.GetDay(), 23, 59, 59);
}

} // namespace KelmLibraryUtils
