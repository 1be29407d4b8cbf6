#include "KelmLibraryUtils/StringUtils.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using KelmLibraryUtils::StringUtils;

TEST(AStringTableEntry, splitsIntoDescriptionAndTitleAtTheLastLineFeed) {
    EXPECT_EQ(StringUtils::GetLoadStringTitle(32853), L"復元");
    EXPECT_EQ(StringUtils::GetLoadStringText(32853),
              L"ログファイルから日時および属性の変更を元に戻します。");
    // No line feed: both halves are the whole entry.
    EXPECT_EQ(StringUtils::GetLoadStringTitle(10231), L"項目を選択してください。");
    EXPECT_EQ(StringUtils::GetLoadStringText(10231), L"項目を選択してください。");
    // A trailing line feed leaves an empty title.
    EXPECT_EQ(StringUtils::GetLoadStringTitle(104), L"");
}

TEST(AMissingStringTableEntry, givesEmptyTexts) {
    EXPECT_EQ(StringUtils::GetLoadString(1), L"");
    EXPECT_EQ(StringUtils::GetLoadStringTitle(1), L"");
    EXPECT_EQ(StringUtils::GetResourceText(L"M999", 32853), L"");
}

TEST(IsCompareNoCase, comparesWithTheEntryIgnoringCase) {
    EXPECT_TRUE(StringUtils::IsCompareNoCase(L"ms ui gothic", 11022));
    EXPECT_FALSE(StringUtils::IsCompareNoCase(L"MS UI Gothi", 11022));
    EXPECT_FALSE(StringUtils::IsCompareNoCase(L"x", 1));
    EXPECT_TRUE(StringUtils::IsCompareNoCase(L"", 1));
}

TEST(GetFormatedText, fillsEachPercentSInOrder) {
    EXPECT_EQ(StringUtils::GetFormatedText(10271, L"\n復元"), L"\n復元を開始しますか?");
    EXPECT_EQ(StringUtils::GetFormatedText(L"%s (%s)", L"a", L"b"), L"a (b)");
    EXPECT_EQ(StringUtils::GetFormatedText(L"%s and %s", L"a"), L"a and ");
    // An argument's own "%s" is not expanded again; other sequences stay.
    EXPECT_EQ(StringUtils::GetFormatedText(L"%s %d 100%% %", L"%s"), L"%s %d 100% %");
}

TEST(GetReplaceString, replacesEveryOccurrenceWithoutRescanning) {
    EXPECT_EQ(StringUtils::GetReplaceString(L"a-b-c", L"-", L"--"), L"a--b--c");
    EXPECT_EQ(StringUtils::GetReplaceString(L"aaa", L"aa", L"b"), L"ba");
    EXPECT_EQ(StringUtils::GetReplaceString(L"abc", L"", L"x"), L"abc");
    EXPECT_EQ(StringUtils::GetIfEmptyText(L"", L"other"), L"other");
    EXPECT_EQ(StringUtils::GetIfEmptyText(L"text", L"other"), L"text");
}

TEST(GetTokenizeString, countsOnlyNonEmptyTokens) {
    struct Case {
        const wchar_t* text;
        const wchar_t* delimiters;
        int index;
        const wchar_t* token;
    } cases[] = {
        {L",,a,,b", L",", 0, L"a"},  {L",,a,,b", L",", 1, L"b"}, {L",,a,,b", L",", 2, L""},
        {L"a; b;c", L"; ", 1, L"b"}, {L"abc", L",", 0, L"abc"},  {L"", L",", 0, L""},
        {L"a,b", L",", -1, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StringUtils::GetTokenizeString(c.text, c.delimiters, c.index), c.token)
            << c.text << " #" << c.index;
    }
}

TEST(StringToIntNumber, acceptsOnlyASignedRunOfAsciiDigitsInRange) {
    struct Case {
        const wchar_t* text;
        int value;
    } cases[] = {
        {L"12", 12},         {L"+12", 12},
        {L"-12", -12},       {L"12a", 0},
        {L" 12", 0},         {L"12 ", 0},
        {L"1.5", 0},         {L"", 0},
        {L"+", 0},           {L"-", 0},
        {L"99999999999", 0}, {L"2147483647", 2147483647},
        {L"2147483648", 0},  {L"-2147483648", std::numeric_limits<int>::min()},
        {L"１２", 0},        {L"0x10", 0},
        {L"--1", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StringUtils::StringToIntNumber(c.text), c.value) << c.text;
    }
}

TEST(StringToInt64AndDWORDNumber, useTheirOwnRanges) {
    EXPECT_EQ(StringUtils::StringToInt64Number(L"99999999999"), 99999999999LL);
    EXPECT_EQ(StringUtils::StringToInt64Number(L"-9223372036854775808"),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(StringUtils::StringToInt64Number(L"9223372036854775808"), 0);
    EXPECT_EQ(StringUtils::StringToInt64Number(L"99999999999999999999999"), 0);
    EXPECT_EQ(StringUtils::StringToDWORDNumber(L"4294967295"), 4294967295u);
    EXPECT_EQ(StringUtils::StringToDWORDNumber(L"4294967296"), 0u);
    EXPECT_EQ(StringUtils::StringToDWORDNumber(L"-1"), 0u);
    EXPECT_EQ(StringUtils::StringToDWORDNumber(L"+7"), 7u);
}

TEST(NumberToString, writesPercentDIncludingTheSignedViewOfLargeDWORDs) {
    EXPECT_EQ(StringUtils::IntNumberToString(-42), L"-42");
    EXPECT_EQ(StringUtils::DWORDNumberToString(2147483647u), L"2147483647");
    EXPECT_EQ(StringUtils::DWORDNumberToString(2147483648u), L"-2147483648");
    EXPECT_EQ(StringUtils::DWORDNumberToString(4294967295u), L"-1");
}

TEST(Quoting, addsAndRemovesQuotesAndCommasAtTheEdgesOnly) {
    EXPECT_EQ(StringUtils::GetAddDoubleQuotesString(L"a\"b"), L"\"a\"b\"");
    EXPECT_EQ(StringUtils::GetAddDoubleQuotesCommaString(L"a"), L"\"a\",");
    EXPECT_EQ(StringUtils::GetAddTwiceDoubleQuotesString(L"a\"b"), L"\"a\"b\"");
    EXPECT_EQ(StringUtils::GetAddTwiceDoubleQuotesString(L"\"ab\""), L"\"\"\"ab\"\"\"");
    EXPECT_EQ(StringUtils::GetAddTwiceDoubleQuotesString(L"ab\""), L"\"ab\"\"\"");
    EXPECT_EQ(StringUtils::GetAddTwiceDoubleQuotesString(L""), L"\"\"");
    EXPECT_EQ(StringUtils::GetRemoveDoubleQuotesString(L"\"\"a\"\""), L"\"a\"");
    EXPECT_EQ(StringUtils::GetRemoveDoubleQuotesString(L"a\""), L"a");
    EXPECT_EQ(StringUtils::GetRemoveDoubleQuotesString(L"\""), L"");
    EXPECT_EQ(StringUtils::GetAddCommaString(L"a"), L"a,");
    EXPECT_EQ(StringUtils::GetRemoveCommaString(L"a,,"), L"a,");
    EXPECT_EQ(StringUtils::GetRemoveCommaString(L""), L"");
}

TEST(GetStringArrayString, joinsCsvFieldsWithoutSeparator) {
    std::vector<std::wstring> fields;
    for (const wchar_t* cell : {L"名前", L"say \"hi\""}) {
        fields.push_back(
            StringUtils::GetAddCommaString(StringUtils::GetAddTwiceDoubleQuotesString(cell)));
    }
    EXPECT_EQ(StringUtils::GetRemoveCommaString(StringUtils::GetStringArrayString(fields)),
              L"\"名前\",\"say \"hi\"\"\"");
    EXPECT_EQ(StringUtils::GetStringArrayString({}), L"");
}
