#pragma once
// The two application options that say where change logs go and how many
// are kept ("Options\General" of the application settings file). Loading
// applies the load rules: the count is clamped to 1..20, and a stored folder
// that does not exist gives way to the default log folder.
#include <string>

namespace KelmEngine {

struct LogFolderOptions {
    static constexpr int kMinLogFilesItems = 1;
    static constexpr int kMaxLogFilesItems = 20;
    static constexpr int kDefaultLogFilesItems = 10;

    int LogFilesItems = kDefaultLogFilesItems;
    // A folder chosen in the dialog is stored with a trailing "/", the
    // default without one; both forms work everywhere.
    std::wstring LogFilesCurrentLocation;

    static int ClampLogFilesItems(int items);
    static LogFolderOptions Load(const std::wstring& settingsFilePath);
    int Save(const std::wstring& settingsFilePath) const;
    // The folder without its trailing "/".
    std::wstring GetFolderPath() const;
};

} // namespace KelmEngine
