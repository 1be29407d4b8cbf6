#pragma once
// OLE-automation dates: days since 1899-12-30 00:00 with the time of day as
// the fraction. Before the epoch the whole part counts back while the
// fraction still counts forward from that day's midnight, so -1.25 is
// 1899-12-29 06:00. Years 100 to 9999, whole seconds.
#include "CalendarMath.h"

namespace KelmLibraryUtils {

inline constexpr std::int64_t kOleEpochDays = DaysFromCivil(1899, 12, 30);
inline constexpr int kOleMinYear = 100;
inline constexpr int kOleMaxYear = 9999;

// False when the components are out of range or name a day that does not exist.
bool OleDateFromParts(const CalendarParts& parts, double& days);

// Splits a date, rounding to the nearest second. False outside the range.
bool PartsFromOleDate(double days, CalendarParts& parts);

} // namespace KelmLibraryUtils
