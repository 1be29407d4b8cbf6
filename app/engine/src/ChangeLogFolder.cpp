#include "KelmEngine/ChangeLogFolder.h"

#include "KelmEngine/ChangeLogFile.h"
#include "KelmEngine/ChangeLogJournal.h"

#include <KelmLibraryUtils/FileUtils.h>
#include <KelmPlatform/NativeName.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cwchar>
#include <dirent.h>
#include <sys/stat.h>

namespace KelmEngine {

using KelmLibraryUtils::FileUtils;

namespace {

constexpr unsigned kNumberCount = 0xFFFF; // four hexadecimal digits, 0 unused

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F') || (c >= L'a' && c <= L'f');
}

bool NameExists(const std::wstring& path) {
    struct stat st {};
    return ::lstat(KelmPlatform::ToNative(path).c_str(), &st) == 0 || errno != ENOENT;
}

unsigned FirstNumber() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<unsigned>(ticks) % kNumberCount + 1;
}

// A regular file (not a link) named as a log; its modified time.
bool IsLogFile(const std::string& path, KelmPlatform::FileTime& modified) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    modified = KelmPlatform::FileTimeFromTimespec(st.st_mtim);
    return true;
}

} // namespace

int ChangeLogFolder::IsLogFileName(const std::wstring& name, const std::wstring& extension) {
    const std::wstring prefix = L"log";
    if (name.size() <= prefix.size() + extension.size() || name.compare(0, 3, prefix) != 0 ||
        name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
        return 0;
    const auto first = name.begin() + static_cast<std::ptrdiff_t>(prefix.size());
    const auto last = name.end() - static_cast<std::ptrdiff_t>(extension.size());
    return std::all_of(first, last, IsHexDigit) ? 1 : 0;
}

std::wstring ChangeLogFolder::MakeLogFileName(unsigned number, const std::wstring& extension) {
    wchar_t digits[16];
    std::swprintf(digits, std::size(digits), L"%X", number);
    return L"log" + std::wstring(digits) + extension;
}

int ChangeLogFolder::CreateUniqueFile(const std::wstring& folder, const std::wstring& extension,
                                      std::wstring& path) {
    unsigned number = FirstNumber();
    for (unsigned attempt = 0; attempt < kNumberCount; ++attempt) {
        number = number % kNumberCount + 1;
        const std::wstring log =
            FileUtils::GetCombinePath(folder, MakeLogFileName(number, kLogExtension));
        const std::wstring journal = FileUtils::GetCombinePath(
            folder, MakeLogFileName(number, ChangeLogJournal::kJournalExtension));
        if (NameExists(log) || NameExists(journal))
            continue;
        path = FileUtils::GetCombinePath(folder, MakeLogFileName(number, extension));
        const int fd = ChangeLogFile::CreateExclusive(path);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    path.clear();
    return -1;
}

int ChangeLogFolder::EnsureFolder(const std::wstring& folder) {
    if (FileUtils::IsDirectory(folder))
        return 1;
    const std::string native = KelmPlatform::ToNative(FileUtils::GetPathRemoveBackslash(folder));
    return ::mkdir(native.c_str(), 0777) == 0 || FileUtils::IsDirectory(folder) ? 1 : 0;
}

std::vector<ChangeLogFileInfo> ChangeLogFolder::ListLogFiles(const std::wstring& folder,
                                                             const std::wstring& extension) {
    std::vector<ChangeLogFileInfo> files;
    DIR* dir = ::opendir(KelmPlatform::ToNative(folder).c_str());
    if (!dir)
        return files;
    while (const dirent* entry = ::readdir(dir)) {
        const std::wstring name = KelmPlatform::FromNative(entry->d_name);
        if (!IsLogFileName(name, extension))
            continue;
        ChangeLogFileInfo info;
        info.Path = FileUtils::GetCombinePath(folder, name);
        if (IsLogFile(KelmPlatform::ToNative(info.Path), info.Modified))
            files.push_back(std::move(info));
    }
    ::closedir(dir);
    return files;
}

std::vector<ChangeLogFileInfo>
ChangeLogFolder::ListLogFilesOldestFirst(const std::wstring& folder) {
    std::vector<ChangeLogFileInfo> files = ListLogFiles(folder);
    std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) {
        return a.Modified != b.Modified ? a.Modified < b.Modified : a.Path < b.Path;
    });
    return files;
}

std::vector<ChangeLogSummary> ChangeLogFolder::ListLogsNewestFirst(const std::wstring& folder) {
    std::vector<ChangeLogFileInfo> files = ListLogFilesOldestFirst(folder);
    std::vector<ChangeLogSummary> logs;
    for (auto it = files.rbegin(); it != files.rend(); ++it) {
        ChangeLogSummary summary;
        if (!ChangeLogReader::ReadHeader(it->Path, summary.Header))
            continue;
        summary.Path = it->Path;
        summary.Modified = it->Modified;
        logs.push_back(std::move(summary));
    }
    return logs;
}

} // namespace KelmEngine
