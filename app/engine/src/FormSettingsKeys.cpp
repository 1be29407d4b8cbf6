#include "FormSettingsKeys.h"

#include <climits>
#include <cwctype>

namespace KelmEngine {
namespace {

using KelmLibraryUtils::DateTimeValue;
using Key = FormSettingsKey;

#define KELM_GENERAL L"FormViewSettings\\General"
#define KELM_ADVANCED L"FormViewSettings\\Advanced"
#define KELM_STAGGER L"FormViewSettings\\Advanced\\Stagger"

#define KELM_WIDEN(text) L##text

// Table rows: an integer member of a record, or a date-time member with the
// flag that says it is used.
#define KELM_INT(section, record, member, low, high)                                               \
    Key {                                                                                          \
        section, KELM_WIDEN(#member), Key::Integer, low, high, low,                                \
            [](FormSettings& s) -> int& { return s.record.member; }, nullptr, nullptr, nullptr,    \
            false                                                                                  \
    }
#define KELM_DATETIME(section, record, member, kind, flag, nullable)                               \
    Key {                                                                                          \
        section, KELM_WIDEN(#member), kind, 0, 0, 0, nullptr,                                      \
            [](FormSettings& s) -> DateTimeValue& { return s.record.member; },                     \
            [](FormSettings& s) -> int& { return s.record.flag; }, KELM_WIDEN(#flag), nullable     \
    }
#define KELM_GENERAL_INT(member, high) KELM_INT(KELM_GENERAL, General, member, 0, high)
#define KELM_ATTRIBUTE(member) KELM_INT(KELM_GENERAL, General.Attributes, member, 0, 2)
#define KELM_STAGGER_INT(member, high) KELM_INT(KELM_STAGGER, Advanced.Stagger, member, 0, high)
#define KELM_PICKER(member, kind)                                                                  \
    KELM_DATETIME(KELM_GENERAL, General, member, kind, member##Status, true)

// The interval time picker's hour, minute and second.
Key TimeOfDayInterval(Key key) {
    key.loadMin = -1;
    return key;
}

const std::vector<Key> kKeys = {
    KELM_GENERAL_INT(ModifiedMethod, 1),
    KELM_GENERAL_INT(DateCreated, 1),
    KELM_GENERAL_INT(DateModified, 1),
    KELM_GENERAL_INT(DateAccessed, 1),
    KELM_PICKER(DateCreatedDate, Key::Date),
    KELM_PICKER(DateCreatedTime, Key::Time),
    KELM_GENERAL_INT(DateCreatedDateStatus, 1),
    KELM_GENERAL_INT(DateCreatedTimeStatus, 1),
    KELM_PICKER(DateModifiedDate, Key::Date),
    KELM_PICKER(DateModifiedTime, Key::Time),
    KELM_GENERAL_INT(DateModifiedDateStatus, 1),
    KELM_GENERAL_INT(DateModifiedTimeStatus, 1),
    KELM_PICKER(DateAccessedDate, Key::Date),
    KELM_PICKER(DateAccessedTime, Key::Time),
    KELM_GENERAL_INT(DateAccessedDateStatus, 1),
    KELM_GENERAL_INT(DateAccessedTimeStatus, 1),
    KELM_GENERAL_INT(ModifiedMethodSameTime, 1),
    KELM_PICKER(DateSpecifyDate, Key::Date),
    KELM_PICKER(DateSpecifyTime, Key::Time),
    KELM_GENERAL_INT(DateSpecifyDateStatus, 1),
    KELM_GENERAL_INT(DateSpecifyTimeStatus, 1),
    KELM_ATTRIBUTE(ReadOnly),
    KELM_ATTRIBUTE(Hidden),
    KELM_ATTRIBUTE(System),
    KELM_ATTRIBUTE(Archive),
    KELM_ATTRIBUTE(Temporary),
    KELM_ATTRIBUTE(NotContentIndexed),
    KELM_GENERAL_INT(ZoneIdentifier, 1),
    KELM_GENERAL_INT(AllowModifiedReadOnlyFiles, 1),
    KELM_GENERAL_INT(AllowModifiedSubfolders, 1),
    KELM_INT(KELM_ADVANCED, Advanced, ModifiedMethod, 0, 2),
    KELM_INT(KELM_ADVANCED, Advanced, OtherDateTime, 0, 3),
    KELM_STAGGER_INT(EnabledStartDateTime, 1),
    KELM_DATETIME(KELM_STAGGER, Advanced.Stagger, StartDate, Key::Date, EnabledStartDateTime,
                  false),
    KELM_DATETIME(KELM_STAGGER, Advanced.Stagger, StartTime, Key::Time, EnabledStartDateTime,
                  false),
    KELM_STAGGER_INT(Type, 1),
    KELM_STAGGER_INT(Method, 1),
    KELM_STAGGER_INT(StartValue, 256),
    KELM_STAGGER_INT(IntervalYears, 16),
    KELM_STAGGER_INT(IntervalMonths, 12),
    KELM_STAGGER_INT(IntervalDays, 1024),
    TimeOfDayInterval(KELM_STAGGER_INT(IntervalHours, 23)),
    TimeOfDayInterval(KELM_STAGGER_INT(IntervalMinutes, 59)),
    TimeOfDayInterval(KELM_STAGGER_INT(IntervalSeconds, 59)),
};

const std::vector<std::wstring> kSections = {KELM_GENERAL, KELM_ADVANCED, KELM_STAGGER};

#undef KELM_PICKER
#undef KELM_STAGGER_INT
#undef KELM_ATTRIBUTE
#undef KELM_GENERAL_INT
#undef KELM_DATETIME
#undef KELM_INT
#undef KELM_STAGGER
#undef KELM_ADVANCED
#undef KELM_GENERAL
#undef KELM_WIDEN

std::wstring Trimmed(const std::wstring& text) {
    const size_t begin = text.find_first_not_of(L" \t");
    if (begin == std::wstring::npos)
        return std::wstring();
    return text.substr(begin, text.find_last_not_of(L" \t") - begin + 1);
}

} // namespace

const std::vector<FormSettingsKey>& FormSettingsKeys::GetKeys() {
    return kKeys;
}

const std::vector<std::wstring>& FormSettingsKeys::GetSectionNames() {
    return kSections;
}

bool FormSettingsKeys::ParseInteger(const std::wstring& text, int& value) {
    const std::wstring number = Trimmed(text);
    size_t i = number.empty() || (number[0] != L'-' && number[0] != L'+') ? 0 : 1;
    if (i == number.size())
        return false;
    long long n = 0;
    for (; i < number.size(); ++i) {
        if (number[i] < L'0' || number[i] > L'9' || n > INT_MAX)
            return false;
        n = n * 10 + (number[i] - L'0');
    }
    n = number[0] == L'-' ? -n : n;
    if (n < INT_MIN || n > INT_MAX)
        return false;
    value = static_cast<int>(n);
    return true;
}

std::wstring FormSettingsKeys::GetKeyText(const FormSettingsKey& key) {
    return L"[" + std::wstring(key.section) + L"] " + key.name;
}

std::wstring FormSettingsKeys::GetRangeMessage(const FormSettingsKey& key,
                                               const std::wstring& valueText) {
    return GetKeyText(key) + L" = \"" + valueText + L"\": enter an integer between " +
           std::to_wstring(key.min) + L" and " + std::to_wstring(key.max) + L".";
}

std::wstring FormSettingsKeys::JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines)
        text += (text.empty() ? L"" : L"\n") + line;
    return text;
}

} // namespace KelmEngine
