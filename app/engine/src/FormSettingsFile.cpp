// The strict read of a settings file handed to a run from the command line.
#include "KelmEngine/FormSettingsStore.h"

#include "FormSettingsKeys.h"
#include "FormSettingsReader.h"

#include <KelmEngine/FormSettingsValidation.h>
#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/IniDocument.h>

#include <vector>

namespace KelmEngine {

int FormSettingsStore::LoadSettingsFile(const std::wstring& path, FormSettings& settings,
                                        std::wstring& error) {
    KelmLibraryUtils::IniDocument document;
    if (!document.Load(path)) {
        error = L"cannot read the settings file.";
        return 0;
    }
    if (!document.Exists()) {
        error = L"no such settings file.";
        return 0;
    }
    FormSettings loaded = settings;
    FormSettingsReader::ReadKeys(document, loaded,
                                 KelmLibraryUtils::DateTimeUtils::GetCurrentDateTime());
    const std::vector<std::wstring> problems = FormSettingsReader::CheckKeys(document, loaded);
    if (!problems.empty()) {
        error = FormSettingsKeys::JoinLines(problems);
        return 0;
    }
    if (!FormSettingsValidation::ValidateSettings(loaded, error))
        return 0;
    settings = loaded;
    error.clear();
    return 1;
}

} // namespace KelmEngine
