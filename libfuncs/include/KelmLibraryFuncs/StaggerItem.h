#pragma once
// The stagger settings: how far each item of a run moves from its base
// date-time, by its position in the run.
#include <KelmLibraryUtils/DateTimeValue.h>

#include <cstdint>

namespace KelmLibraryFuncs {

struct STAGGERITEM {
    std::int32_t EnabledStartDateTime = 0;     // 1: every item starts from StartDate + StartTime
    KelmLibraryUtils::DateTimeValue StartDate; // only its calendar date is used
    KelmLibraryUtils::DateTimeValue StartTime; // only its time of day is used
    std::int32_t Type = 0;                     // 0 cumulative, 1 uniform
    std::int32_t Method = 0;                   // 0 forward, 1 back
    std::int32_t StartValue = 0;               // added to the multiplier
    std::int32_t IntervalYears = 0;
    std::int32_t IntervalMonths = 0;
    std::int32_t IntervalDays = 0;
    std::int32_t IntervalHours = 0;   // 0..23
    std::int32_t IntervalMinutes = 0; // 0..59
    std::int32_t IntervalSeconds = 0; // 0..59
};

} // namespace KelmLibraryFuncs
