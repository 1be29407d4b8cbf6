#include "KelmLibraryUtils/DateTimeValue.h"

#include "OleDate.h"

namespace KelmLibraryUtils {

namespace {

int Component(const DateTimeValue& value, int CalendarParts::*member) {
    CalendarParts parts;
    if (!value.IsValid() || !PartsFromOleDate(value.GetDays(), parts))
        return -1;
    return parts.*member;
}

} // namespace

int DateTimeValue::GetYear() const {
    return Component(*this, &CalendarParts::year);
}
int DateTimeValue::GetMonth() const {
    return Component(*this, &CalendarParts::month);
}
int DateTimeValue::GetDay() const {
    return Component(*this, &CalendarParts::day);
}
int DateTimeValue::GetHour() const {
    return Component(*this, &CalendarParts::hour);
}
int DateTimeValue::GetMinute() const {
    return Component(*this, &CalendarParts::minute);
}
int DateTimeValue::GetSecond() const {
    return Component(*this, &CalendarParts::second);
}

} // namespace KelmLibraryUtils
