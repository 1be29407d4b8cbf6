#pragma once
// Decides the new created, modified and accessed times of an item, one call
// per date-time, and writes the three at once. The three ways of computing
// a new value: from a given date and time, from another date-time of the
// same item, and staggered by the item's position in the run.
//
// Every compute operation works on local calendar values and returns a UTC
// file time made with the offset in force now; 0 means "leave this date-time
// unchanged" and is also the answer whenever no sound value can be computed.
#include "KelmLibraryFuncs/StaggerItem.h"

#include <KelmLibraryUtils/DateTimeValue.h>
#include <KelmPlatform/FileTime.h>

#include <string>

namespace KelmLibraryFuncs {

class DateTimeFuncs {
public:
    using DateTimeValue = KelmLibraryUtils::DateTimeValue;
    using FileTime = KelmPlatform::FileTime;

    // Date-time kinds (as DateTimeUtils::Kind; -1 also means modified).
    enum Kind { Created = 0, Modified = 1, Accessed = 2 };
    // The other date-time to take a value from; any other value is the EXIF one.
    enum OtherDateTime { OtherModified = 0, OtherCreated = 1, OtherAccessed = 2, OtherTaken = 3 };
    enum StaggerType { Cumulative = 0, Uniform = 1 };
    enum StaggerMethod { Forward = 0, Back = 1 };

    // The date part of `date` with the time of day of `time`; a null value
    // keeps that part of the item's own date-time of `kind`.
    static FileTime GetModifiedFileDateTime(const std::wstring& path, int enabled,
                                            const DateTimeValue& date, const DateTimeValue& time,
                                            int kind);

    // The item's other date-time `choice` at whole seconds.
    static FileTime GetSelectedFileDateTime(const std::wstring& path, int choice, int enabled);

    // The display text of the item's other date-time `choice`; empty when
    // the item has none.
    static std::wstring GetOtherDateTime(const std::wstring& path, int choice);

    // `base` (or the start date-time) moved by n intervals, n given by the
    // item's 0-based `index` in the run.
    static FileTime GetStaggerFileDateTime(int index, int enabled, const DateTimeValue& base,
                                           const STAGGERITEM& item);

    // Gregorian shifts: a month shift from the last day of a month lands on
    // the last day of the target month, otherwise the day is clamped to the
    // target month's length. A shift the calendar (years 1400..9999) cannot
    // make returns `value` unchanged and is traced.
    static DateTimeValue GetCalDateTime(const DateTimeValue& value, int years, int months,
                                        int days);

    // `value` moved by whole hours; the valid value 0 for an invalid value or
    // one not after 1899-12-30 00:00.
    static DateTimeValue GetTimeDifferenceDateTime(const DateTimeValue& value, int hours);

    // Writes the times that are nonzero (note the order). A read-only file
    // is refused; folders are written whatever their attributes. Failures
    // are traced.
    static int SetModifiedFileDateTime(const std::wstring& path, const FileTime& created,
                                       const FileTime& modified, const FileTime& accessed);

    // Same calendar day / same year and month; 0 when either value is null.
    static int IsMatchDate(const DateTimeValue& a, const DateTimeValue& b);
    static int IsMatchDateMonth(const DateTimeValue& a, const DateTimeValue& b);
};

} // namespace KelmLibraryFuncs
