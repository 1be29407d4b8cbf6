#pragma once
// Local date-time values and their file times for the DateTimeFuncs tests,
// with a plain text form that makes failures readable.
#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/DateTimeValue.h>

#include <cstdio>
#include <string>

namespace datetimetest {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;
using KelmPlatform::FileTime;

inline DateTimeValue At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTimeUtils::MakeDateTime(y, mo, d, h, mi, s);
}

inline FileTime FileTimeAt(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DateTimeUtils::LocalComponentsToFileTime(y, mo, d, h, mi, s);
}

// "YYYY-MM-DD hh:mm:ss", "null" or "invalid".
inline std::string Text(const DateTimeValue& v) {
    if (v.IsNull())
        return "null";
    if (!v.IsValid())
        return "invalid";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", v.GetYear(), v.GetMonth(),
                  v.GetDay(), v.GetHour(), v.GetMinute(), v.GetSecond());
    return buffer;
}

// The local text of a file time, "unchanged" for 0.
inline std::string Text(FileTime ft) {
    return ft == 0 ? "unchanged" : Text(DateTimeUtils::FromFileTime(ft));
}

inline constexpr FileTime kSecond = 10'000'000;

} // namespace datetimetest
