#include <KelmLibraryFuncs/DateTimeFuncs.h>

#include "DateTimeFuncsTestValues.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using KelmLibraryFuncs::DateTimeFuncs;
using KelmLibraryFuncs::STAGGERITEM;
using namespace datetimetest;

namespace {

constexpr int kCumulative = DateTimeFuncs::Cumulative;
constexpr int kUniform = DateTimeFuncs::Uniform;
constexpr int kForward = DateTimeFuncs::Forward;
constexpr int kBack = DateTimeFuncs::Back;

struct Interval {
    int years = 0, months = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
};

STAGGERITEM Stagger(int type, int method, Interval i, int startValue = 0) {
    STAGGERITEM item;
    item.Type = type;
    item.Method = method;
    item.StartValue = startValue;
    item.IntervalYears = i.years;
    item.IntervalMonths = i.months;
    item.IntervalDays = i.days;
    item.IntervalHours = i.hours;
    item.IntervalMinutes = i.minutes;
    item.IntervalSeconds = i.seconds;
    return item;
}

STAGGERITEM FromStart(STAGGERITEM item, DateTimeValue date, DateTimeValue time) {
    item.EnabledStartDateTime = 1;
    item.StartDate = date;
    item.StartTime = time;
    return item;
}

std::string Staggered(int index, const DateTimeValue& base, const STAGGERITEM& item) {
    return Text(DateTimeFuncs::GetStaggerFileDateTime(index, 1, base, item));
}

struct StaggerCase {
    const char* why;
    int index;
    DateTimeValue base;
    STAGGERITEM item;
    std::string expected;
};

const DateTimeValue kBase = At(2024, 5, 10, 8, 0, 0);
const STAGGERITEM kMonthAndHalf = Stagger(kCumulative, kForward, {0, 1, 0, 1, 30, 0});

const StaggerCase kStaggerCases[] = {
    {"the first item of a cumulative run keeps its value", 0, kBase, kMonthAndHalf,
     "2024-05-10 08:00:00"},
    {"the second item moves one interval", 1, kBase, kMonthAndHalf, "2024-06-10 09:30:00"},
    {"the third item moves two intervals", 2, kBase, kMonthAndHalf, "2024-07-10 11:00:00"},
    {"the start value adds to the index", 1, kBase,
     Stagger(kCumulative, kForward, {0, 0, 1, 0, 0, 0}, 2), "2024-05-13 08:00:00"},
    {"a uniform run moves the first item one interval", 0, kBase,
     Stagger(kUniform, kForward, {0, 1, 0, 1, 30, 0}), "2024-06-10 09:30:00"},
    {"a uniform run moves a later item the same", 7, kBase,
     Stagger(kUniform, kForward, {0, 1, 0, 1, 30, 0}), "2024-06-10 09:30:00"},
    {"a uniform start value of 2 is three intervals", 7, kBase,
     Stagger(kUniform, kForward, {0, 0, 1, 0, 0, 0}, 2), "2024-05-13 08:00:00"},
    {"back by a day moves n days earlier", 3, kBase, Stagger(kCumulative, kBack, {0, 0, 1}),
     "2024-05-07 08:00:00"},
    {"back moves the time of day earlier too", 2, kBase,
     Stagger(kCumulative, kBack, {1, 0, 0, 0, 0, 30}), "2022-05-10 07:59:00"},
    {"the time of day moves before the calendar", 1, At(2024, 1, 31, 23),
     Stagger(kCumulative, kForward, {0, 1, 0, 1, 30, 0}), "2024-03-01 00:30:00"},
    {"going back, the time of day also moves first", 1, At(2024, 3, 1, 0, 30),
     Stagger(kCumulative, kBack, {0, 1, 0, 1, 30, 0}), "2024-01-31 23:00:00"},
    {"from a month end, two months land on a month end", 2, At(2024, 1, 31, 10),
     Stagger(kCumulative, kForward, {0, 1}), "2024-03-31 10:00:00"},
    {"from a mid-month day the day is clamped", 1, At(2024, 1, 30, 10),
     Stagger(kCumulative, kForward, {0, 1}), "2024-02-29 10:00:00"},
    {"a leap day plus a year", 1, At(2024, 2, 29, 12), Stagger(kCumulative, kForward, {1}),
     "2025-02-28 12:00:00"},
    {"a leap day plus four years", 4, At(2024, 2, 29, 12), Stagger(kCumulative, kForward, {1}),
     "2028-02-29 12:00:00"},
    {"seconds carry into minutes, hours and days", 3, At(2024, 12, 31, 23, 59, 0),
     Stagger(kCumulative, kForward, {0, 0, 0, 0, 0, 59}), "2025-01-01 00:01:57"},
    {"hours cross a month end freely", 10, At(2024, 2, 28, 12),
     Stagger(kCumulative, kForward, {0, 0, 0, 23, 0, 0}), "2024-03-09 02:00:00"},
    {"into the hour Berlin skips in spring", 1, At(2024, 3, 31, 1, 30),
     Stagger(kCumulative, kForward, {0, 0, 0, 1, 0, 0}), "2024-03-31 02:30:00"},
    {"through the hour Berlin repeats in autumn", 1, At(2024, 10, 27, 2, 30),
     Stagger(kCumulative, kForward, {0, 0, 0, 1, 0, 0}), "2024-10-27 03:30:00"},
    {"any other type uses the index alone", 2, kBase, Stagger(5, kForward, {0, 0, 1}, 10),
     "2024-05-12 08:00:00"},
    {"any other method keeps the time and moves the calendar forward", 2, kBase,
     Stagger(kCumulative, 5, {0, 0, 1, 3, 0, 0}), "2024-05-12 08:00:00"},
    {"a base just after the epoch still moves", 1, At(1899, 12, 30, 0, 0, 1),
     Stagger(kCumulative, kForward, {0, 0, 1}), "1899-12-31 00:00:01"},
    {"the start date-time replaces the base", 0, kBase,
     FromStart(kMonthAndHalf, At(2023, 6, 1, 15), At(2001, 2, 3, 7, 45)), "2023-06-01 07:45:00"},
    {"the start date-time moves like a base", 2, DateTimeValue::MakeInvalid(),
     FromStart(kMonthAndHalf, At(2023, 6, 1, 15), At(2001, 2, 3, 7, 45)), "2023-08-01 10:45:00"},
    {"a base on the epoch is left", 1, At(1899, 12, 30), kMonthAndHalf, "unchanged"},
    {"a base before the epoch is left", 1, At(1899, 12, 29, 12), kMonthAndHalf, "unchanged"},
    {"a far earlier base is left", 1, At(1500, 1, 1), kMonthAndHalf, "unchanged"},
    {"an invalid base is left", 1, DateTimeValue::MakeInvalid(), kMonthAndHalf, "unchanged"},
    {"a null base is left", 1, DateTimeValue::MakeNull(), kMonthAndHalf, "unchanged"},
    {"a start date-time without a date is left", 1, kBase,
     FromStart(kMonthAndHalf, DateTimeValue::MakeNull(), At(2001, 2, 3, 7, 45)), "unchanged"},
    {"a start date-time without a time is left", 1, kBase,
     FromStart(kMonthAndHalf, At(2023, 6, 1), DateTimeValue::MakeInvalid()), "unchanged"},
    // Would otherwise write the time-of-day move alone.
    {"a month past 9999 leaves the item", 1, At(9999, 12, 15, 10),
     Stagger(kCumulative, kForward, {0, 1, 0, 1, 0, 0}), "unchanged"},
    {"a year before 1400 leaves the item", 1, At(1900, 1, 10, 10),
     Stagger(kCumulative, kBack, {16, 0, 0, 1, 0, 0}, 40), "unchanged"},
    {"a time of day past 9999 leaves the item", 1, At(9999, 12, 31, 23, 30),
     Stagger(kCumulative, kForward, {0, 0, 0, 1, 0, 0}), "unchanged"},
    // An invalid time picker gives -1 for each part.
    {"an interval of -1:-1:-1 leaves the item", 1, kBase,
     Stagger(kCumulative, kForward, {0, 0, 1, -1, -1, -1}), "unchanged"},
    {"an invalid interval leaves even the first item", 0, kBase,
     Stagger(kCumulative, kForward, {0, 0, 0, -1, -1, -1}), "unchanged"},
    {"24 interval hours leave the item", 1, kBase,
     Stagger(kCumulative, kForward, {0, 0, 0, 24, 0, 0}), "unchanged"},
    {"60 interval minutes leave the item", 1, kBase,
     Stagger(kCumulative, kForward, {0, 0, 0, 0, 60, 0}), "unchanged"},
    {"negative interval seconds leave the item", 1, kBase,
     Stagger(kCumulative, kBack, {0, 0, 0, 0, 0, -5}), "unchanged"},
    {"the largest time-of-day interval is accepted", 1, kBase,
     Stagger(kCumulative, kForward, {0, 0, 0, 23, 59, 59}), "2024-05-11 07:59:59"},
    {"a product beyond 32 bits leaves the item", INT_MAX, kBase,
     Stagger(kCumulative, kForward, {0, 0, 0, 0, 0, 59}), "unchanged"},
    {"a huge multiple of days leaves the item", INT_MAX - 1024, kBase,
     Stagger(kCumulative, kForward, {0, 0, 1024}, 1024), "unchanged"},
};

TEST(AStagger, movesTheItemByItsMultipleOfTheInterval) {
    for (const StaggerCase& c : kStaggerCases) {
        EXPECT_EQ(Staggered(c.index, c.base, c.item), c.expected) << c.why;
    }
}

TEST(AStagger, changesNothingWhenDisabled) {
    EXPECT_EQ(DateTimeFuncs::GetStaggerFileDateTime(1, 0, kBase, kMonthAndHalf), 0u);
}

TEST(AStagger, givesTheFirstItemExactlyTheStartDateTime) {
    const STAGGERITEM item = FromStart(kMonthAndHalf, At(2023, 6, 1), At(2001, 2, 3, 7, 45, 5));
    EXPECT_EQ(DateTimeFuncs::GetStaggerFileDateTime(0, 1, kBase, item),
              FileTimeAt(2023, 6, 1, 7, 45, 5));
}

TEST(AStagger, writesWholeSeconds) {
    const DateTimeValue withFraction(At(2024, 5, 10, 8, 0, 0).GetDays() + 0.4 / 86'400);
    EXPECT_EQ(DateTimeFuncs::GetStaggerFileDateTime(0, 1, withFraction, kMonthAndHalf),
              FileTimeAt(2024, 5, 10, 8, 0, 0));
}

// Under the current-offset rule local arithmetic is exact file-time
// arithmetic, also on the days Berlin changes its clocks.
TEST(AStagger, movesByExactDurationsOnDaylightSavingDays) {
    const STAGGERITEM hour = Stagger(kCumulative, kForward, {0, 0, 0, 1, 0, 0});
    const STAGGERITEM day = Stagger(kCumulative, kForward, {0, 0, 1});
    for (const DateTimeValue& base : {At(2024, 3, 31, 1, 30), At(2024, 10, 27, 2, 30)}) {
        const FileTime start = DateTimeUtils::ToFileTime(base);
        EXPECT_EQ(DateTimeFuncs::GetStaggerFileDateTime(1, 1, base, hour) - start, 3'600 * kSecond);
        EXPECT_EQ(DateTimeFuncs::GetStaggerFileDateTime(1, 1, base, day) - start, 86'400 * kSecond);
    }
}

TEST(AStagger, tracesACalendarStepOutOfRange) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(Staggered(1, At(9999, 12, 15, 10), Stagger(kCumulative, kForward, {0, 1})),
              "unchanged");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Year is out of valid range: 1400..9999"),
              std::string::npos);
}

} // namespace
