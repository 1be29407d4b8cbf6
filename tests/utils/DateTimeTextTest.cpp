// Locale display forms of date-times and the parser that reads them back,
// run under every locale CTest uses.
#include <KelmLibraryUtils/DateTimeUtils.h>

#include <QLocale>
#include <gtest/gtest.h>

#include <ctime>
#include <ostream>

namespace KelmLibraryUtils {
void PrintTo(const DateTimeValue& v, std::ostream* os) {
    *os << v.GetDays() << " status " << v.GetStatus() << " (" << v.GetYear() << '-' << v.GetMonth()
        << '-' << v.GetDay() << ' ' << v.GetHour() << ':' << v.GetMinute() << ':' << v.GetSecond()
        << ')';
}
} // namespace KelmLibraryUtils

namespace {

using namespace KelmLibraryUtils;
using DT = DateTimeUtils;
using KelmPlatform::FileTime;

DateTimeValue Make(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return DT::MakeDateTime(y, mo, d, h, mi, s);
}

DateTimeValue Parse(const std::wstring& text, int flags = 0) {
    return DT::GetParseDateTime(text, 1, flags);
}

std::string Narrow(const std::wstring& text) {
    return QString::fromStdWString(text).toStdString();
}

TEST(TheDisplayForm, isTheShortDateWithAFourDigitYearAndTheTime) {
    const struct {
        const char* locale;
        const wchar_t* dateTime;
        const wchar_t* date;
    } forms[] = {
        {"ja_JP", L"2024/03/01 10:05:09", L"2024/03/01"},
        {"C", L"1 Mar 2024 10:05:09", L"1 Mar 2024"},
        {"de_DE", L"01.03.2024 10:05:09", L"01.03.2024"}, // "dd.MM.yy" widened
        {"en_US", L"3/1/2024 10:05:09", L"3/1/2024"},
    };
    const QString running = QLocale::system().name();
    for (const auto& f : forms) {
        if (running != QLatin1String(f.locale))
            continue;
        const DateTimeValue v = Make(2024, 3, 1, 10, 5, 9);
        EXPECT_EQ(DT::GetFormatedDateTime(v), f.dateTime);
        EXPECT_EQ(DT::GetFormatedDate(v), f.date);
        EXPECT_EQ(DT::Format(v), f.dateTime);
        EXPECT_EQ(DT::Format(v, DT::DateValueOnly), f.date);
        return;
    }
    GTEST_SKIP() << "no expected form for locale " << running.toStdString();
}

TEST(TheDisplayForm, isEmptyForValuesNotAfterTheEndOf1899) {
    for (const DateTimeValue& v :
         {DateTimeValue(0), DateTimeValue(-1.5), Make(1850, 6, 15, 12), DateTimeValue::MakeNull(),
          DateTimeValue::MakeInvalid(45352), DateTimeValue(1e9)}) {
        EXPECT_EQ(DT::GetFormatedDateTime(v), L"");
        EXPECT_EQ(DT::GetFormatedDate(v), L"");
    }
    EXPECT_EQ(DT::GetFormatedDateTime(FileTime(0)), L""); // 1601
    EXPECT_NE(DT::GetFormatedDateTime(DateTimeValue(1.0 / 86400)), L"");
}

TEST(Format, writesNothingForNullAndAMarkForInvalidValues) {
    EXPECT_EQ(DT::Format(DateTimeValue::MakeNull()), L"");
    EXPECT_EQ(DT::Format(DateTimeValue::MakeInvalid(45352)), L"Invalid DateTime");
    EXPECT_EQ(DT::Format(DateTimeValue(1e9)), L"Invalid DateTime");
    EXPECT_EQ(DT::Format(Make(2024, 3, 1, 7, 8, 9), DT::TimeValueOnly), L"07:08:09");
}

TEST(TheParser, readsBackEveryFormTheFormatterWrites) {
    const DateTimeValue values[] = {
        Make(2024, 3, 1, 10, 5, 9),     Make(2024, 2, 29, 23, 59, 59), Make(2000, 1, 1),
        Make(1900, 1, 1, 0, 0, 1),      Make(2029, 12, 9, 1, 2, 3),    Make(1930, 10, 27, 2, 30),
        Make(9999, 12, 31, 23, 59, 59), Make(1850, 6, 15, 12),         Make(100, 1, 1, 6)};
    for (const DateTimeValue& v : values) {
        const DateTimeValue date = DT::GetBeginDateTime(v);
        const DateTimeValue time = Make(1899, 12, 30, v.GetHour(), v.GetMinute(), v.GetSecond());
        SCOPED_TRACE(Narrow(DT::Format(v)));
        if (v.GetDays() > 0) {
            EXPECT_EQ(Parse(DT::GetFormatedDateTime(v)), v);
            EXPECT_EQ(Parse(DT::GetFormatedDate(v)), date);
        }
        EXPECT_EQ(Parse(DT::Format(v)), v);
        EXPECT_EQ(Parse(DT::Format(v, DT::DateValueOnly), DT::DateValueOnly), date);
        EXPECT_EQ(Parse(DT::Format(v, DT::TimeValueOnly), DT::TimeValueOnly), time);
    }
}

TEST(TheParser, givesBackTheStoredFileTimeOfAShownTime) {
    for (std::time_t t : {std::time_t(1688212800), std::time_t(1673784000), std::time(nullptr)}) {
        const FileTime ft = (static_cast<FileTime>(t) + 11'644'473'600ULL) * 10'000'000;
        EXPECT_EQ(DT::GetAsFileTime(DT::GetFormatedDateTime(ft)), ft) << t;
    }
}

TEST(TheParser, acceptsIsoAndMonthAbbreviationFormsInAnyLocale) {
    const DateTimeValue tenOClock = Make(2024, 3, 1, 10);
    const struct {
        const wchar_t* text;
        DateTimeValue expected;
    } cases[] = {
        {L"2024-03-01T10:00:00", tenOClock},
        {L"2024-03-01 10:00:00", tenOClock},
        {L"  2024-03-01 10:00  ", tenOClock},
        {L"2024-03-01T10:00:00.250", tenOClock},
        {L"2024-03-01", Make(2024, 3, 1)},
        {L"2024-Mar-01 10:00:00", tenOClock},
        {L"2024-mar-01 10:00:00", tenOClock},
        {L"2023-Dec-31 23:59:59", Make(2023, 12, 31, 23, 59, 59)},
        {L"2024-Feb-29 00:00:00", Make(2024, 2, 29)},
        {L"2024/3/1 10:00:00", tenOClock},
        {L"\uff12\uff10\uff12\uff14-03-01", Make(2024, 3, 1)}, // full-width digits
        {L"10:30:15", Make(1899, 12, 30, 10, 30, 15)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(Parse(c.text), c.expected);
        EXPECT_EQ(DT::IsParseDateTime(c.text), 1);
    }
}

TEST(TheParser, restrictsTheResultToTheDateOrTheTimeWhenAsked) {
    const std::wstring text = L"2024-03-01 10:00:00";
    EXPECT_EQ(Parse(text, DT::DateValueOnly), Make(2024, 3, 1));
    EXPECT_EQ(Parse(text, DT::TimeValueOnly), Make(1899, 12, 30, 10));
    EXPECT_EQ(Parse(L"10:00:00", DT::DateValueOnly), DateTimeValue());
    EXPECT_EQ(Parse(L"2024-03-01", DT::TimeValueOnly), DateTimeValue());
}

TEST(TheParser, failsWithZeroForNoDateAndMinusOneForANonexistentOne) {
    const struct {
        const wchar_t* text;
        double days;
    } cases[] = {
        {L"", 0},
        {L"   ", 0},
        {L"hello", 0},
        {L"Invalid DateTime", 0},
        {L"2024-03-01 10:00:00 PM", 0},
        {L"2024-Foo-01", 0},
        {L"2023-02-29", -1},
        {L"2023-02-30 10:00:00", -1},
        {L"2023-Feb-29 10:00:00", -1},
        {L"2024-13-01", -1},
        {L"2024-03-01 24:00:00", -1},
        {L"2024-03-01 10:60:00", -1},
        {L"25:00:00", -1},
        {L"0099-12-31", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        const DateTimeValue v = Parse(c.text);
        EXPECT_EQ(v.GetStatus(), DateTimeValue::Invalid);
        EXPECT_EQ(v.GetDays(), c.days);
        EXPECT_EQ(DT::IsParseDateTime(c.text), 0);
    }
    EXPECT_EQ(DT::GetAsFileTime(L"hello"), 0u);
}

TEST(TheParser, givesTheValidValueZeroWhenNotAskedToParse) {
    EXPECT_EQ(DT::GetParseDateTime(L"2024-03-01 10:00:00", 0), DateTimeValue());
    EXPECT_EQ(DT::GetParseDateTime(L"garbage", 0), DateTimeValue());
}

} // namespace
