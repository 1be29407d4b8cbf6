#pragma once
// Every key of a change settings file, in the order written, with the
// member it holds and the values it accepts. The store, the strict reader
// and the validation all walk this one table.
#include "KelmEngine/FormSettings.h"

#include <string>
#include <vector>

namespace KelmEngine {

struct FormSettingsKey {
    enum Kind { Integer, Date, Time };

    const wchar_t* section;
    const wchar_t* name;
    Kind kind;
    // Integers: the values a run accepts. A load also keeps values down to
    // loadMin (the interval time picker gives -1 without a valid value).
    int min;
    int max;
    int loadMin;
    int& (*integer)(FormSettings&);
    KelmLibraryUtils::DateTimeValue& (*value)(FormSettings&);
    // Date-times: the flag that says whether the value is used at all, and
    // whether a null value is meaningful (a picker with a check box).
    int& (*usedBy)(FormSettings&);
    const wchar_t* usedByName;
    bool nullable;
};

class FormSettingsKeys {
public:
    static const std::vector<FormSettingsKey>& GetKeys();
    static const std::vector<std::wstring>& GetSectionNames();

    // A whole decimal integer: blanks around it, an optional sign, digits,
    // within the range of int.
    static bool ParseInteger(const std::wstring& text, int& value);

    // "[section] name".
    static std::wstring GetKeyText(const FormSettingsKey& key);
    // The range message for a value outside the key's range (or no
    // integer at all).
    static std::wstring GetRangeMessage(const FormSettingsKey& key, const std::wstring& valueText);

    // Problems as one text, a line each.
    static std::wstring JoinLines(const std::vector<std::wstring>& lines);
};

} // namespace KelmEngine
