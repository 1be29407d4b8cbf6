#pragma once
// The sort comparisons of every list. Each returns -1, 0 or 1; a nonzero
// `descending` reverses the result.
#include <cstdint>
#include <string>

namespace KelmLibraryUtils {

class CompareUtils {
public:
    // Flags of CompareText.
    enum CompareFlags { IgnoreCase = 0x1 };
    // The user's default locale, the only one the system passes.
    static constexpr int LocaleUserDefault = 1024;

    static int CompareNumber(std::int64_t a, std::int64_t b, int descending);
    // Logical file-name order: case ignored, runs of ASCII digits compared by
    // numeric value of any length ("img2" before "img10"); names equal but for
    // leading zeros order by fewer zeros first, so the order stays total.
    static int CompareFileName(const std::wstring& a, const std::wstring& b, int descending);
    // Collation of the system locale, case ignored with IgnoreCase.
    static int CompareText(const std::wstring& a, const std::wstring& b, int descending,
                           int flags = IgnoreCase, int locale = LocaleUserDefault);
    // Both texts parsed as local date-times and compared to the second; a text
    // that does not parse sorts after every one that does (ascending).
    static int CompareFileTime(const std::wstring& a, const std::wstring& b, int descending);
};

} // namespace KelmLibraryUtils
