#pragma once
// The checks the settings pass before a run, a preview, a save or an
// export: the stagger's start value (0 to 256), years (0 to 16), months
// (0 to 12) and days (0 to 1024) as the advanced page checks them, and, for
// settings that come from elsewhere than the pages, every other number
// within its choices and every used date-time valid.
#include "KelmEngine/FormSettings.h"

#include <string>

namespace KelmEngine {

class FormSettingsValidation {
public:
    // Nonzero when the settings pass; otherwise `error` holds one line per
    // problem, each naming the settings key.
    static int ValidateSettings(const FormSettings& settings, std::wstring& error);
};

} // namespace KelmEngine
