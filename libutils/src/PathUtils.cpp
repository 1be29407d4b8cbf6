#include "KelmLibraryUtils/PathUtils.h"

#include "KelmLibraryUtils/ProfileUtils.h"
#include "KelmLibraryUtils/SystemUtils.h"
#include "KelmLibraryUtils/VersionUtils.h"

#include <KelmPlatform/NativeName.h>

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace KelmLibraryUtils {
namespace {

std::wstring Join(const std::wstring& left, const std::wstring& right) {
    if (left.empty())
        return right;
    return left.back() == L'/' ? left + right : left + L"/" + right;
}

bool FolderExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// One level; a failure shows later, when a file in it cannot be written.
std::wstring CreateIfMissing(const std::wstring& path, mode_t mode = 0777) {
    const std::string native = KelmPlatform::ToNative(path);
    if (!FolderExists(native))
        mkdir(native.c_str(), mode);
    return path;
}

// Every missing level of an absolute path, private to the user as the XDG
// base directory rules ask.
void CreateAllLevels(const std::wstring& path) {
    for (size_t slash = path.find(L'/', 1); slash != std::wstring::npos;
         slash = path.find(L'/', slash + 1))
        CreateIfMissing(path.substr(0, slash), 0700);
    CreateIfMissing(path, 0700);
}

std::wstring HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return KelmPlatform::FromNative(home);
    std::vector<char> buffer(16384);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return KelmPlatform::FromNative(found->pw_dir);
    return L"/";
}

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
std::wstring UserDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::wstring folder =
        xdg && xdg[0] == '/' ? KelmPlatform::FromNative(xdg) : Join(HomeFolder(), L".local/share");
    CreateAllLevels(folder);
    return folder;
}

std::wstring SettingsFile(const std::wstring& name) {
    return Join(PathUtils::GetApplicationSettingsPath(), name);
}

} // namespace

int PathUtils::IsPortableVersion() {
    const std::wstring marker = Join(GetProgramFolderPath(), L"portable.ini");
    return ProfileUtils::GetPrivateProfileInt(L"Portable", L"Portable", 0, marker) != 0;
}

std::wstring PathUtils::GetAppDataPath() {
    if (IsPortableVersion())
        return CreateIfMissing(Join(GetProgramFolderPath(), GetApplicationDataDirectoryName()));
    const std::wstring company =
        CreateIfMissing(Join(UserDataFolder(), VersionUtils::GetCompanyName()));
    return CreateIfMissing(Join(company, VersionUtils::GetProductName()));
}

std::wstring PathUtils::GetApplicationSettingsPath() {
    const std::wstring profiles =
        CreateIfMissing(Join(GetAppDataPath(), GetProfilesDirectoryName()));
    return CreateIfMissing(Join(profiles, GetProgramBaseName()));
}

std::wstring PathUtils::GetOldApplicationSettingsPath() {
    return Join(GetAppDataPath(), GetProfileDirectoryName());
}

std::wstring PathUtils::GetApplicationSettingsFilePath() {
    return SettingsFile(GetProgramBaseName() + L".ini");
}

std::wstring PathUtils::GetCombineNameApplicationSettingsFilePath(const std::wstring& name) {
    return SettingsFile(name);
}

std::wstring PathUtils::GetExecutePreviewSettingsFilePath() {
    return SettingsFile(GetExecutePreviewSettingsFileName());
}
std::wstring PathUtils::GetFormViewSettingsFilePath() {
    return SettingsFile(GetFormViewSettingsFileName());
}
std::wstring PathUtils::GetToolbarsFilePath() {
    return SettingsFile(GetToolbarsFileName());
}
std::wstring PathUtils::GetRebarFilePath() {
    return SettingsFile(GetRebarFileName());
}
std::wstring PathUtils::GetPropertybarFilePath() {
    return SettingsFile(GetPropertybarFileName());
}
std::wstring PathUtils::GetAddressHistoryFilePath() {
    return SettingsFile(GetAddressHistoryFileName());
}
std::wstring PathUtils::GetFiltersFilePath() {
    return SettingsFile(GetFiltersFileName());
}
std::wstring PathUtils::GetColumnsFilePath() {
    return SettingsFile(GetColumnsFileName());
}
std::wstring PathUtils::GetUpdatesFilePath() {
    return SettingsFile(GetUpdatesFileName());
}

std::wstring PathUtils::GetExecutePreviewSettingsFileName() {
    return L"executepreview.ini";
}
std::wstring PathUtils::GetFormViewSettingsFileName() {
    return L"formview.ini";
}
std::wstring PathUtils::GetToolbarsFileName() {
    return L"toolbars.ini";
}
std::wstring PathUtils::GetRebarFileName() {
    return L"rebar.ini";
}
std::wstring PathUtils::GetPropertybarFileName() {
    return L"propertybar.ini";
}
std::wstring PathUtils::GetAddressHistoryFileName() {
    return L"addresshistory.ini";
}
std::wstring PathUtils::GetFiltersFileName() {
    return L"filters.ini";
}
std::wstring PathUtils::GetColumnsFileName() {
    return L"columns.ini";
}
std::wstring PathUtils::GetUpdatesFileName() {
    return L"updates.ini";
}
std::wstring PathUtils::GetApplicationFileName() {
    return L"application.ini";
}

std::wstring PathUtils::GetDefaultsSettingsPath() {
    return Join(Join(GetProgramFolderPath(), GetDefaultsDirectoryName()), GetProgramBaseName());
}

std::wstring PathUtils::GetCombineNameDefaultsSettingsFilePath(const std::wstring& name) {
    return Join(GetDefaultsSettingsPath(), name);
}

std::wstring PathUtils::GetDefaultsRebarFilePath() {
    return GetCombineNameDefaultsSettingsFilePath(GetRebarFileName());
}
std::wstring PathUtils::GetDefaultsFiltersFilePath() {
    return GetCombineNameDefaultsSettingsFilePath(GetFiltersFileName());
}
std::wstring PathUtils::GetDefaultsColumnsFilePath() {
    return GetCombineNameDefaultsSettingsFilePath(GetColumnsFileName());
}

std::wstring PathUtils::GetLogFolderPath() {
    return CreateIfMissing(Join(GetAppDataPath(), GetLogDirectoryName()));
}

std::wstring PathUtils::GetApplicationLogFolderPath() {
    return CreateIfMissing(Join(GetAppDataPath(), GetApplicationLogDirectoryName()));
}

std::wstring PathUtils::GetLocalDataUpdatesFilePath() {
    return Join(GetProgramFolderPath(), GetUpdatesFileName());
}

std::wstring PathUtils::GetLocalDataApplicationFilePath() {
    return Join(GetProgramFolderPath(), GetApplicationFileName());
}

std::wstring PathUtils::GetApplicationDataDirectoryName() {
    return L"AppData";
}
std::wstring PathUtils::GetProfileDirectoryName() {
    return L"profile";
}
std::wstring PathUtils::GetProfilesDirectoryName() {
    return L"Profiles";
}
std::wstring PathUtils::GetLogDirectoryName() {
    return L"Log Files";
}
std::wstring PathUtils::GetApplicationLogDirectoryName() {
    return L"Log";
}
std::wstring PathUtils::GetDefaultsDirectoryName() {
    return L"defaults";
}

std::wstring PathUtils::GetProgramFolderPath() {
    const std::wstring program = SystemUtils::GetApplicationModuleFileName();
    const size_t slash = program.rfind(L'/');
    if (slash == std::wstring::npos)
        return {};
    return slash == 0 ? L"/" : program.substr(0, slash);
}

std::wstring PathUtils::GetProgramBaseName() {
    const std::wstring program = SystemUtils::GetApplicationModuleFileName();
    const size_t slash = program.rfind(L'/');
    std::wstring name = slash == std::wstring::npos ? program : program.substr(slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.resize(dot);
    return name;
}

} // namespace KelmLibraryUtils
