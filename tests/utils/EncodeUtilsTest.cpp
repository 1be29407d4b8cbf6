#include "KelmLibraryUtils/EncodeUtils.h"

#include <gtest/gtest.h>

using KelmLibraryUtils::EncodeUtils;

TEST(GetTextToEncodeString, encodesEachReservedCharacterOnce) {
    struct Case {
        const wchar_t* text;
        const wchar_t* encoded;
    } cases[] = {
        {L"a b%", L"a%20b%25"},
        {L"%20", L"%2520"},
        {L"<>#{}|^~[]`?&", L"%3C%3E%23%7B%7D%7C%5E%7E%5B%5D%60%3F%26"},
        {L"Kelm Horalux 1.0", L"Kelm%20Horalux%201.0"},
        {L"日本語/x=y", L"日本語/x=y"},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeUtils::GetTextToEncodeString(c.text), c.encoded) << c.text;
    }
}

TEST(GetEscapeLineString, dropsCrLfPairsThenLoneLineFeeds) {
    EXPECT_EQ(EncodeUtils::GetEscapeLineString(L"a\r\nb\nc\rd"), L"abc\rd");
    EXPECT_EQ(EncodeUtils::GetEscapeLineString(L"\r\r\n\n"), L"\r");
}
