#include <KelmLibraryUtils/FileUtils.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

using KelmLibraryUtils::FileUtils;

namespace {

// The word for bytes follows the user's language, as the shell's does.
std::wstring BytesWord() {
    const char* lang = std::getenv("LC_ALL");
    if (!lang || !*lang)
        lang = std::getenv("LANG");
    return lang && std::string(lang).rfind("ja", 0) == 0 ? L" バイト" : L" bytes";
}

struct SizeCase {
    std::int64_t size;
    int unit;
    std::wstring text;
};

} // namespace

TEST(FileUtilsSizeText, showsMegabytesAndGigabytesWithCutDecimals) {
    const SizeCase cases[] = {
        {1536, 3, L"0.00 MB"},
        {15728640, 3, L"15.0 MB"},
        {2147483648, 4, L"2.00 GB"},
        {171798691840, 3, L"163,840 MB"},
        {0, 4, L"0 GB"},
        {0, 3, L"0 MB"},
        {10485341, 3, L"10.00 MB"}, // 9.9996: the two-decimal rounding gives 10.000
        {104857600, 3, L"100 MB"},
        {1288490188, 4, L"1.20 GB"}, // 1.19999 rounds to 1.200, then is cut
        {-1, 3, L" MB"},
        {-1, 4, L" GB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileUtils::GetFileSize(c.size, c.unit), c.text) << c.size << " unit " << c.unit;
}

TEST(FileUtilsSizeText, showsKilobytesRoundedUpForUnitTwoAndUnknownUnits) {
    const SizeCase cases[] = {
        {0, 2, L"0 KB"},
        {1, 2, L"1 KB"},
        {1024, 2, L"1 KB"},
        {1025, 2, L"2 KB"},
        {1234567890, 2, L"1,205,633 KB"},
        {5000, 7, L"5 KB"},
        {5000, -1, L"5 KB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileUtils::GetFileSize(c.size, c.unit), c.text) << c.size << " unit " << c.unit;
}

TEST(FileUtilsSizeText, showsGroupedBytesForUnitOne) {
    EXPECT_EQ(FileUtils::GetFileSize(0, 1), L"0" + BytesWord());
    EXPECT_EQ(FileUtils::GetFileSize(999, 1), L"999" + BytesWord());
    EXPECT_EQ(FileUtils::GetFileSize(1000, 1), L"1,000" + BytesWord());
    EXPECT_EQ(FileUtils::GetFileSize(1234567, 1), L"1,234,567" + BytesWord());
}

TEST(FileUtilsSizeText, picksAUnitWithThreeSignificantDigitsForUnitZero) {
    const SizeCase cases[] = {
        {1536, 0, L"1.50 KB"},        {2047, 0, L"1.99 KB"}, // truncated, not rounded
        {15728640, 0, L"15.0 MB"},    {1048575, 0, L"1023 KB"},       {2147483648, 0, L"2.00 GB"},
        {171798691840, 0, L"160 GB"}, {1099511627776, 0, L"1.00 TB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileUtils::GetFileSize(c.size, c.unit), c.text) << c.size;
    EXPECT_EQ(FileUtils::GetFileSize(0, 0), L"0" + BytesWord());
    EXPECT_EQ(FileUtils::GetFileSize(1023, 0), L"1023" + BytesWord());
}

TEST(FileUtilsSizeText, cutsTheUnitOffAtTheFirstBlank) {
    EXPECT_EQ(FileUtils::GetStrFormatSizeOff(L"163,840 MB"), L"163,840");
    EXPECT_EQ(FileUtils::GetStrFormatSizeOff(FileUtils::GetFileSize(1234, 1)), L"1,234");
    EXPECT_EQ(FileUtils::GetStrFormatSizeOff(L"plain"), L"plain");
    EXPECT_EQ(FileUtils::GetStrFormatSizeOff(L" MB"), L"");
}
