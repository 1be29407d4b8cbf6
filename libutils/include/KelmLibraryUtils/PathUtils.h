#pragma once
// Where the system keeps its own files. Everything per user lives below one
// data folder: $XDG_DATA_HOME (default ~/.local/share) with the company and
// product names below it, or, when the program runs as a portable copy, the
// folder "AppData" beside the program file. Folders are created on the way
// where noted; no function reports failure, a path is always returned.
#include <string>

namespace KelmLibraryUtils {

class PathUtils {
public:
    // Nonzero when portable.ini beside the program has a nonzero "Portable"
    // key in section "Portable"; read afresh at every call.
    static int IsPortableVersion();

    static std::wstring GetAppDataPath();                 // created
    static std::wstring GetApplicationSettingsPath();     // data/Profiles/base, created
    static std::wstring GetOldApplicationSettingsPath();  // data/profile, not created
    static std::wstring GetApplicationSettingsFilePath(); // settings/base.ini
    static std::wstring GetCombineNameApplicationSettingsFilePath(const std::wstring& name);

    static std::wstring GetExecutePreviewSettingsFilePath();
    static std::wstring GetFormViewSettingsFilePath();
    static std::wstring GetToolbarsFilePath();
    static std::wstring GetRebarFilePath();
    static std::wstring GetPropertybarFilePath();
    static std::wstring GetAddressHistoryFilePath();
    static std::wstring GetFiltersFilePath();
    static std::wstring GetColumnsFilePath();
    static std::wstring GetUpdatesFilePath();

    static std::wstring GetExecutePreviewSettingsFileName();
    static std::wstring GetFormViewSettingsFileName();
    static std::wstring GetToolbarsFileName();
    static std::wstring GetRebarFileName();
    static std::wstring GetPropertybarFileName();
    static std::wstring GetAddressHistoryFileName();
    static std::wstring GetFiltersFileName();
    static std::wstring GetColumnsFileName();
    static std::wstring GetUpdatesFileName();
    static std::wstring GetApplicationFileName();

    // Shipped defaults: program folder/defaults/base, not created.
    static std::wstring GetDefaultsSettingsPath();
    static std::wstring GetCombineNameDefaultsSettingsFilePath(const std::wstring& name);
    static std::wstring GetDefaultsRebarFilePath();
    static std::wstring GetDefaultsFiltersFilePath();
    static std::wstring GetDefaultsColumnsFilePath();

    static std::wstring GetLogFolderPath();            // data/Log Files, created
    static std::wstring GetApplicationLogFolderPath(); // data/Log, created

    static std::wstring GetLocalDataUpdatesFilePath();     // program folder/updates.ini
    static std::wstring GetLocalDataApplicationFilePath(); // program folder/application.ini

    static std::wstring GetApplicationDataDirectoryName(); // "AppData"
    static std::wstring GetProfileDirectoryName();         // "profile"
    static std::wstring GetProfilesDirectoryName();        // "Profiles"
    static std::wstring GetLogDirectoryName();             // "Log Files"
    static std::wstring GetApplicationLogDirectoryName();  // "Log"
    static std::wstring GetDefaultsDirectoryName();        // "defaults"

    // The program file's folder (no trailing "/" except for the root) and
    // its name without extension.
    static std::wstring GetProgramFolderPath();
    static std::wstring GetProgramBaseName();
};

} // namespace KelmLibraryUtils
