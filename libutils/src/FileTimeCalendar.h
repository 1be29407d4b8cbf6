#pragma once
// Calendar components of file times (100-ns ticks since 1601-01-01) and the
// offset between UTC and local time in force now.
#include "CalendarMath.h"

#include <KelmPlatform/FileTime.h>

namespace KelmLibraryUtils {

// Splits a file time into components, dropping the fraction of a second.
void PartsFromFileTime(KelmPlatform::FileTime ft, CalendarParts& parts);

// False when the components do not exist or lie before 1601 or after 9999.
bool FileTimeFromParts(const CalendarParts& parts, KelmPlatform::FileTime& ft);

// Seconds east of UTC right now, daylight saving included.
std::int64_t CurrentUtcOffset();

} // namespace KelmLibraryUtils
