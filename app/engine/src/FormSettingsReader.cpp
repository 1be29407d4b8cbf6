#include "FormSettingsReader.h"

#include "FormSettingsKeys.h"

#include <KelmLibraryUtils/DateTimeUtils.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace KelmEngine {
namespace {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::DateTimeValue;
using KelmLibraryUtils::IniDocument;
using Key = FormSettingsKey;

std::wstring TextOf(const IniDocument& document, const Key& key) {
    return document.GetString(key.section, key.name, std::wstring());
}

int ParseFlags(const Key& key) {
    return key.kind == Key::Date ? DateTimeUtils::DateValueOnly : DateTimeUtils::TimeValueOnly;
}

// A date key must name a day: a time alone parses to 1899-12-30, the day
// no date text shows.
DateTimeValue ParsedDateTime(const Key& key, const std::wstring& text) {
    const DateTimeValue value = DateTimeUtils::GetParseDateTime(text, 1, ParseFlags(key));
    if (key.kind == Key::Date && value.IsValid() && value.GetDays() >= 0 && value.GetDays() < 1)
        return DateTimeValue::MakeInvalid();
    return value;
}

// Stores the value when the text is a whole integer within low..high.
bool TakeInteger(const std::wstring& text, int low, int high, int& value) {
    int n = 0;
    if (!FormSettingsKeys::ParseInteger(text, n) || n < low || n > high)
        return false;
    value = n;
    return true;
}

void ReadInteger(const IniDocument& document, const Key& key, FormSettings& settings) {
    int& member = key.integer(settings);
    if (document.HasKey(key.section, key.name))
        TakeInteger(TextOf(document, key), key.loadMin, key.max, member);
}

void ReadDateTime(const IniDocument& document, const Key& key, FormSettings& settings,
                  FormSettings& fresh) {
    const DateTimeValue value = ParsedDateTime(key, TextOf(document, key));
    key.value(settings) = value.IsValid() ? value : key.value(fresh);
}

bool SameName(const std::wstring& a, const wchar_t* b) {
    return std::equal(a.begin(), a.end(), b, b + std::wcslen(b),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

bool IsKnownKey(const std::wstring& section, const std::wstring& name) {
    const auto& keys = FormSettingsKeys::GetKeys();
    return std::any_of(keys.begin(), keys.end(), [&](const Key& key) {
        return SameName(section, key.section) && SameName(name, key.name);
    });
}

bool HasAnySection(const IniDocument& document) {
    const auto& sections = FormSettingsKeys::GetSectionNames();
    return std::any_of(sections.begin(), sections.end(),
                       [&](const std::wstring& s) { return document.HasSection(s); });
}

void CheckNames(const IniDocument& document, std::vector<std::wstring>& problems) {
    for (const std::wstring& section : FormSettingsKeys::GetSectionNames()) {
        for (const std::wstring& name : document.GetKeyNames(section)) {
            if (!IsKnownKey(section, name))
                problems.push_back(L"[" + section + L"] " + name + L": unknown key.");
        }
    }
}

std::wstring CheckInteger(const Key& key, const std::wstring& text) {
    int value = 0;
    return TakeInteger(text, key.min, key.max, value)
               ? std::wstring()
               : FormSettingsKeys::GetRangeMessage(key, text);
}

std::wstring CheckDateTime(const Key& key, const std::wstring& text, FormSettings& loaded) {
    const wchar_t* what = key.kind == Key::Date ? L"a date" : L"a time";
    if (text.empty()) {
        if (!key.usedBy(loaded))
            return std::wstring();
        return FormSettingsKeys::GetKeyText(key) + L" is empty: give " + what + L" or set " +
               key.usedByName + L"=0.";
    }
    if (ParsedDateTime(key, text).IsValid())
        return std::wstring();
    return FormSettingsKeys::GetKeyText(key) + L" = \"" + text + L"\": not " + what +
           L" (for example " + (key.kind == Key::Date ? L"2024-01-31" : L"23:00:00") + L").";
}

} // namespace

void FormSettingsReader::ReadKeys(const IniDocument& document, FormSettings& settings,
                                  const DateTimeValue& now) {
    FormSettings fresh = FormSettings::GetDefaults(now);
    for (const Key& key : FormSettingsKeys::GetKeys()) {
        if (key.kind == Key::Integer)
            ReadInteger(document, key, settings);
        else
            ReadDateTime(document, key, settings, fresh);
    }
}

std::vector<std::wstring> FormSettingsReader::CheckKeys(const IniDocument& document,
                                                        const FormSettings& loaded) {
    if (!HasAnySection(document))
        return {L"no [FormViewSettings\\General], [FormViewSettings\\Advanced] or "
                L"[FormViewSettings\\Advanced\\Stagger] section: not a change settings file."};
    std::vector<std::wstring> problems;
    CheckNames(document, problems);
    FormSettings used = loaded;
    for (const Key& key : FormSettingsKeys::GetKeys()) {
        if (!document.HasKey(key.section, key.name))
            continue;
        const std::wstring text = TextOf(document, key);
        const std::wstring problem =
            key.kind == Key::Integer ? CheckInteger(key, text) : CheckDateTime(key, text, used);
        if (!problem.empty())
            problems.push_back(problem);
    }
    return problems;
}

} // namespace KelmEngine
