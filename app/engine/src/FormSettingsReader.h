#pragma once
// Reads the change settings out of a settings file's document: leniently,
// as at start-up and on import, and strictly, for files a script hands to
// a run.
#include "KelmEngine/FormSettings.h"

#include <KelmLibraryUtils/DateTimeValue.h>
#include <KelmLibraryUtils/IniDocument.h>

#include <string>
#include <vector>

namespace KelmEngine {

class FormSettingsReader {
public:
    // Every key into `settings`. A missing integer key, or one that is no
    // integer or out of range, keeps the value held; a missing, empty or
    // unparsable date-time takes its first-start value at `now`.
    static void ReadKeys(const KelmLibraryUtils::IniDocument& document, FormSettings& settings,
                         const KelmLibraryUtils::DateTimeValue& now);

    // What a strict reader refuses, one text per problem: a file without
    // any settings section, unknown keys in the settings sections, integers
    // that are not whole numbers within range, date-time texts that do not
    // parse, and empty date-times that `loaded` (what ReadKeys made of the
    // document) would use.
    static std::vector<std::wstring> CheckKeys(const KelmLibraryUtils::IniDocument& document,
                                               const FormSettings& loaded);
};

} // namespace KelmEngine
