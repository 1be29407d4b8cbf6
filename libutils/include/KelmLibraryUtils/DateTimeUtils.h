#pragma once
// Moves a moment between its three forms (file time, date-time value, text)
// and reads an item's date-times. All user-facing date-times are local time
// at whole seconds; local time and UTC are converted with the offset in
// force now, not the one in force at the converted date, so a shown time
// converts back to exactly the stored file time.
#include "KelmLibraryUtils/DateTimeValue.h"

#include <KelmPlatform/FileTime.h>

#include <string>

namespace KelmLibraryUtils {

using KelmPlatform::FileTime;

class DateTimeUtils {
public:
    // Date-time kinds of an item.
    enum Kind { Created = 0, Modified = 1, Accessed = 2 };
    // Component indexes.
    enum Component { Year = 0, Month = 1, Day = 2, Hour = 3, Minute = 4, Second = 5 };
    // Parse and format flags: 0 means date and time.
    enum Flags { TimeValueOnly = 0x1, DateValueOnly = 0x2 };
    // The user's default locale, the only one the system passes.
    static constexpr int LocaleUserDefault = 1024;

    // Conversions.
    static DateTimeValue MakeDateTime(int year, int month, int day, int hour, int minute,
                                      int second);
    static DateTimeValue FromFileTime(FileTime ft);
    static FileTime LocalComponentsToFileTime(int year, int month, int day, int hour, int minute,
                                              int second);
    static FileTime ToFileTime(const DateTimeValue& value); // 0 when not valid
    static DateTimeValue GetCurrentDateTime();

    // The current-offset rule: UTC file time <-> local file time.
    static FileTime FileTimeToLocalFileTime(FileTime utc);
    static FileTime LocalFileTimeToFileTime(FileTime local);

    // An item's date-times as local values; the valid value 0 when not found.
    static DateTimeValue GetDateCreated(const std::wstring& path);
    static DateTimeValue GetDateModified(const std::wstring& path);
    static DateTimeValue GetDateAccessed(const std::wstring& path);
    static int GetDateTime(const std::wstring& path, const DateTimeValue& value, int kind,
                           int component);
    static int GetDateTimeValue(const std::wstring& path, const DateTimeValue& value, int kind,
                                int component);

    // Combining and day bounds.
    static DateTimeValue CombineDateTime(const DateTimeValue& date, const DateTimeValue& time);
    static DateTimeValue GetBeginDateTime(const DateTimeValue& value);
    static DateTimeValue GetEndDateTime(const DateTimeValue& value);

    // Parsing.
    static DateTimeValue GetParseDateTime(const std::wstring& text, int parse, int flags = 0,
                                          int locale = LocaleUserDefault);
    static int IsParseDateTime(const std::wstring& text, int flags = 0,
                               int locale = LocaleUserDefault);
    static FileTime GetAsFileTime(const std::wstring& text);
    static DateTimeValue GetPDFDateTime(const std::wstring& text);
    static DateTimeValue GetExifDateTime(const std::wstring& text);

    // Formatting.
    static std::wstring GetFormatedDate(const DateTimeValue& value);
    static std::wstring GetFormatedDateTime(const DateTimeValue& value);
    static std::wstring GetFormatedDateTime(FileTime ft);
    static std::wstring GetFormatedExifDateTime(const DateTimeValue& value);
    static std::wstring GetFormatedExifDateTime(const std::wstring& text);
    static std::wstring GetFormatedExifDateTime(FileTime ft);
    static std::wstring GetCurrentDateTimeDefaultFormatted();
    static std::wstring GetCurrentDateTimeEx();

    // Locale text of one value with a flag (0, TimeValueOnly, DateValueOnly):
    // empty for a null value, "Invalid DateTime" for an invalid one.
    static std::wstring Format(const DateTimeValue& value, int flags = 0,
                               int locale = LocaleUserDefault);
};

} // namespace KelmLibraryUtils
