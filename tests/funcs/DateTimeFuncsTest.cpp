#include <KelmLibraryFuncs/DateTimeFuncs.h>

#include "DateTimeFuncsTestValues.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using KelmLibraryFuncs::DateTimeFuncs;
using namespace datetimetest;

namespace {

struct CalendarCase {
    const char* why;
    DateTimeValue start;
    int years, months, days;
    std::string expected;
};

const CalendarCase kCalendarCases[] = {
    {"the end of January goes to the end of a leap February", At(2024, 1, 31, 10, 20, 30), 0, 1, 0,
     "2024-02-29 10:20:30"},
    {"the end of January goes to the end of a common February", At(2023, 1, 31), 0, 1, 0,
     "2023-02-28 00:00:00"},
    {"the end of April snaps to the end of May", At(2024, 4, 30), 0, 1, 0, "2024-05-31 00:00:00"},
    {"a mid-month day keeps its day", At(2024, 3, 15), 0, 1, 0, "2024-04-15 00:00:00"},
    {"a day beyond the target month is clamped", At(2024, 1, 30), 0, 1, 0, "2024-02-29 00:00:00"},
    {"the 28th of a leap February is no month end", At(2024, 2, 28), 0, 1, 0,
     "2024-03-28 00:00:00"},
    {"a leap day plus a year is the end of February", At(2024, 2, 29), 1, 0, 0,
     "2025-02-28 00:00:00"},
    {"the end of a common February plus a year snaps to the leap day", At(2023, 2, 28), 1, 0, 0,
     "2024-02-29 00:00:00"},
    {"a leap day plus four years is a leap day", At(2024, 2, 29), 4, 0, 0, "2028-02-29 00:00:00"},
    {"the year step and the month step each apply the rule", At(2024, 2, 28), 1, 1, 0,
     "2025-03-31 00:00:00"},
    {"back from the end of March is the end of February", At(2024, 3, 31), 0, -1, 0,
     "2024-02-29 00:00:00"},
    {"1900 is no leap year", At(1900, 2, 28), 0, 0, 1, "1900-03-01 00:00:00"},
    {"2000 is a leap year", At(2000, 2, 28), 0, 0, 1, "2000-02-29 00:00:00"},
    {"days cross the year", At(2024, 12, 31, 23, 59, 59), 0, 0, 1, "2025-01-01 23:59:59"},
    {"days go back across a leap year", At(2025, 3, 1), 0, 0, -366, "2024-02-29 00:00:00"},
    {"months and days together", At(2024, 1, 31), 0, 1, 1, "2024-03-01 00:00:00"},
    {"the last representable day", At(9998, 12, 31), 1, 0, 0, "9999-12-31 00:00:00"},
    {"the first representable day", At(1401, 1, 31), -1, 0, 0, "1400-01-31 00:00:00"},
};

TEST(ACalendarShift, followsTheGregorianMonthEndRule) {
    for (const CalendarCase& c : kCalendarCases) {
        EXPECT_EQ(Text(DateTimeFuncs::GetCalDateTime(c.start, c.years, c.months, c.days)),
                  c.expected)
            << c.why;
    }
}

struct RejectedCase {
    const char* why;
    DateTimeValue start;
    int years, months, days;
};

const RejectedCase kRejectedCases[] = {
    {"a month past 9999", At(9999, 12, 1, 8), 0, 1, 0},
    {"a day past 9999", At(9999, 12, 31), 0, 0, 1},
    {"a day before 1400", At(1400, 1, 1), 0, 0, -1},
    {"a year before 1400", At(1400, 6, 1), -1, 0, 0},
    {"a start before 1400, even unshifted", At(1300, 6, 1), 0, 0, 0},
    {"the largest year count", At(2024, 1, 1), INT_MAX, 0, 0},
    {"the smallest month count", At(2024, 1, 1), 0, INT_MIN, 0},
    {"the largest day count", At(2024, 1, 1), 0, 0, INT_MAX},
    {"years and months that only together leave the range", At(9998, 6, 1), 1, 7, 0},
};

TEST(ARejectedCalendarShift, returnsTheValueUnchangedAndTracesTheCalendarsMessage) {
    for (const RejectedCase& c : kRejectedCases) {
        testing::internal::CaptureStderr();
        const DateTimeValue result =
            DateTimeFuncs::GetCalDateTime(c.start, c.years, c.months, c.days);
        const std::string trace = testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, c.start) << c.why;
        EXPECT_NE(trace.find("\"2\",\"Year is out of valid range: 1400..9999\""), std::string::npos)
            << c.why << ": " << trace;
    }
}

TEST(ACalendarShift, passesNullAndInvalidValuesThroughSilently) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(DateTimeFuncs::GetCalDateTime(DateTimeValue::MakeNull(), 0, 1, 0),
              DateTimeValue::MakeNull());
    EXPECT_EQ(DateTimeFuncs::GetCalDateTime(DateTimeValue::MakeInvalid(5), 0, 1, 0),
              DateTimeValue::MakeInvalid(5));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(ACalendarShift, takesTheTimeOfDayToTheNearestSecond) {
    const DateTimeValue almost(At(2024, 1, 31, 23, 59, 59).GetDays() + 0.6 / 86'400);
    EXPECT_EQ(Text(DateTimeFuncs::GetCalDateTime(almost, 0, 1, 0)), "2024-03-01 00:00:00");
}

// Calendar days are local days: under the current-offset rule a day across
// a change of daylight saving is still exactly 24 hours of file time.
TEST(ACalendarShift, movesAcrossDaylightSavingChangesByWholeDays) {
    for (const DateTimeValue& start : {At(2024, 3, 30, 12), At(2024, 10, 26, 12)}) {
        const DateTimeValue next = DateTimeFuncs::GetCalDateTime(start, 0, 0, 1);
        EXPECT_EQ(DateTimeUtils::ToFileTime(next) - DateTimeUtils::ToFileTime(start),
                  86'400 * kSecond)
            << Text(start);
    }
}

struct HourCase {
    const char* why;
    DateTimeValue start;
    int hours;
    std::string expected;
};

const HourCase kHourCases[] = {
    {"into the hour that Berlin skips in spring", At(2024, 3, 31, 1, 30), 1, "2024-03-31 02:30:00"},
    {"through the hour that Berlin repeats in autumn", At(2024, 10, 27, 2, 30), 1,
     "2024-10-27 03:30:00"},
    {"back across midnight and the year", At(2024, 1, 1, 0, 30), -1, "2023-12-31 23:30:00"},
    {"forward by days of hours", At(2024, 2, 28, 6), 48, "2024-03-01 06:00:00"},
    {"nothing at all", At(2024, 2, 28, 6, 7, 8), 0, "2024-02-28 06:07:08"},
    {"past the calendar's end", At(9999, 12, 31, 23), 2, "invalid"},
    {"an invalid value", DateTimeValue::MakeInvalid(), 1, "1899-12-30 00:00:00"},
    {"a null value", DateTimeValue::MakeNull(), 1, "1899-12-30 00:00:00"},
    {"the OLE epoch itself", At(1899, 12, 30), 1, "1899-12-30 00:00:00"},
    {"a value before the epoch", At(1899, 12, 29, 12), 1, "1899-12-30 00:00:00"},
    {"just after the epoch", At(1899, 12, 30, 0, 0, 1), 1, "1899-12-30 01:00:01"},
};

TEST(AnHourShift, addsExactHoursToLocalTime) {
    for (const HourCase& c : kHourCases) {
        EXPECT_EQ(Text(DateTimeFuncs::GetTimeDifferenceDateTime(c.start, c.hours)), c.expected)
            << c.why;
    }
}

TEST(AnHourShift, isExactlyThatManyHoursOfFileTimeOnDaylightSavingDays) {
    for (const DateTimeValue& start : {At(2024, 3, 31, 1, 30), At(2024, 10, 27, 2, 30)}) {
        const DateTimeValue later = DateTimeFuncs::GetTimeDifferenceDateTime(start, 1);
        EXPECT_EQ(DateTimeUtils::ToFileTime(later) - DateTimeUtils::ToFileTime(start),
                  3'600 * kSecond);
    }
}

struct MatchCase {
    const char* why;
    DateTimeValue a, b;
    int sameDay, sameMonth;
};

const MatchCase kMatchCases[] = {
    {"the same day at other times", At(2024, 5, 6, 0, 0, 0), At(2024, 5, 6, 23, 59, 59), 1, 1},
    {"another day of the month", At(2024, 5, 6), At(2024, 5, 7), 0, 1},
    {"the same day of another month", At(2024, 5, 6), At(2024, 6, 6), 0, 0},
    {"the same month of another year", At(2024, 5, 6), At(2023, 5, 6), 0, 0},
    {"a null first value", DateTimeValue::MakeNull(), At(2024, 5, 6), 0, 0},
    {"a null second value", At(2024, 5, 6), DateTimeValue::MakeNull(), 0, 0},
    {"two invalid values, both read as -1", DateTimeValue::MakeInvalid(),
     DateTimeValue::MakeInvalid(3), 1, 1},
    {"an invalid and a valid value", DateTimeValue::MakeInvalid(), At(2024, 5, 6), 0, 0},
};

TEST(ADateMatch, comparesTheCalendarFields) {
    for (const MatchCase& c : kMatchCases) {
        EXPECT_EQ(DateTimeFuncs::IsMatchDate(c.a, c.b), c.sameDay) << c.why;
        EXPECT_EQ(DateTimeFuncs::IsMatchDateMonth(c.a, c.b), c.sameMonth) << c.why;
    }
}

} // namespace
