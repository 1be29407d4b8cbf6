#include <KelmLibraryFuncs/SearchFuncs.h>
#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/ImageUtils.h>
#include <KelmPlatform/FileSystemItem.h>

#include "TempDir.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

using KelmLibraryFuncs::SearchFuncs;
using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;

namespace {

DateTimeValue At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return DateTimeUtils::MakeDateTime(year, month, day, hour, minute, second);
}

void SetTimes(const std::wstring& path, const DateTimeValue& modified,
              const DateTimeValue& created = DateTimeValue::MakeNull()) {
    KelmPlatform::ItemTimes times;
    times.modified = DateTimeUtils::ToFileTime(modified);
    times.created = created.IsNull() ? 0 : DateTimeUtils::ToFileTime(created);
    ASSERT_TRUE(KelmPlatform::WriteItemTimes(path, times));
}

std::wstring MakeSizedFile(const kelmtest::TempDir& dir, const std::string& name,
                           std::int64_t size) {
    const std::wstring path = dir.MakeFile(name, "");
    EXPECT_EQ(::truncate(dir.NativeChild(name).c_str(), size), 0); // sparse
    return path;
}

// Every test starts from, and leaves behind, the state of a fresh process.
class ASearch : public ::testing::Test {
protected:
    void SetUp() override { SearchFuncs::ResetSearchConditions(); }
    void TearDown() override { SearchFuncs::ResetSearchConditions(); }

    static void SearchDates(int range, const DateTimeValue& from = DateTimeValue::MakeNull(),
                            const DateTimeValue& to = DateTimeValue::MakeNull()) {
        SearchFuncs::SetDateTimeSearch(1);
        SearchFuncs::SetDateTimeRange(range);
        SearchFuncs::SetDateTimeFromDateTime(from);
        SearchFuncs::SetDateTimeToDateTime(to);
    }
    static void SearchSizes(int range) {
        SearchFuncs::SetSizeSearch(1);
        SearchFuncs::SetSizeRange(range);
    }
};

} // namespace

TEST_F(ASearch, startsWithEverythingOffAndTheLastWeekAsItsDates) {
    SearchDates(SearchFuncs::LastYear, At(2000, 1, 1), At(2001, 1, 1));
    SearchSizes(SearchFuncs::SizeHuge);
    SearchFuncs::SetSearchClosed(1);
    SearchFuncs::SetSizeTarget(3);
    SearchFuncs::SetSizeFromSize(5);
    SearchFuncs::SetSizeToSize(6);
    SearchFuncs::ResetSearchConditions();

    EXPECT_EQ(SearchFuncs::GetSearchClosed(), 0);
    EXPECT_EQ(SearchFuncs::GetDateTimeSearch(), 0);
    EXPECT_EQ(SearchFuncs::GetDateTimeTarget(), 0);
    EXPECT_EQ(SearchFuncs::GetDateTimeRange(), 0);
    EXPECT_EQ(SearchFuncs::GetSizeSearch(), 0);
    EXPECT_EQ(SearchFuncs::GetSizeTarget(), 0);
    EXPECT_EQ(SearchFuncs::GetSizeRange(), 0);
    EXPECT_EQ(SearchFuncs::GetSizeFromSize(), 0);
    EXPECT_EQ(SearchFuncs::GetSizeToSize(), 1024);

    const DateTimeValue now = DateTimeUtils::GetCurrentDateTime();
    const DateTimeValue today = At(now.GetYear(), now.GetMonth(), now.GetDay());
    const DateTimeValue weekAgo(today.GetDays() - 7);
    EXPECT_EQ(SearchFuncs::GetDateTimeFromDateTime(),
              At(weekAgo.GetYear(), weekAgo.GetMonth(), weekAgo.GetDay(), 0, 0, 0));
    EXPECT_EQ(SearchFuncs::GetDateTimeToDateTime(),
              At(now.GetYear(), now.GetMonth(), now.GetDay(), 23, 59, 59));
}

TEST_F(ASearch, testsEachSizePresetAtItsExactByteBounds) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const struct {
        int range;
        std::vector<std::int64_t> pass;
        std::vector<std::int64_t> fail;
    } cases[] = {
        {SearchFuncs::SizeEmpty, {0}, {-1, 1}},
        {SearchFuncs::SizeTiny, {1, 16384}, {0, 16385}},
        {SearchFuncs::SizeSmall, {16385, 1048576}, {16384, 1048577}},
        {SearchFuncs::SizeMedium, {1048577, 134217728}, {1048576, 134217729}},
        {SearchFuncs::SizeLarge, {134217729, 1073741824}, {134217728, 1073741825}},
        {SearchFuncs::SizeHuge, {1073741825, 4294967296}, {1073741824, 4294967297}},
        {SearchFuncs::SizeGigantic, {4294967297, kMax}, {4294967296, -1}},
        {SearchFuncs::SizeUnknown, {-1}, {0, 1}},
        {9, {}, {-1, 0, 1, kMax}},
        {-1, {}, {-1, 0, 1, kMax}},
    };
    for (const auto& c : cases) {
        SearchSizes(c.range);
        for (const std::int64_t size : c.pass)
            EXPECT_EQ(SearchFuncs::IsMatchSize(size), 1) << c.range << ": " << size;
        for (const std::int64_t size : c.fail)
            EXPECT_EQ(SearchFuncs::IsMatchSize(size), 0) << c.range << ": " << size;
    }
}

TEST_F(ASearch, takesTheSpecifiedSizesAsInclusiveBounds) {
    SearchSizes(SearchFuncs::SizeSpecified);
    EXPECT_EQ(SearchFuncs::IsMatchSize(std::int64_t{1024}), 1); // default 0..1024
    EXPECT_EQ(SearchFuncs::IsMatchSize(std::int64_t{1025}), 0);
    EXPECT_EQ(SearchFuncs::IsMatchSize(std::int64_t{-1}), 0);
    SearchFuncs::SetSizeFromSize(100);
    SearchFuncs::SetSizeToSize(200);
    for (const std::int64_t size : {100, 150, 200})
        EXPECT_EQ(SearchFuncs::IsMatchSize(size), 1) << size;
    for (const std::int64_t size : {99, 201})
        EXPECT_EQ(SearchFuncs::IsMatchSize(size), 0) << size;
}

TEST_F(ASearch, readsTheSizesOfRealFiles) {
    kelmtest::TempDir dir;
    const std::wstring empty = dir.MakeFile("empty", "");
    const std::wstring fourGB = MakeSizedFile(dir, "four", 4294967296);
    const std::wstring aboveFourGB = MakeSizedFile(dir, "above", 4294967297);
    const struct {
        std::wstring path;
        int range;
        int passes;
    } cases[] = {
        {empty, SearchFuncs::SizeEmpty, 1},      {empty, SearchFuncs::SizeTiny, 0},
        {fourGB, SearchFuncs::SizeHuge, 1},      {fourGB, SearchFuncs::SizeGigantic, 0},
        {aboveFourGB, SearchFuncs::SizeHuge, 0}, {aboveFourGB, SearchFuncs::SizeGigantic, 1},
    };
    for (const auto& c : cases) {
        SearchSizes(c.range);
        EXPECT_EQ(SearchFuncs::IsMatchSize(c.path, 0), c.passes) << c.range;
        EXPECT_EQ(SearchFuncs::IsMatch(c.path, 0), c.passes) << c.range;
    }
}

TEST_F(ASearch, givesAFolderASizeOnlyWhenFolderSizesAreOn) {
    kelmtest::TempDir dir;
    const std::wstring folder = dir.MakeFolder("folder");
    dir.MakeFile("folder/a", std::string(10, 'a'));
    dir.MakeFile("folder/b", std::string(20, 'b'));
    for (int range = SearchFuncs::SizeSpecified; range <= SearchFuncs::SizeUnknown; ++range) {
        SearchSizes(range);
        const int onlyUnknown = range == SearchFuncs::SizeUnknown ? 1 : 0;
        EXPECT_EQ(SearchFuncs::IsMatch(folder, 0), onlyUnknown) << range;
        EXPECT_EQ(SearchFuncs::IsMatchSize(folder, 0), onlyUnknown) << range;
    }
    SearchSizes(SearchFuncs::SizeSpecified);
    SearchFuncs::SetSizeFromSize(30);
    SearchFuncs::SetSizeToSize(30);
    EXPECT_EQ(SearchFuncs::IsMatch(folder, 1), 1);
    SearchSizes(SearchFuncs::SizeUnknown);
    EXPECT_EQ(SearchFuncs::IsMatch(folder, 1), 0);
}

TEST_F(ASearch, letsAMissingItemThroughButFailsItsOwnTests) {
    kelmtest::TempDir dir;
    const std::wstring gone = dir.Child(L"gone");
    SearchDates(SearchFuncs::DateTimeSpecified, DateTimeValue::MakeNull(), At(9999, 1, 1));
    SearchSizes(SearchFuncs::SizeUnknown);
    EXPECT_EQ(SearchFuncs::IsMatch(gone, 0), 1);
    EXPECT_EQ(SearchFuncs::IsMatchDateTime(gone), 0);
    EXPECT_EQ(SearchFuncs::IsMatchSize(gone, 0), 0);
}

namespace {

struct DateCase {
    DateTimeValue now;
    int range;
    DateTimeValue value;
    int passes;
};

// Wednesday 2024-05-15; its week runs from Sunday 05-12 to Saturday 05-18.
const DateTimeValue kWednesday = At(2024, 5, 15, 12, 0, 0);
const DateTimeValue kSunday = At(2024, 5, 12, 9, 0, 0);
const DateTimeValue kSaturday = At(2024, 5, 18, 9, 0, 0);
constexpr double kHalfSecond = 0.5 / 86400;

} // namespace

TEST_F(ASearch, coversEachDatePresetToItsBounds) {
    const DateCase cases[] = {
        {kWednesday, SearchFuncs::Today, At(2024, 5, 15, 0, 0, 0), 1},
        {kWednesday, SearchFuncs::Today, At(2024, 5, 15, 23, 59, 59), 1},
        {kWednesday, SearchFuncs::Today, At(2024, 5, 14, 23, 59, 59), 0},
        {kWednesday, SearchFuncs::Yesterday, At(2024, 5, 14, 0, 0, 0), 1},
        {kWednesday, SearchFuncs::Yesterday, At(2024, 5, 15, 0, 0, 0), 0},
        {At(2024, 3, 1, 8), SearchFuncs::Yesterday, At(2024, 2, 29, 20), 1},
        {At(2025, 1, 1, 8), SearchFuncs::Yesterday, At(2024, 12, 31, 20), 1},

        {kWednesday, SearchFuncs::ThisWeek, At(2024, 5, 12, 0, 0, 0), 1},
        {kWednesday, SearchFuncs::ThisWeek, At(2024, 5, 18, 23, 59, 59), 1},
        {kWednesday, SearchFuncs::ThisWeek, At(2024, 5, 11, 23, 59, 59), 0},
        {kWednesday, SearchFuncs::ThisWeek, At(2024, 5, 19, 0, 0, 0), 0},
        {kWednesday, SearchFuncs::ThisWeek, DateTimeValue(At(2024, 5, 12).GetDays() - kHalfSecond),
         0},
        // A Sunday starts its week; a Saturday ends it.
        {kSunday, SearchFuncs::ThisWeek, At(2024, 5, 12, 0, 0, 0), 1},
        {kSunday, SearchFuncs::ThisWeek, At(2024, 5, 18, 23, 59, 59), 1},
        {kSunday, SearchFuncs::ThisWeek, At(2024, 5, 11, 23, 59, 59), 0},
        {kSaturday, SearchFuncs::ThisWeek, At(2024, 5, 12, 0, 0, 0), 1},
        {kSaturday, SearchFuncs::ThisWeek, At(2024, 5, 19, 0, 0, 0), 0},
        {At(2025, 1, 2), SearchFuncs::ThisWeek, At(2024, 12, 29), 1},
        {At(2025, 1, 2), SearchFuncs::ThisWeek, At(2025, 1, 4, 23, 59, 59), 1},

        {kWednesday, SearchFuncs::LastWeek, At(2024, 5, 5, 0, 0, 0), 1},
        {kWednesday, SearchFuncs::LastWeek, At(2024, 5, 11, 23, 59, 59), 1},
        {kWednesday, SearchFuncs::LastWeek, At(2024, 5, 4, 23, 59, 59), 0},
        {kWednesday, SearchFuncs::LastWeek, At(2024, 5, 12, 0, 0, 0), 0},
        {kSunday, SearchFuncs::LastWeek, At(2024, 5, 5, 0, 0, 0), 1},
        {kSaturday, SearchFuncs::LastWeek, At(2024, 5, 11, 23, 59, 59), 1},
        {kSaturday, SearchFuncs::LastWeek, At(2024, 5, 12, 0, 0, 0), 0},
        {At(2025, 1, 2), SearchFuncs::LastWeek, At(2024, 12, 22), 1},
        {At(2025, 1, 2), SearchFuncs::LastWeek, At(2024, 12, 28, 23, 59, 59), 1},
        {At(2025, 1, 2), SearchFuncs::LastWeek, At(2024, 12, 21, 23, 59, 59), 0},

        {kWednesday, SearchFuncs::ThisMonth, At(2024, 5, 1), 1},
        {kWednesday, SearchFuncs::ThisMonth, At(2024, 5, 31, 23, 59, 59), 1},
        {kWednesday, SearchFuncs::ThisMonth, At(2023, 5, 15), 0},
        {kWednesday, SearchFuncs::ThisMonth, At(2024, 6, 1), 0},
        // From the 31st, the month before is the whole of February.
        {At(2024, 3, 31), SearchFuncs::LastMonth, At(2024, 2, 29, 23, 59, 59), 1},
        {At(2024, 3, 31), SearchFuncs::LastMonth, At(2024, 2, 1), 1},
        {At(2024, 3, 31), SearchFuncs::LastMonth, At(2024, 3, 1), 0},
        {At(2024, 1, 15), SearchFuncs::LastMonth, At(2023, 12, 31), 1},
        {At(2024, 1, 15), SearchFuncs::LastMonth, At(2024, 12, 31), 0},

        {kWednesday, SearchFuncs::ThisYear, At(2024, 1, 1), 1},
        {kWednesday, SearchFuncs::ThisYear, At(2023, 12, 31, 23, 59, 59), 0},
        {At(2024, 2, 29), SearchFuncs::LastYear, At(2023, 6, 1), 1},
        {At(2024, 2, 29), SearchFuncs::LastYear, At(2024, 1, 1), 0},

        {kWednesday, 9, kWednesday, 0},
        {kWednesday, -1, kWednesday, 0},
        {kWednesday, SearchFuncs::Today, DateTimeValue::MakeInvalid(kWednesday.GetDays()), 0},
        {kWednesday, SearchFuncs::Today, DateTimeValue::MakeNull(), 0},
    };
    for (const DateCase& c : cases) {
        SearchDates(c.range);
        EXPECT_EQ(SearchFuncs::IsMatchDateTime(c.value, c.now), c.passes)
            << "range " << c.range << ", now "
            << QString::fromStdWString(DateTimeUtils::GetFormatedExifDateTime(c.now)).toStdString()
            << ", value "
            << QString::fromStdWString(DateTimeUtils::GetFormatedExifDateTime(c.value))
                   .toStdString();
    }
}

TEST_F(ASearch, treatsANullSpecifiedBoundAsOpen) {
    const DateTimeValue from = At(2024, 5, 1, 0, 0, 0);
    const DateTimeValue to = At(2024, 5, 31, 23, 59, 59);
    const DateTimeValue null = DateTimeValue::MakeNull();
    const struct {
        DateTimeValue from;
        DateTimeValue to;
        DateTimeValue value;
        int passes;
    } cases[] = {
        {from, to, from, 1},
        {from, to, to, 1},
        {from, to, DateTimeValue(from.GetDays() - kHalfSecond), 0},
        {from, to, DateTimeValue(to.GetDays() + kHalfSecond), 0},
        {null, to, DateTimeValue(), 1}, // 1899-12-30 00:00:00
        {null, to, At(2024, 6, 1), 0},
        {from, null, At(9999, 12, 31), 1},
        {from, null, At(2024, 4, 30, 23, 59, 59), 0},
        {null, null, from, 0},
        {DateTimeValue::MakeInvalid(), to, from, 0},
        // Before 1899-12-30 the time of day still runs forward.
        {At(1899, 12, 29, 0), At(1899, 12, 29, 12), At(1899, 12, 29, 6), 1},
        {At(1899, 12, 29, 0), At(1899, 12, 29, 12), At(1899, 12, 29, 18), 0},
        {null, At(1899, 12, 29, 12), At(1899, 12, 29, 18), 0},
    };
    for (const auto& c : cases) {
        SearchDates(SearchFuncs::DateTimeSpecified, c.from, c.to);
        EXPECT_EQ(SearchFuncs::IsMatchDateTime(c.value), c.passes)
            << QString::fromStdWString(DateTimeUtils::GetFormatedExifDateTime(c.value))
                   .toStdString();
    }
}

TEST_F(ASearch, testsGivenValuesOnlyForTheConditionsThatAreOn) {
    const SearchFuncs::ITEM oldSmall{At(2001, 1, 1), 10};
    const SearchFuncs::ITEM noDate{DateTimeValue::MakeInvalid(), 10};
    EXPECT_EQ(SearchFuncs::IsMatch(noDate), 1);
    SearchSizes(SearchFuncs::SizeTiny);
    EXPECT_EQ(SearchFuncs::IsMatch(noDate), 1);
    EXPECT_EQ(SearchFuncs::IsMatch(SearchFuncs::ITEM{At(2001, 1, 1), 0}), 0);
    SearchDates(SearchFuncs::DateTimeSpecified, At(2000, 1, 1), At(2002, 1, 1));
    EXPECT_EQ(SearchFuncs::IsMatch(oldSmall), 1);
    EXPECT_EQ(SearchFuncs::IsMatch(noDate), 0);
}

TEST_F(ASearch, looksAtTheModifiedOrCreatedTimeOfARealFile) {
    kelmtest::TempDir dir;
    if (setxattr(dir.Native().c_str(), "user.probe", "1", 1, 0) != 0)
        GTEST_SKIP() << "the temporary folder has no user xattrs";
    const std::wstring file = dir.MakeFile("file.txt");
    SetTimes(file, At(2021, 5, 6, 18, 0, 0), At(2010, 3, 4, 5, 6, 7));
    const struct {
        int target;
        DateTimeValue from;
        DateTimeValue to;
        int passes;
    } cases[] = {
        {SearchFuncs::ModifiedTarget, At(2021, 5, 6, 0, 0, 0), At(2021, 5, 6, 23, 59, 59), 1},
        {SearchFuncs::ModifiedTarget, At(2021, 5, 6, 18, 0, 1), At(2021, 5, 6, 23, 59, 59), 0},
        {SearchFuncs::ModifiedTarget, At(2021, 5, 6, 0, 0, 0), At(2021, 5, 6, 17, 59, 59), 0},
        {SearchFuncs::CreatedTarget, At(2010, 3, 4, 5, 6, 7), At(2010, 3, 4, 5, 6, 7), 1},
        {SearchFuncs::CreatedTarget, At(2021, 5, 6, 0, 0, 0), At(2021, 5, 6, 23, 59, 59), 0},
        // Any other target looks at 1899-12-30 00:00:00.
        {5, DateTimeValue::MakeNull(), At(1900, 1, 1), 1},
        {5, At(1900, 1, 1), DateTimeValue::MakeNull(), 0},
    };
    for (const auto& c : cases) {
        SearchDates(SearchFuncs::DateTimeSpecified, c.from, c.to);
        SearchFuncs::SetDateTimeTarget(c.target);
        EXPECT_EQ(SearchFuncs::IsMatchDateTime(file), c.passes) << c.target;
        EXPECT_EQ(SearchFuncs::IsMatch(file, 0), c.passes) << c.target;
    }

    // Both conditions on: the date passes, the size (1 byte) does not.
    SearchDates(SearchFuncs::Today);
    SearchFuncs::SetDateTimeTarget(SearchFuncs::ModifiedTarget);
    const std::wstring fresh = dir.MakeFile("fresh.txt");
    EXPECT_EQ(SearchFuncs::IsMatch(fresh, 0), 1);
    SearchSizes(SearchFuncs::SizeEmpty);
    EXPECT_EQ(SearchFuncs::IsMatch(fresh, 0), 0);
}

TEST_F(ASearch, looksAtThePhotosDateTakenAndTakesNoneAsTheValueZero) {
    kelmtest::TempDir dir;
    const std::wstring photo = dir.Child(L"photo.jpg");
    const std::wstring plain = dir.Child(L"plain.jpg");
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(dir.NativeChild("photo.jpg")), "JPEG"));
    ASSERT_TRUE(image.save(QString::fromStdString(dir.NativeChild("plain.jpg")), "JPEG"));
    ASSERT_TRUE(
        KelmLibraryUtils::ImageUtils::SetPropertyTagExifDTOrig(photo, L"2019:07:08 09:10:11"));
    const struct {
        std::wstring path;
        DateTimeValue from;
        DateTimeValue to;
        int passes;
    } cases[] = {
        {photo, At(2019, 7, 8, 9, 10, 11), At(2019, 7, 8, 9, 10, 11), 1},
        {photo, At(2019, 7, 8, 9, 10, 12), DateTimeValue::MakeNull(), 0},
        {plain, DateTimeValue::MakeNull(), At(2000, 1, 1), 1},
        {plain, At(1899, 12, 30, 0, 0, 0), At(1899, 12, 30, 0, 0, 0), 1},
        {plain, At(1900, 1, 1), DateTimeValue::MakeNull(), 0},
    };
    SearchFuncs::SetDateTimeTarget(SearchFuncs::ExifTakenTarget);
    for (const auto& c : cases) {
        SearchDates(SearchFuncs::DateTimeSpecified, c.from, c.to);
        EXPECT_EQ(SearchFuncs::IsMatch(c.path, 0), c.passes);
    }
}
