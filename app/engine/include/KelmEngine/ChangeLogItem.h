#pragma once
// One item a change run touched: its date-times and attributes before and
// after the change, as the list shows them, and the results of the three
// writes. The exact file times travel along so that a restore puts back the
// very ticks, whatever the time zone or locale when it runs.
#include <KelmPlatform/FileSystemItem.h>

#include <cstdint>
#include <string>

namespace KelmEngine {

struct CHANGELOGITEM {
    std::wstring Path;
    std::wstring CreatedBefore; // display texts; empty when missing
    std::wstring ModifiedBefore;
    std::wstring AccessedBefore;
    std::wstring TakenBefore;      // EXIF taken date-time, empty when none
    std::wstring AttributesBefore; // attribute letters, e.g. "RA"
    std::wstring CreatedAfter;
    std::wstring ModifiedAfter;
    std::wstring AccessedAfter;
    std::wstring TakenAfter;
    std::wstring AttributesAfter;
    std::int32_t TimeResult = 0; // nonzero = success
    std::int32_t AttributesResult = 0;
    std::int32_t UnblockResult = 0;

    // 1 when TimesBefore and TimesAfter hold the item's file times (a time
    // of 0 was not known); logs of earlier versions have only the texts.
    std::int32_t ExactTimes = 0;
    KelmPlatform::ItemTimes TimesBefore;
    KelmPlatform::ItemTimes TimesAfter;
};

} // namespace KelmEngine
