#pragma once
// The text forms of a local date-time in the user's locale. Dates use the
// locale's short date form with the year widened to four digits, times are
// always "HH:mm:ss", and digits are always ASCII. The parser reads back all
// of that, the locale's long date form, ISO 8601 ("2024-03-01T10:00:00" or
// with a blank) and "2024-Mar-01 10:00:00" with English month
// abbreviations; month names match in any case and in English or the
// locale's language, and native digits (full-width, Arabic-Indic) count.
#include "CalendarMath.h"

#include <QString>

namespace KelmLibraryUtils {

class LocaleDateText {
public:
    static QString FormatDate(int year, int month, int day);
    static QString FormatTime(int hour, int minute, int second);

    enum class Outcome {
        Parsed,
        NotADate,  // no accepted form matches the shape of the text
        OutOfRange // the shape matches but the date or time does not exist
    };
    struct Result {
        Outcome outcome = Outcome::NotADate;
        bool hasDate = false;
        bool hasTime = false;
        CalendarParts parts; // date fields valid when hasDate, time when hasTime
    };
    static Result Parse(const QString& text);
};

} // namespace KelmLibraryUtils
