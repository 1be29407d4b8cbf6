#pragma once
// The advanced change settings of a run: how the new date-times are
// computed. The general settings still decide which date-times change.
#include <KelmLibraryFuncs/StaggerItem.h>

namespace KelmEngine {

struct FORMADVANCEDITEM {
    enum Method { ByGivenDateTime = 0, ByOtherDateTime = 1, ByStagger = 2 };

    int ModifiedMethod = ByGivenDateTime;
    int OtherDateTime = 3; // as DateTimeFuncs::OtherDateTime: 0 modified .. 3 EXIF taken
    KelmLibraryFuncs::STAGGERITEM Stagger{.EnabledStartDateTime = 1};
};

} // namespace KelmEngine
