// Conversions between file times, components and date-time values, item
// date-times, day bounds and the EXIF, PDF and clock texts.
#include "TempDir.h"

#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmPlatform/NativeName.h>

#include <QDateTime>
#include <gtest/gtest.h>

#include <ctime>
#include <fcntl.h>
#include <ostream>
#include <regex>
#include <sys/stat.h>

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
using KelmPlatform::kTicksPerSecond;

struct Moment {
    int year, month, day, hour, minute, second;
};

DateTimeValue Make(const Moment& m) {
    return DT::MakeDateTime(m.year, m.month, m.day, m.hour, m.minute, m.second);
}

FileTime UtcFileTime(const Moment& m) {
    std::tm t{};
    t.tm_year = m.year - 1900;
    t.tm_mon = m.month - 1;
    t.tm_mday = m.day;
    t.tm_hour = m.hour;
    t.tm_min = m.minute;
    t.tm_sec = m.second;
    return (static_cast<FileTime>(timegm(&t)) + 11'644'473'600ULL) * kTicksPerSecond;
}

std::int64_t CurrentOffset() {
    return QDateTime::currentDateTime().offsetFromUtc();
}

const FileTime kSummer = UtcFileTime({2023, 7, 1, 12, 0, 0});
const FileTime kWinter = UtcFileTime({2023, 1, 15, 12, 0, 0});

TEST(ADateTimeValue, countsDaysFromTheEndOf1899WithTheTimeAsFraction) {
    const struct {
        Moment moment;
        double days;
    } cases[] = {
        {{1899, 12, 30, 0, 0, 0}, 0.0},
        {{1900, 1, 1, 0, 0, 0}, 2.0},
        {{2024, 3, 1, 0, 0, 0}, 45352.0},
        {{2024, 3, 1, 18, 0, 0}, 45352.75},
        {{2024, 2, 29, 6, 0, 0}, 45351.25},
        {{1899, 12, 29, 6, 0, 0}, -1.25}, // the fraction counts forward before the epoch too
        {{1899, 12, 30, 12, 0, 0}, 0.5},
        {{100, 1, 1, 0, 0, 0}, -657434.0},
        {{9999, 12, 31, 23, 59, 59}, 2958465.0 + 86399.0 / 86400.0},
    };
    for (const auto& c : cases) {
        const Moment& m = c.moment;
        SCOPED_TRACE(testing::Message() << m.year << '-' << m.month << '-' << m.day);
        const DateTimeValue value = Make(m);
        ASSERT_TRUE(value.IsValid());
        EXPECT_DOUBLE_EQ(value.GetDays(), c.days);
        const DateTimeValue back(c.days);
        EXPECT_EQ(back.GetYear(), m.year);
        EXPECT_EQ(back.GetMonth(), m.month);
        EXPECT_EQ(back.GetDay(), m.day);
        EXPECT_EQ(back.GetHour(), m.hour);
        EXPECT_EQ(back.GetMinute(), m.minute);
        EXPECT_EQ(back.GetSecond(), m.second);
    }
}

TEST(ADateTimeValue, rejectsComponentsThatDoNotComeBackUnchanged) {
    const Moment cases[] = {
        {2023, 2, 29, 0, 0, 0},  {1900, 2, 29, 0, 0, 0},   {2023, 2, 30, 0, 0, 0},
        {2024, 4, 31, 0, 0, 0},  {2024, 3, 1, 24, 0, 0},   {2024, 3, 1, 10, 60, 0},
        {2024, 3, 1, 10, 0, 60}, {2024, 0, 1, 0, 0, 0},    {2024, 13, 1, 0, 0, 0},
        {2024, 3, 0, 0, 0, 0},   {99, 12, 31, 0, 0, 0},    {10000, 1, 1, 0, 0, 0},
        {2024, 3, 1, -1, 0, 0},  {-1, -1, -1, -1, -1, -1},
    };
    for (const Moment& m : cases) {
        SCOPED_TRACE(testing::Message() << m.year << '-' << m.month << '-' << m.day << ' ' << m.hour
                                        << ':' << m.minute << ':' << m.second);
        EXPECT_EQ(Make(m).GetStatus(), DateTimeValue::Invalid);
    }
    EXPECT_TRUE(Make({2024, 2, 29, 0, 0, 0}).IsValid());
    EXPECT_TRUE(Make({2000, 2, 29, 23, 59, 59}).IsValid());
}

TEST(ADateTimeValue, roundsItsTimeToTheNearestSecond) {
    const double day = 45352; // 2024-03-01
    EXPECT_EQ(DateTimeValue(day + 0.4 / 86400).GetSecond(), 0);
    EXPECT_EQ(DateTimeValue(day + 0.6 / 86400).GetSecond(), 1);
    const DateTimeValue almostMidnight(day + 0.9999999);
    EXPECT_EQ(almostMidnight.GetDay(), 2);
    EXPECT_EQ(almostMidnight.GetHour(), 0);
    const DateTimeValue beforeEpoch(-1.9999999); // 1899-12-29 23:59:59.99
    EXPECT_EQ(beforeEpoch.GetDay(), 30);
    EXPECT_EQ(beforeEpoch.GetHour(), 0);
}

TEST(ADateTimeValue, hasNoComponentsWhenNotValidOrOutOfRange) {
    for (const DateTimeValue& v : {DateTimeValue::MakeNull(), DateTimeValue::MakeInvalid(45352),
                                   DateTimeValue(1e9), DateTimeValue(-700000)}) {
        EXPECT_EQ(v.GetYear(), -1);
        EXPECT_EQ(v.GetSecond(), -1);
    }
}

TEST(TheFileTimeConversion, appliesTheOffsetInForceNowToSummerAndWinterAlike) {
    const std::int64_t offset = CurrentOffset();
    ASSERT_TRUE(offset == 3600 || offset == 7200) << "expects Europe/Berlin";
    for (FileTime ft : {kSummer, kWinter}) {
        EXPECT_EQ(DT::FileTimeToLocalFileTime(ft) - ft, FileTime(offset) * kTicksPerSecond);
        EXPECT_EQ(DT::LocalFileTimeToFileTime(DT::FileTimeToLocalFileTime(ft)), ft);
        const DateTimeValue local = DT::FromFileTime(ft);
        EXPECT_EQ(local.GetHour(), 12 + offset / 3600);
        EXPECT_EQ(local.GetMinute(), 0);
        EXPECT_EQ(DT::ToFileTime(local), ft);
    }
}

TEST(TheFileTimeConversion, treatsLocalTimesAroundDaylightSavingChangesAsPlainArithmetic) {
    // 02:30 does not exist on 2024-03-31 in Berlin and exists twice on
    // 2024-10-27; with one fixed offset both convert and come back.
    const Moment cases[] = {{2024, 3, 31, 2, 30, 0},
                            {2024, 10, 27, 2, 30, 0},
                            {2024, 3, 31, 1, 59, 59},
                            {2024, 10, 27, 3, 0, 0}};
    for (const Moment& m : cases) {
        const FileTime ft =
            DT::LocalComponentsToFileTime(m.year, m.month, m.day, m.hour, m.minute, m.second);
        ASSERT_NE(ft, 0u);
        EXPECT_EQ(DT::FromFileTime(ft), Make(m));
    }
    const FileTime before = DT::LocalComponentsToFileTime(2024, 3, 31, 1, 59, 59);
    const FileTime after = DT::LocalComponentsToFileTime(2024, 3, 31, 3, 0, 0);
    EXPECT_EQ(after - before, 3601 * kTicksPerSecond);
}

TEST(TheFileTimeConversion, dropsFractionsOfASecond) {
    EXPECT_EQ(DT::FromFileTime(kSummer + kTicksPerSecond - 1), DT::FromFileTime(kSummer));
}

TEST(TheFileTimeConversion, givesZeroForWhatAFileTimeCannotHold) {
    EXPECT_EQ(DT::LocalComponentsToFileTime(1600, 12, 31, 23, 0, 0), 0u);
    EXPECT_EQ(DT::LocalComponentsToFileTime(1601, 1, 1, 0, 0, 0), 0u); // before 1601 in UTC
    EXPECT_EQ(DT::LocalComponentsToFileTime(2023, 2, 29, 0, 0, 0), 0u);
    EXPECT_EQ(DT::ToFileTime(DateTimeValue::MakeNull()), 0u);
    EXPECT_EQ(DT::ToFileTime(DateTimeValue::MakeInvalid(45352)), 0u);
    EXPECT_EQ(DT::FromFileTime(~FileTime(0)).GetStatus(), DateTimeValue::Invalid);
}

TEST(TheItemDateTimes, areTheValidValueZeroForAMissingItem) {
    const std::wstring missing = L"/nonexistent-kelm/item.txt";
    EXPECT_EQ(DT::GetDateCreated(missing), DateTimeValue());
    EXPECT_EQ(DT::GetDateModified(missing), DateTimeValue());
    EXPECT_EQ(DT::GetDateAccessed(missing), DateTimeValue());
}

class TheItemDateTimesOfAFile : public testing::Test {
protected:
    void SetUp() override {
        path = dir.MakeFile("item.txt");
        const timespec times[2] = {KelmPlatform::TimespecFromFileTime(kWinter),
                                   KelmPlatform::TimespecFromFileTime(kSummer)};
        ASSERT_EQ(utimensat(AT_FDCWD, dir.NativeChild("item.txt").c_str(), times, 0), 0);
    }
    kelmtest::TempDir dir;
    std::wstring path;
};

TEST_F(TheItemDateTimesOfAFile, areReadAsLocalValues) {
    EXPECT_EQ(DT::GetDateModified(path), DT::FromFileTime(kSummer));
    EXPECT_EQ(DT::GetDateAccessed(path), DT::FromFileTime(kWinter));
    EXPECT_TRUE(DT::GetDateCreated(path).IsValid());
}

TEST_F(TheItemDateTimesOfAFile, supplyTheComponentsOfANullValue) {
    const DateTimeValue summer = DT::FromFileTime(kSummer);
    const DateTimeValue winter = DT::FromFileTime(kWinter);
    const DateTimeValue null = DateTimeValue::MakeNull();
    EXPECT_EQ(DT::GetDateTime(path, null, DT::Modified, DT::Month), 7);
    EXPECT_EQ(DT::GetDateTime(path, null, -1, DT::Hour), summer.GetHour());
    EXPECT_EQ(DT::GetDateTime(path, null, DT::Accessed, DT::Month), 1);
    EXPECT_EQ(DT::GetDateTime(path, null, DT::Accessed, DT::Day), winter.GetDay());
    EXPECT_EQ(DT::GetDateTime(path, Make({2020, 5, 6, 7, 8, 9}), DT::Modified, DT::Second), 9);
    EXPECT_EQ(DT::GetDateTime(path, DateTimeValue::MakeInvalid(), DT::Modified, DT::Year), -1);
    EXPECT_EQ(DT::GetDateTime(path, null, DT::Modified, 6), -1);
}

TEST(GetDateTimeValue, givesAComponentOfAValidValueOnly) {
    const DateTimeValue v = Make({2020, 5, 6, 7, 8, 9});
    const int expected[] = {2020, 5, 6, 7, 8, 9};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(DT::GetDateTimeValue(L"/ignored", v, DT::Created, c), expected[c]);
    EXPECT_EQ(DT::GetDateTimeValue(L"", v, 0, -1), -1);
    EXPECT_EQ(DT::GetDateTimeValue(L"", v, 0, 6), -1);
    EXPECT_EQ(DT::GetDateTimeValue(L"", DateTimeValue::MakeNull(), 0, DT::Year), -1);
}

TEST(TheDayBounds, keepTheDateAndSetTheTime) {
    const DateTimeValue v = Make({2024, 3, 1, 10, 0, 0});
    EXPECT_EQ(DT::GetBeginDateTime(v), Make({2024, 3, 1, 0, 0, 0}));
    EXPECT_EQ(DT::GetEndDateTime(v), Make({2024, 3, 1, 23, 59, 59}));
    EXPECT_EQ(DT::GetEndDateTime(Make({2024, 2, 29, 0, 0, 0})), Make({2024, 2, 29, 23, 59, 59}));
    EXPECT_EQ(DT::GetBeginDateTime(DateTimeValue::MakeNull()), DateTimeValue());
    EXPECT_EQ(DT::GetEndDateTime(DateTimeValue::MakeNull()), DateTimeValue());
    EXPECT_FALSE(DT::GetEndDateTime(DateTimeValue::MakeInvalid(45352)).IsValid());
}

TEST(CombineDateTime, takesTheDateOfOneValueAndTheTimeOfTheOther) {
    const DateTimeValue date = Make({2024, 2, 29, 23, 0, 0});
    const DateTimeValue time = Make({1999, 1, 1, 6, 7, 8});
    EXPECT_EQ(DT::CombineDateTime(date, time), Make({2024, 2, 29, 6, 7, 8}));
    EXPECT_FALSE(DT::CombineDateTime(date, DateTimeValue::MakeNull()).IsValid());
    EXPECT_FALSE(DT::CombineDateTime(DateTimeValue::MakeInvalid(), time).IsValid());
}

TEST(GetExifDateTime, readsUpToSixFieldsSplitAtColonsAndBlanks) {
    const struct {
        const wchar_t* text;
        DateTimeValue expected;
    } cases[] = {
        {L"2019:07:14 08:05:09", Make({2019, 7, 14, 8, 5, 9})},
        {L"2024:02:29 23:59:59", Make({2024, 2, 29, 23, 59, 59})},
        {L"2019:07:14", Make({2019, 7, 14, 0, 0, 0})},
        {L"", DateTimeValue()},
        {L"2019:02:30 08:05:09", DateTimeValue::MakeInvalid()},
        {L"2023:02:29 08:05:09", DateTimeValue::MakeInvalid()},
        {L"2019:07:14 24:00:00", DateTimeValue::MakeInvalid()},
        {L"2019:07:14 08:05:09:10", DateTimeValue::MakeInvalid()},
        {L"2019:07:14 08:05:09 extra", DateTimeValue::MakeInvalid()},
        {L"    :  :     :  :  ", DateTimeValue::MakeInvalid()},
        {L"abcd:07:14 08:05:09", DateTimeValue::MakeInvalid()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << '"' << QString::fromWCharArray(c.text).toStdString() << '"');
        const DateTimeValue v = DT::GetExifDateTime(c.text);
        EXPECT_EQ(v.GetStatus(), c.expected.GetStatus());
        if (c.expected.IsValid()) {
            EXPECT_EQ(v, c.expected);
        }
    }
}

TEST(GetFormatedExifDateTime, writesTheFixedExifForm) {
    const DateTimeValue v = Make({2019, 7, 14, 8, 5, 9});
    EXPECT_EQ(DT::GetFormatedExifDateTime(v), L"2019:07:14 08:05:09");
    EXPECT_EQ(DT::GetFormatedExifDateTime(DateTimeValue::MakeNull()), L"");
    EXPECT_EQ(DT::GetFormatedExifDateTime(DateTimeValue::MakeInvalid(45352)), L"");
    EXPECT_EQ(DT::GetFormatedExifDateTime(std::wstring(L"2019-07-14 08:05:09")),
              L"2019:07:14 08:05:09");
    EXPECT_EQ(DT::GetFormatedExifDateTime(std::wstring(L"not a date")), L"");
    EXPECT_EQ(DT::GetExifDateTime(DT::GetFormatedExifDateTime(v)), v);
}

TEST(GetFormatedExifDateTime, isEmptyOnlyForTheFileTimeZero) {
    EXPECT_EQ(DT::GetFormatedExifDateTime(FileTime(0)), L"");
    // A time with either 32-bit half 0 is still a time.
    for (FileTime ft : {FileTime(0x01DA6B0000000000), FileTime(0x00000000FFFFFFFF), kSummer}) {
        EXPECT_EQ(DT::GetFormatedExifDateTime(ft),
                  DT::GetFormatedExifDateTime(DT::FromFileTime(ft)));
        EXPECT_NE(DT::GetFormatedExifDateTime(ft), L"");
    }
}

TEST(GetPDFDateTime, readsFixedPositionsAndIgnoresTheZone) {
    EXPECT_EQ(DT::GetPDFDateTime(L"20240301100000+01'00'"), Make({2024, 3, 1, 10, 0, 0}));
    EXPECT_EQ(DT::GetPDFDateTime(L"20240229235959Z"), Make({2024, 2, 29, 23, 59, 59}));
    EXPECT_EQ(DT::GetPDFDateTime(L"20240301"), Make({2024, 3, 1, 0, 0, 0}));
    EXPECT_EQ(DT::GetPDFDateTime(L""), DateTimeValue());
    EXPECT_FALSE(DT::GetPDFDateTime(L"2024").IsValid()); // month 0
    EXPECT_FALSE(DT::GetPDFDateTime(L"20230229").IsValid());
}

TEST(TheCurrentDateTime, isLocalTimeNowInTheClockForms) {
    const DateTimeValue now = DT::GetCurrentDateTime();
    const QDateTime q = QDateTime::currentDateTime();
    const DateTimeValue expected =
        DT::MakeDateTime(q.date().year(), q.date().month(), q.date().day(), q.time().hour(),
                         q.time().minute(), q.time().second());
    ASSERT_TRUE(now.IsValid());
    EXPECT_NEAR(now.GetDays(), expected.GetDays(), 2.0 / 86400);

    const std::wregex ex(LR"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2}:\d{3})");
    const std::wregex plain(LR"(\d{4}/\d{2}/\d{2} \d{2}:\d{2}:\d{2})");
    EXPECT_TRUE(std::regex_match(DT::GetCurrentDateTimeEx(), ex));
    const std::wstring text = DT::GetCurrentDateTimeDefaultFormatted();
    ASSERT_TRUE(std::regex_match(text, plain));
    EXPECT_EQ(text.substr(0, 4), std::to_wstring(q.date().year()));
}

} // namespace
