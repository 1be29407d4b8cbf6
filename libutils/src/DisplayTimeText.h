#pragma once
// The display text of a file time, as DateTimeUtils::GetFormatedDateTime
// gives it, at a fraction of its cost: the list shows three per item, and
// the locale's date formatting and the time-zone query each cost more than
// the stat of the item. The date part is kept per day, the offset from UTC
// for at most a second (and until TZ changes); the time part is plain digits.
#include <KelmPlatform/FileTime.h>

#include <string>

namespace KelmLibraryUtils {

class DisplayTimeText {
public:
    static std::wstring Of(KelmPlatform::FileTime utc);
};

} // namespace KelmLibraryUtils
