// The public calendar and hour shifts of DateTimeFuncs.
#include "KelmLibraryFuncs/DateTimeFuncs.h"

#include "CalendarShift.h"

namespace KelmLibraryFuncs {

DateTimeFuncs::DateTimeValue DateTimeFuncs::GetCalDateTime(const DateTimeValue& value, int years,
                                                           int months, int days) {
    if (!value.IsValid())
        return value;
    DateTimeValue shifted;
    return CalendarShift::ShiftDate(value, years, months, days, shifted) ? shifted : value;
}

DateTimeFuncs::DateTimeValue DateTimeFuncs::GetTimeDifferenceDateTime(const DateTimeValue& value,
                                                                      int hours) {
    if (!value.IsValid() || !(value.GetDays() > 0))
        return DateTimeValue();
    DateTimeValue shifted;
    if (!CalendarShift::ShiftSeconds(value, std::int64_t{hours} * 3600, shifted))
        return DateTimeValue::MakeInvalid();
    return shifted;
}

} // namespace KelmLibraryFuncs
