#include "KelmLibraryUtils/CompareUtils.h"
#include "KelmLibraryUtils/DateTimeUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

using KelmLibraryUtils::CompareUtils;
using KelmLibraryUtils::DateTimeUtils;

TEST(CompareNumber, ordersSigned64BitValues) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(CompareUtils::CompareNumber(kMin, kMax, 0), -1);
    EXPECT_EQ(CompareUtils::CompareNumber(kMax, kMin, 0), 1);
    EXPECT_EQ(CompareUtils::CompareNumber(-1, -1, 0), 0);
    EXPECT_EQ(CompareUtils::CompareNumber(kMin, kMax, 1), 1);
    EXPECT_EQ(CompareUtils::CompareNumber(5, 5, 1), 0);
}

TEST(CompareFileName, comparesDigitRunsByValueAndIgnoresCase) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int ascending;
    } cases[] = {
        {L"img2.jpg", L"img10.jpg", -1},
        {L"IMG2.JPG", L"img10.jpg", -1},
        {L"Photo.JPG", L"photo.jpg", 0},
        {L"a9", L"a10", -1},
        {L"a100", L"a99", 1},
        {L"x123456789012345678901234567890", L"x123456789012345678901234567891", -1},
        {L"x99999999999999999999999999", L"x100000000000000000000000000", -1},
        {L"a01", L"a1", 1},
        {L"a001b", L"a01c", -1}, // the value decides before the zeros do
        {L"a0", L"a00", -1},
        {L"a", L"a1", -1},
        {L"b", L"a10", 1},
        {L"", L"", 0},
        {L"ä2", L"Ä10", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareUtils::CompareFileName(c.a, c.b, 0), c.ascending) << c.a << " / " << c.b;
        EXPECT_EQ(CompareUtils::CompareFileName(c.b, c.a, 0), -c.ascending) << c.b << " / " << c.a;
        EXPECT_EQ(CompareUtils::CompareFileName(c.a, c.b, 1), -c.ascending) << c.a << " / " << c.b;
    }
}

TEST(CompareFileName, sortsANameListLikeAFileManager) {
    std::vector<std::wstring> names{L"img10.jpg", L"IMG1.jpg", L"img2.jpg",
                                    L"img02.jpg", L"img.jpg",  L"a.txt"};
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareUtils::CompareFileName(a, b, 0) < 0;
    });
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.txt", L"img.jpg", L"IMG1.jpg", L"img2.jpg",
                                                L"img02.jpg", L"img10.jpg"}));
}

TEST(CompareText, ignoresCaseWithTheFlagAndReversesWhenDescending) {
    EXPECT_EQ(CompareUtils::CompareText(L"abc", L"ABC", 0), 0);
    EXPECT_EQ(CompareUtils::CompareText(L"abc", L"ABD", 0), -1);
    EXPECT_EQ(CompareUtils::CompareText(L"abc", L"ABD", 1), 1);
    EXPECT_EQ(CompareUtils::CompareText(L"b", L"a", 0, 0), 1);
    EXPECT_NE(CompareUtils::CompareText(L"abc", L"ABC", 0, 0), 0);
    EXPECT_EQ(CompareUtils::CompareText(L"", L"a", 0), -1);
}

TEST(CompareFileTime, ordersParsedDateTimesAndPutsUnparsableTextsLast) {
    const std::wstring early =
        DateTimeUtils::GetFormatedDateTime(DateTimeUtils::MakeDateTime(2020, 5, 1, 10, 0, 0));
    const std::wstring late =
        DateTimeUtils::GetFormatedDateTime(DateTimeUtils::MakeDateTime(2020, 5, 1, 10, 0, 1));
    ASSERT_FALSE(early.empty());
    EXPECT_EQ(CompareUtils::CompareFileTime(early, late, 0), -1);
    EXPECT_EQ(CompareUtils::CompareFileTime(late, early, 0), 1);
    EXPECT_EQ(CompareUtils::CompareFileTime(early, early, 0), 0);
    EXPECT_EQ(CompareUtils::CompareFileTime(early, late, 1), 1);
    EXPECT_EQ(CompareUtils::CompareFileTime(L"", early, 0), 1);
    EXPECT_EQ(CompareUtils::CompareFileTime(L"", early, 1), -1);
    EXPECT_EQ(CompareUtils::CompareFileTime(early, L"not a date", 0), -1);
    EXPECT_EQ(CompareUtils::CompareFileTime(L"", L"not a date", 0), 0);
    EXPECT_EQ(CompareUtils::CompareFileTime(L"", L"", 1), 0);
}
