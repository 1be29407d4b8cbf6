#include "KelmLibraryUtils/ProfileUtils.h"

#include "KelmLibraryUtils/IniDocument.h"

namespace KelmLibraryUtils {
namespace {

IniDocument Read(const std::wstring& path) {
    IniDocument document;
    document.Load(path);
    return document;
}

// A missing file starts as a new settings file with its header.
int LoadForUpdate(const std::wstring& path, IniDocument& document) {
    if (!document.Load(path))
        return 0;
    if (!document.Exists())
        document = IniDocument::NewSettingsFile(ProfileUtils::GetHeaderFileName(path));
    return 1;
}

} // namespace

std::wstring ProfileUtils::GetPrivateProfileString(const std::wstring& section,
                                                   const std::wstring& key,
                                                   const std::wstring& defaultValue,
                                                   const std::wstring& path) {
    return Read(path).GetString(section, key, defaultValue);
}

int ProfileUtils::GetPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                       int defaultValue, const std::wstring& path) {
    return Read(path).GetInt(section, key, defaultValue);
}

std::vector<std::wstring> ProfileUtils::GetPrivateProfileSectionNames(const std::wstring& path) {
    return Read(path).GetSectionNames();
}

std::vector<std::wstring> ProfileUtils::GetPrivateProfileKeyNames(const std::wstring& section,
                                                                  const std::wstring& path) {
    return Read(path).GetKeyNames(section);
}

int ProfileUtils::WritePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                            const std::wstring& value, const std::wstring& path) {
    IniDocument document;
    return LoadForUpdate(path, document) && document.SetString(section, key, value) &&
           document.Save(path);
}

int ProfileUtils::WritePrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                         int value, const std::wstring& path) {
    return WritePrivateProfileString(section, key, std::to_wstring(value), path);
}

int ProfileUtils::DeletePrivateProfileKey(const std::wstring& section, const std::wstring& key,
                                          const std::wstring& path) {
    IniDocument document;
    if (!document.Load(path))
        return 0;
    return document.RemoveKey(section, key) ? document.Save(path) : 1;
}

int ProfileUtils::DeletePrivateProfileSection(const std::wstring& section,
                                              const std::wstring& path) {
    IniDocument document;
    if (!document.Load(path))
        return 0;
    return document.RemoveSection(section) ? document.Save(path) : 1;
}

int ProfileUtils::CreateSettingsFile(const std::wstring& path) {
    return IniDocument::NewSettingsFile(GetHeaderFileName(path)).Save(path);
}

int ProfileUtils::EnsureSettingsFile(const std::wstring& path) {
    IniDocument document;
    if (!document.Load(path))
        return 0;
    return document.Exists() ? 1 : CreateSettingsFile(path);
}

std::wstring ProfileUtils::GetHeaderFileName(const std::wstring& path) {
    const size_t slash = path.rfind(L'/');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

} // namespace KelmLibraryUtils
