#include "KelmEngine/LogFolderOptions.h"

#include <KelmLibraryUtils/FileUtils.h>
#include <KelmLibraryUtils/PathUtils.h>
#include <KelmLibraryUtils/ProfileUtils.h>

#include <algorithm>

namespace KelmEngine {

using KelmLibraryUtils::FileUtils;
using KelmLibraryUtils::PathUtils;
using KelmLibraryUtils::ProfileUtils;

namespace {

constexpr wchar_t kSection[] = L"Options\\General";
constexpr wchar_t kItemsKey[] = L"LogFilesItems";
constexpr wchar_t kLocationKey[] = L"LogFilesCurrentLocation";

} // namespace

int LogFolderOptions::ClampLogFilesItems(int items) {
    return std::clamp(items, kMinLogFilesItems, kMaxLogFilesItems);
}

LogFolderOptions LogFolderOptions::Load(const std::wstring& settingsFilePath) {
    LogFolderOptions options;
    options.LogFilesItems = ClampLogFilesItems(ProfileUtils::GetPrivateProfileInt(
        kSection, kItemsKey, kDefaultLogFilesItems, settingsFilePath));
    options.LogFilesCurrentLocation =
        ProfileUtils::GetPrivateProfileString(kSection, kLocationKey, L"", settingsFilePath);
    // GetLogFolderPath creates the default folder, so it is asked only when needed.
    if (options.LogFilesCurrentLocation.empty() || !FileUtils::IsDirectory(options.GetFolderPath()))
        options.LogFilesCurrentLocation = PathUtils::GetLogFolderPath();
    return options;
}

int LogFolderOptions::Save(const std::wstring& settingsFilePath) const {
    return ProfileUtils::WritePrivateProfileInt(kSection, kItemsKey, LogFilesItems,
                                                settingsFilePath) &&
                   ProfileUtils::WritePrivateProfileString(
                       kSection, kLocationKey, LogFilesCurrentLocation, settingsFilePath)
               ? 1
               : 0;
}

std::wstring LogFolderOptions::GetFolderPath() const {
    return FileUtils::GetPathRemoveBackslash(LogFilesCurrentLocation);
}

} // namespace KelmEngine
