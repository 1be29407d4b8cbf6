#pragma once
// The general change settings of a run: which date-times change and to what,
// the attributes, unblocking and the two permissions. Integer members start
// at the first-start values; the date-time members at first start are the
// start-up moment, given by FormSettings::GetDefaults.
#include <KelmLibraryFuncs/AttributesFuncs.h>
#include <KelmLibraryUtils/DateTimeValue.h>

namespace KelmEngine {

struct FORMGENERALITEM {
    int ModifiedMethod = 0;         // 0 each date-time separately, 1 one for all three
    int ModifiedMethodSameTime = 0; // in mode 1: 0 the given date-time, 1 the current one
    int DateCreated = 1;
    int DateModified = 1;
    int DateAccessed = 1;
    // Only the date part of a ...Date value and the time part of a ...Time
    // value are used; a null value keeps the item's own part.
    KelmLibraryUtils::DateTimeValue DateCreatedDate;
    KelmLibraryUtils::DateTimeValue DateCreatedTime;
    KelmLibraryUtils::DateTimeValue DateModifiedDate;
    KelmLibraryUtils::DateTimeValue DateModifiedTime;
    KelmLibraryUtils::DateTimeValue DateAccessedDate;
    KelmLibraryUtils::DateTimeValue DateAccessedTime;
    // 1 when the value above is set, 0 when it is null; kept for storage.
    int DateCreatedDateStatus = 1;
    int DateCreatedTimeStatus = 1;
    int DateModifiedDateStatus = 1;
    int DateModifiedTimeStatus = 1;
    int DateAccessedDateStatus = 1;
    int DateAccessedTimeStatus = 1;
    int DateSpecifyDateStatus = 1;
    int DateSpecifyTimeStatus = 1;
    KelmLibraryUtils::DateTimeValue DateSpecifyDate; // mode 1 with the given date-time
    KelmLibraryUtils::DateTimeValue DateSpecifyTime;
    KelmLibraryFuncs::ATTRIBUTESITEM Attributes;
    int ZoneIdentifier = 1;             // unblock the item
    int AllowModifiedReadOnlyFiles = 1; // clear and restore read-only around the change
    int AllowModifiedSubfolders = 1;    // also change the contents of checked folders
};

} // namespace KelmEngine
