#include "KelmEngine/FormSettings.h"

#include <KelmLibraryUtils/DateTimeUtils.h>

#include <array>

namespace KelmEngine {
namespace {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;

// The eight pickers of the general page with their status members.
struct Picker {
    DateTimeValue FORMGENERALITEM::*value;
    int FORMGENERALITEM::*status;
    bool date; // a date picker, else a time picker
};

constexpr std::array<Picker, 8> kPickers = {{
    {&FORMGENERALITEM::DateCreatedDate, &FORMGENERALITEM::DateCreatedDateStatus, true},
    {&FORMGENERALITEM::DateCreatedTime, &FORMGENERALITEM::DateCreatedTimeStatus, false},
    {&FORMGENERALITEM::DateModifiedDate, &FORMGENERALITEM::DateModifiedDateStatus, true},
    {&FORMGENERALITEM::DateModifiedTime, &FORMGENERALITEM::DateModifiedTimeStatus, false},
    {&FORMGENERALITEM::DateAccessedDate, &FORMGENERALITEM::DateAccessedDateStatus, true},
    {&FORMGENERALITEM::DateAccessedTime, &FORMGENERALITEM::DateAccessedTimeStatus, false},
    {&FORMGENERALITEM::DateSpecifyDate, &FORMGENERALITEM::DateSpecifyDateStatus, true},
    {&FORMGENERALITEM::DateSpecifyTime, &FORMGENERALITEM::DateSpecifyTimeStatus, false},
}};

DateTimeValue DateOf(const DateTimeValue& now) {
    return DateTimeUtils::MakeDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0);
}

DateTimeValue TimeOf(const DateTimeValue& now) {
    return DateTimeUtils::MakeDateTime(1899, 12, 30, now.GetHour(), now.GetMinute(),
                                       now.GetSecond());
}

} // namespace

FormSettings FormSettings::GetDefaults() {
    return GetDefaults(DateTimeUtils::GetCurrentDateTime());
}

FormSettings FormSettings::GetDefaults(const DateTimeValue& now) {
    FormSettings settings;
    for (const Picker& picker : kPickers)
        settings.General.*picker.value = picker.date ? DateOf(now) : TimeOf(now);
    settings.Advanced.Stagger.StartDate = DateOf(now);
    settings.Advanced.Stagger.StartTime = DateTimeUtils::MakeDateTime(1899, 12, 30, 0, 0, 0);
    return settings;
}

FORMGENERALITEM FormSettings::BuildGeneralItem() const {
    FORMGENERALITEM item = General;
    for (const Picker& picker : kPickers) {
        if (!(item.*picker.status))
            item.*picker.value = DateTimeValue::MakeNull();
    }
    return item;
}

FORMADVANCEDITEM FormSettings::BuildAdvancedItem() const {
    return Advanced;
}

FormSettings FormSettings::FromRecords(const FORMGENERALITEM& general,
                                       const FORMADVANCEDITEM& advanced) {
    FormSettings settings{general, advanced};
    for (const Picker& picker : kPickers)
        settings.General.*picker.status = (general.*picker.value).IsNull() ? 0 : 1;
    return settings;
}

} // namespace KelmEngine
