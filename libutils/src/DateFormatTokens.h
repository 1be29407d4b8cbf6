#pragma once
// QLocale date formats split into their fields, so that one description of a
// form drives both writing and reading it.
#include <QString>

#include <vector>

namespace KelmLibraryUtils {

// One element of a date format: a literal, or a day, month or year field.
enum class DateField { Literal, Day, DayName, Month, MonthName, Year };
struct DateToken {
    DateField field = DateField::Literal;
    bool longName = false;
    bool padded = false;
    QString text;
};

// Quoting follows Qt: 'text' is literal, '' is a quote.
std::vector<DateToken> TokenizeDateFormat(const QString& format);

} // namespace KelmLibraryUtils
