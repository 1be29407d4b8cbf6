#include "KelmLibraryUtils/RegexUtils.h"

#include <gtest/gtest.h>

using KelmLibraryUtils::RegexUtils;

namespace {
const wchar_t* const kLabelSuffix = L"(\\(&.?\\))?:$";
}

TEST(RegexUtilsReplace, stripsTheMnemonicAndColonFromALabel) {
    struct Case {
        const wchar_t* label;
        const wchar_t* bare;
    } cases[] = {
        {L"名前(&N):", L"名前"},    {L"条件(&C):", L"条件"}, {L"現在の場所:", L"現在の場所"},
        {L"名前(&N)", L"名前(&N)"}, {L"a:b", L"a:b"},        {L"(&):", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RegexUtils::Replace(c.label, kLabelSuffix, L""), c.bare) << c.label;
    }
}

TEST(RegexUtilsReplace, replacesEveryMatch) {
    EXPECT_EQ(RegexUtils::Replace(L"a1b22c", L"[0-9]+", L"#"), L"a#b#c");
    EXPECT_EQ(RegexUtils::Replace(L"ab", L"(a)(b)", L"$2$1"), L"ba");
}

TEST(RegexUtilsIsMatch, searchesAnywhereInTheText) {
    EXPECT_TRUE(RegexUtils::IsMatch(L"名前(&N):", kLabelSuffix));
    EXPECT_TRUE(RegexUtils::IsMatch(L"xabcx", L"b"));
    EXPECT_FALSE(RegexUtils::IsMatch(L"abc", L"^b"));
}

TEST(ABadPattern, givesNoMatchAndLeavesTheTextUnchanged) {
    for (const wchar_t* pattern : {L"(", L"[a-", L"a{2,1}", L"\\"}) {
        EXPECT_FALSE(RegexUtils::IsMatch(L"abc", pattern)) << pattern;
        EXPECT_EQ(RegexUtils::Replace(L"abc", pattern, L"x"), L"abc") << pattern;
    }
}
