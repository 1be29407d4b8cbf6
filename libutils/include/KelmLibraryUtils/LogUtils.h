#pragma once
// Texts for the diagnostic trace.
#include <string>

namespace KelmLibraryUtils {

class LogUtils {
public:
    // The system's message text for an errno value in the user's language,
    // without a trailing line end; empty for 0. Resets the thread's last
    // error (KelmPlatform::LastError) to 0.
    static std::wstring GetLastErrorMessage(int error);
};

} // namespace KelmLibraryUtils
