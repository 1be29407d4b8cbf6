#pragma once
// The three summary dates of an Office document, read in one open.
#include <string>

namespace KelmLibraryUtils {

struct OFFICEDATESITEM {
    // Local time as year/month/day hour:minute:second, two digits each and
    // the year in full ("2024/03/01 09:05:00"); empty when missing.
    std::wstring Created;     // summary-information property 12
    std::wstring LastSaved;   // 13
    std::wstring LastPrinted; // 11
};

} // namespace KelmLibraryUtils
