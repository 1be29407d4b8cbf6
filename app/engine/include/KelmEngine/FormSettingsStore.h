#pragma once
// Loads and saves the change settings: formview.ini in the settings folder
// and the exported settings files, which have the same format (UTF-16LE
// with a byte-order mark, first line "; formview.ini"; dates and times in
// the user's short locale forms). Files are read as UTF-16LE or UTF-8, and
// date-times also in ISO 8601 ("2024-01-31", "23:00:00").
#include "KelmEngine/FormSettings.h"

#include <KelmLibraryUtils/DateTimeValue.h>

#include <string>

namespace KelmEngine {

class FormSettingsStore {
public:
    // Start-up and import. The values held in `settings` are the defaults:
    // a missing integer key, or one that is no integer or out of range,
    // keeps its value; a missing, empty or unparsable date-time takes its
    // first-start value at `now` (the current date or time; 00:00:00 for
    // the stagger's start time). 0, changing nothing, when the file is
    // missing or cannot be read.
    static int Load(const std::wstring& path, FormSettings& settings);
    static int Load(const std::wstring& path, FormSettings& settings,
                    const KelmLibraryUtils::DateTimeValue& now);

    // Writes every key, replacing the file whole; nonzero when written. A
    // null or invalid date-time is written empty. Callers validate first
    // (FormSettingsValidation): an export refuses invalid settings.
    static int Save(const std::wstring& path, const FormSettings& settings);

    // The same for formview.ini in the settings folder.
    static int LoadFormViewSettings(FormSettings& settings);
    static int SaveFormViewSettings(const FormSettings& settings);

    // A settings file handed to a run from the command line. Reads like
    // Load, but refuses a file that is missing, unreadable or holds no
    // settings section, and any unknown key, integer that is not a whole
    // number in range, unparsable date-time, empty date-time that is used,
    // or settings that fail validation. On failure `settings` is unchanged
    // and `error` holds one line per problem, naming section and key.
    static int LoadSettingsFile(const std::wstring& path, FormSettings& settings,
                                std::wstring& error);
};

} // namespace KelmEngine
