#include "LocaleDateText.h"

#include "DateFormatTokens.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace KelmLibraryUtils {

namespace {

QString Number(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

QString FormatToken(const DateToken& t, const QLocale& locale, const CalendarParts& date) {
    const auto form = t.longName ? QLocale::LongFormat : QLocale::ShortFormat;
    switch (t.field) {
    case DateField::Day:
        return Number(date.day, t.padded ? 2 : 1);
    case DateField::Month:
        return Number(date.month, t.padded ? 2 : 1);
    case DateField::Year:
        return Number(date.year, 4);
    case DateField::MonthName:
        return locale.monthName(date.month, form);
    case DateField::DayName:
        return locale.dayName(DayOfWeek(DaysFromCivil(date.year, date.month, date.day)), form);
    case DateField::Literal:
        break;
    }
    return t.text;
}

// The short date form; FormatToken widens its year to four digits.
QString ShortDateFormat(const QLocale& locale) {
    return locale.dateFormat(QLocale::ShortFormat);
}

// Month and day names the parser accepts: the locale's and the English ones.
struct Names {
    QHash<QString, int> months; // case-folded name -> 1..12
    QStringList monthAlternatives;
    QStringList dayAlternatives;
};

QString Alternation(QStringList names) {
    names.removeDuplicates();
    names.removeAll(QString());
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (QString& name : names)
        name = QRegularExpression::escape(name);
    return names.join(u'|');
}

Names CollectNames(const QLocale& locale) {
    Names names;
    // The locale last, so that its names win over English ones spelt alike.
    for (const QLocale& l : {QLocale::c(), locale}) {
        for (auto form : {QLocale::LongFormat, QLocale::ShortFormat}) {
            for (int m = 1; m <= 12; ++m) {
                for (const QString& name : {l.monthName(m, form), l.standaloneMonthName(m, form)}) {
                    names.months.insert(name.toCaseFolded(), m);
                    names.monthAlternatives << name;
                }
            }
            for (int d = 1; d <= 7; ++d)
                names.dayAlternatives << l.dayName(d, form) << l.standaloneDayName(d, form);
        }
    }
    return names;
}

// A date form compiled into an anchored regular expression whose groups are
// the form's fields in order.
struct DatePattern {
    QRegularExpression regex;
    std::vector<DateField> groups;
};

QString LiteralRegex(const QString& text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSpace()) {
            while (i + 1 < text.size() && text[i + 1].isSpace())
                ++i;
            out += QStringLiteral("\\s+");
        } else {
            out += QRegularExpression::escape(QString(text[i]));
        }
    }
    return out;
}

DatePattern Compile(const QString& format, const Names& names) {
    DatePattern pattern;
    QString source = QStringLiteral("^");
    for (const DateToken& t : TokenizeDateFormat(format)) {
        switch (t.field) {
        case DateField::Literal:
            source += LiteralRegex(t.text);
            continue;
        case DateField::Day:
        case DateField::Month:
            source += QStringLiteral("(\\d{1,2})");
            break;
        case DateField::Year:
            source += QStringLiteral("(\\d{1,4})");
            break;
        case DateField::MonthName:
            source += u'(' + Alternation(names.monthAlternatives) + u')';
            break;
        case DateField::DayName:
            source += u'(' + Alternation(names.dayAlternatives) + u')';
            break;
        }
        pattern.groups.push_back(t.field);
    }
    pattern.regex.setPattern(source + u'$');
    pattern.regex.setPatternOptions(QRegularExpression::CaseInsensitiveOption |
                                    QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

struct Grammar {
    QString key;
    Names names;
    std::vector<DatePattern> dates;
};

// Compiling the forms costs far more than matching them, and lists parse the
// same locale's texts again and again while sorting.
const Grammar& GrammarFor(const QLocale& locale) {
    thread_local Grammar grammar;
    const QString key = locale.name() + u'|' + ShortDateFormat(locale);
    if (grammar.key != key || grammar.dates.empty()) {
        grammar.key = key;
        grammar.names = CollectNames(locale);
        grammar.dates.clear();
        for (const QString& format :
             {ShortDateFormat(locale), locale.dateFormat(QLocale::LongFormat),
              QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy-MMM-d"), QStringLiteral("yyyy/M/d")})
            grammar.dates.push_back(Compile(format, grammar.names));
    }
    return grammar;
}

int YearOf(const QString& digits) {
    const int year = digits.toInt();
    // Two digits fall into 1930..2029, the window Windows uses by default.
    if (digits.size() <= 2)
        return year < 30 ? 2000 + year : 1900 + year;
    return year;
}

bool ReadDate(const DatePattern& pattern, const QRegularExpressionMatch& match, const Names& names,
              CalendarParts& parts) {
    for (size_t i = 0; i < pattern.groups.size(); ++i) {
        const QString captured = match.captured(int(i) + 1);
        switch (pattern.groups[i]) {
        case DateField::Day:
            parts.day = captured.toInt();
            break;
        case DateField::Month:
            parts.month = captured.toInt();
            break;
        case DateField::MonthName:
            parts.month = names.months.value(captured.toCaseFolded(), 0);
            break;
        case DateField::Year:
            parts.year = YearOf(captured);
            break;
        case DateField::DayName:
        case DateField::Literal:
            break;
        }
    }
    return IsValidDate(parts.year, parts.month, parts.day, 100, 9999);
}

// Digits of any script read as ASCII digits.
QString Normalized(const QString& text) {
    QString out = text.trimmed();
    for (QChar& c : out) {
        if (c.isDigit() && c.digitValue() >= 0)
            c = QChar(u'0' + c.digitValue());
    }
    return out;
}

LocaleDateText::Outcome ParseDate(const QString& text, const Grammar& grammar,
                                  CalendarParts& parts) {
    auto outcome = LocaleDateText::Outcome::NotADate;
    for (const DatePattern& pattern : grammar.dates) {
        const QRegularExpressionMatch match = pattern.regex.match(text);
        if (!match.hasMatch())
            continue;
        if (ReadDate(pattern, match, grammar.names, parts))
            return LocaleDateText::Outcome::Parsed;
        outcome = LocaleDateText::Outcome::OutOfRange;
    }
    return outcome;
}

const QRegularExpression& TrailingTime() {
    thread_local const QRegularExpression regex(
        QStringLiteral("^(?:(.*?)(?:\\s+|(?<=\\d)T))?(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?"
                       "(?:[.,]\\d+)?$"),
        QRegularExpression::UseUnicodePropertiesOption |
            QRegularExpression::DotMatchesEverythingOption);
    return regex;
}

} // namespace

QString LocaleDateText::FormatDate(int year, int month, int day) {
    const QLocale locale = QLocale::system();
    const CalendarParts date{year, month, day};
    QString text;
    for (const DateToken& t : TokenizeDateFormat(ShortDateFormat(locale)))
        text += FormatToken(t, locale, date);
    return text;
}

QString LocaleDateText::FormatTime(int hour, int minute, int second) {
    return Number(hour, 2) + u':' + Number(minute, 2) + u':' + Number(second, 2);
}

LocaleDateText::Result LocaleDateText::Parse(const QString& text) {
    Result result;
    QString datePart = Normalized(text);
    const QRegularExpressionMatch time = TrailingTime().match(datePart);
    if (time.hasMatch()) {
        result.hasTime = true;
        result.parts.hour = time.captured(2).toInt();
        result.parts.minute = time.captured(3).toInt();
        result.parts.second = time.captured(4).toInt();
        datePart = time.captured(1);
    }
    result.hasDate = !datePart.isEmpty();
    if (!result.hasDate && !result.hasTime)
        return result;
    if (result.hasDate) {
        result.outcome = ParseDate(datePart, GrammarFor(QLocale::system()), result.parts);
        if (result.outcome != Outcome::Parsed)
            return result;
    }
    const CalendarParts& p = result.parts;
    result.outcome =
        IsValidTime(p.hour, p.minute, p.second) ? Outcome::Parsed : Outcome::OutOfRange;
    return result;
}

} // namespace KelmLibraryUtils
