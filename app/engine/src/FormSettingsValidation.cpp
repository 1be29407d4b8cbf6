#include "KelmEngine/FormSettingsValidation.h"

#include "FormSettingsKeys.h"

#include <utility>
#include <vector>

namespace KelmEngine {
namespace {

using Key = FormSettingsKey;

std::wstring IntegerProblem(const Key& key, FormSettings& settings) {
    const int value = key.integer(settings);
    if (value >= key.min && value <= key.max)
        return std::wstring();
    return FormSettingsKeys::GetRangeMessage(key, std::to_wstring(value));
}

// A null value keeps the item's own date or time, which only a picker with
// a check box can mean.
std::wstring DateTimeProblem(const Key& key, FormSettings& settings) {
    const KelmLibraryUtils::DateTimeValue& value = key.value(settings);
    if (!key.usedBy(settings) || value.IsValid() || (value.IsNull() && key.nullable))
        return std::wstring();
    return FormSettingsKeys::GetKeyText(key) +
           (key.kind == Key::Date ? L": not a valid date." : L": not a valid time.");
}

} // namespace

int FormSettingsValidation::ValidateSettings(const FormSettings& settings, std::wstring& error) {
    FormSettings values = settings;
    std::vector<std::wstring> problems;
    for (const Key& key : FormSettingsKeys::GetKeys()) {
        std::wstring problem =
            key.kind == Key::Integer ? IntegerProblem(key, values) : DateTimeProblem(key, values);
        if (!problem.empty())
            problems.push_back(std::move(problem));
    }
    error = FormSettingsKeys::JoinLines(problems);
    return problems.empty() ? 1 : 0;
}

} // namespace KelmEngine
