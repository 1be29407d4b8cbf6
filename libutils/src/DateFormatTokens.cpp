#include "DateFormatTokens.h"

namespace KelmLibraryUtils {

namespace {

DateField FieldOf(QChar letter, int run) {
    if (letter == u'y')
        return DateField::Year;
    if (letter == u'd')
        return run >= 3 ? DateField::DayName : DateField::Day;
    return run >= 3 ? DateField::MonthName : DateField::Month;
}

void AppendLiteral(std::vector<DateToken>& tokens, const QString& text) {
    if (tokens.empty() || tokens.back().field != DateField::Literal)
        tokens.push_back(DateToken{});
    tokens.back().text += text;
}

qsizetype ReadQuoted(const QString& format, qsizetype i, std::vector<DateToken>& tokens) {
    QString literal;
    for (++i; i < format.size(); ++i) {
        if (format[i] != u'\'') {
            literal += format[i];
        } else if (i + 1 < format.size() && format[i + 1] == u'\'') {
            literal += u'\'';
            ++i;
        } else {
            break;
        }
    }
    AppendLiteral(tokens, literal.isEmpty() ? QStringLiteral("'") : literal);
    return i + 1;
}

} // namespace

std::vector<DateToken> TokenizeDateFormat(const QString& format) {
    std::vector<DateToken> tokens;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            i = ReadQuoted(format, i, tokens);
        } else if (c == u'd' || c == u'M' || c == u'y') {
            qsizetype run = 1;
            while (i + run < format.size() && format[i + run] == c)
                ++run;
            tokens.push_back(DateToken{FieldOf(c, int(run)), run >= 4, run == 2, {}});
            i += run;
        } else {
            AppendLiteral(tokens, QString(c));
            ++i;
        }
    }
    return tokens;
}

} // namespace KelmLibraryUtils
