#pragma once
// Private-profile (INI) access by section and key, the way the Windows
// profile services are used throughout the system: every read names a
// default that a missing file, section or key yields; every write reads the
// file, changes one key and replaces the file atomically, so the file is
// never left half written. Files are written as UTF-16LE with a byte-order
// mark; see IniDocument for the reading rules.
#include <string>
#include <vector>

namespace KelmLibraryUtils {

class ProfileUtils {
public:
    static std::wstring GetPrivateProfileString(const std::wstring& section,
                                                const std::wstring& key,
                                                const std::wstring& defaultValue,
                                                const std::wstring& path);
    static int GetPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                    int defaultValue, const std::wstring& path);
    static std::vector<std::wstring> GetPrivateProfileSectionNames(const std::wstring& path);
    static std::vector<std::wstring> GetPrivateProfileKeyNames(const std::wstring& section,
                                                               const std::wstring& path);

    // Write one key; a missing file is created with the settings-file header
    // (see CreateSettingsFile). Nonzero on success; 0 leaves the file as it
    // was (also when the existing file cannot be read).
    static int WritePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                         const std::wstring& value, const std::wstring& path);
    static int WritePrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                      int value, const std::wstring& path);
    // Nonzero when the key or section is gone afterwards (also when it was
    // never there; a missing file stays missing).
    static int DeletePrivateProfileKey(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& path);
    static int DeletePrivateProfileSection(const std::wstring& section, const std::wstring& path);

    // Replaces the file with a new settings file that holds only its header:
    // the byte-order mark and the line "; " + file name + CR LF in UTF-16LE.
    // For writers that rewrite a file whole and then fill it key by key;
    // filling an IniDocument::NewSettingsFile and saving it once is better,
    // as the old contents stay until the new ones are complete.
    static int CreateSettingsFile(const std::wstring& path);
    // Creates the settings file with its header only when it does not exist
    // (the application settings file, which is updated in place).
    static int EnsureSettingsFile(const std::wstring& path);

    // The file-name part of a path, as used in the header line.
    static std::wstring GetHeaderFileName(const std::wstring& path);
};

} // namespace KelmLibraryUtils
