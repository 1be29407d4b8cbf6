#pragma once
// The program-wide change settings: both records as the settings file and
// the pages hold them. Here every date-time value stays as read and its
// status member says whether the picker's box is set; the records a run
// gets are built from these, an unset status becoming a null value.
#include "KelmEngine/FormAdvancedItem.h"
#include "KelmEngine/FormGeneralItem.h"

#include <KelmLibraryUtils/DateTimeValue.h>

namespace KelmEngine {

struct FormSettings {
    FORMGENERALITEM General;
    FORMADVANCEDITEM Advanced;

    // The first-start values at `now` (default: this moment): date members
    // hold its date at 00:00:00, time members its time of day on
    // 1899-12-30, and the stagger's start time is 00:00:00.
    static FormSettings GetDefaults();
    static FormSettings GetDefaults(const KelmLibraryUtils::DateTimeValue& now);

    // The records of a run: each value whose status is 0 made null.
    FORMGENERALITEM BuildGeneralItem() const;
    FORMADVANCEDITEM BuildAdvancedItem() const;

    // Settings from records as a run takes them: each status 1 unless its
    // value is null.
    static FormSettings FromRecords(const FORMGENERALITEM& general,
                                    const FORMADVANCEDITEM& advanced);
};

} // namespace KelmEngine
