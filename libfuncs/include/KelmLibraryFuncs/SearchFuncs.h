#pragma once
// The search conditions: a date range on one of an item's date-times and a
// size range. SearchFuncs owns the one search state of the process, which the
// search dialog sets and the folder openings read; it is not saved between
// runs and not guarded (the user-interface thread alone uses it).
#include <KelmLibraryUtils/DateTimeValue.h>

#include <cstdint>
#include <string>

namespace KelmLibraryFuncs {

class SearchFuncs {
public:
    using DateTimeValue = KelmLibraryUtils::DateTimeValue;

    // Values to test without a file.
    struct ITEM {
        DateTimeValue DateTime;
        std::int64_t Size = 0;
    };

    enum DateTimeTarget { ModifiedTarget = 0, CreatedTarget = 1, ExifTakenTarget = 2 };
    enum DateTimeRange {
        DateTimeSpecified = 0,
        Today = 1,
        Yesterday = 2,
        ThisWeek = 3,
        LastWeek = 4,
        ThisMonth = 5,
        LastMonth = 6,
        ThisYear = 7,
        LastYear = 8,
    };
    enum SizeRange {
        SizeSpecified = 0,
        SizeEmpty = 1,    // 0 bytes
        SizeTiny = 2,     // up to 16 KB
        SizeSmall = 3,    // up to 1 MB
        SizeMedium = 4,   // up to 128 MB
        SizeLarge = 5,    // up to 1 GB
        SizeHuge = 6,     // up to 4 GB
        SizeGigantic = 7, // above 4 GB
        SizeUnknown = 8,  // -1: a folder whose size is not computed
    };

    // 1 when the item passes the date and size conditions that are on. A
    // missing path passes. Folders are tested with their size only when
    // `folderSize` is nonzero, else with the size -1. Whether the search is
    // closed is the caller's business.
    static int IsMatch(const std::wstring& path, int folderSize);
    static int IsMatch(const ITEM& item);

    // The date test on the item's target date-time (0 for a missing path),
    // on a given value against the current moment, or against `now`.
    static int IsMatchDateTime(const std::wstring& path);
    static int IsMatchDateTime(const DateTimeValue& value);
    static int IsMatchDateTime(const DateTimeValue& value, const DateTimeValue& now);

    // The size test on the item's size (0 for a missing path) or on a byte count.
    static int IsMatchSize(const std::wstring& path, int folderSize);
    static int IsMatchSize(std::int64_t size);

    static int GetSearchClosed();
    static void SetSearchClosed(int closed);
    static int GetDateTimeSearch();
    static void SetDateTimeSearch(int search);
    static int GetDateTimeTarget();
    static void SetDateTimeTarget(int target);
    static int GetDateTimeRange();
    static void SetDateTimeRange(int range);
    static DateTimeValue GetDateTimeFromDateTime();
    static void SetDateTimeFromDateTime(const DateTimeValue& value);
    static DateTimeValue GetDateTimeToDateTime();
    static void SetDateTimeToDateTime(const DateTimeValue& value);
    static int GetSizeSearch();
    static void SetSizeSearch(int search);
    static int GetSizeTarget();
    static void SetSizeTarget(int target);
    static int GetSizeRange();
    static void SetSizeRange(int range);
    static std::int64_t GetSizeFromSize();
    static void SetSizeFromSize(std::int64_t size);
    static std::int64_t GetSizeToSize();
    static void SetSizeToSize(std::int64_t size);

    // Puts every condition back to its value at the start of the process:
    // everything off, the dates from 7 days before that day's start to the
    // end of that day, sizes 0 to 1024 bytes.
    static void ResetSearchConditions();
};

} // namespace KelmLibraryFuncs
