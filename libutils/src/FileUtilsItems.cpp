// Existence and attribute tests of items, and the block mark. A symbolic
// link is an item of its own: it is tested itself, never what it points to.
#include "KelmLibraryUtils/FileUtils.h"

#include <KelmPlatform/AttributeBits.h>
#include <KelmPlatform/FileSystemItem.h>
#include <KelmPlatform/NativeName.h>

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

namespace KelmLibraryUtils {
namespace {

bool HasWildcard(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

// Windows patterns know only "*" and "?"; everything else matches itself.
// "*.*" matches every name, with or without a dot, as it does there.
std::string ToFnmatchPattern(const std::string& pattern) {
    if (pattern == "*.*")
        return "*";
    std::string escaped;
    for (const char c : pattern) {
        if (c == '[' || c == ']' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

bool FolderHasMatch(const std::string& folder, const std::string& pattern) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    const std::string fnPattern = ToFnmatchPattern(pattern);
    bool found = false;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && ::fnmatch(fnPattern.c_str(), name.c_str(), 0) == 0) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

} // namespace

// A wildcard pattern in the last part counts when it matches an entry of
// its folder.
int FileUtils::FileExists(const std::wstring& path) {
    const std::string native = KelmPlatform::ToNative(path);
    const auto slash = native.rfind('/');
    const std::string last = slash == std::string::npos ? native : native.substr(slash + 1);
    if (HasWildcard(last))
        return FolderHasMatch(native.substr(0, slash == std::string::npos ? 0 : slash + 1), last)
                   ? 1
                   : 0;
    struct stat st {};
    return ::lstat(native.c_str(), &st) == 0 ? 1 : 0;
}

// A path that cannot be queried is no folder, and neither is a link to one.
int FileUtils::IsDirectory(const std::wstring& path) {
    struct stat st {};
    return ::lstat(KelmPlatform::ToNative(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

int FileUtils::IsReadOnly(const std::wstring& path) {
    std::uint32_t attributes = 0;
    return KelmPlatform::ReadItemAttributes(path, attributes) &&
                   (attributes & KelmPlatform::kReadOnly)
               ? 1
               : 0;
}

int FileUtils::ZoneIdentifierExists(const std::wstring& path) {
    return KelmPlatform::BlockMarkExists(path) ? 1 : 0;
}

// An item without a block mark counts as unblocked.
int FileUtils::DeleteZoneIdentifier(const std::wstring& path) {
    if (!ZoneIdentifierExists(path))
        return 1;
    return KelmPlatform::RemoveBlockMark(path) ? 1 : 0;
}

} // namespace KelmLibraryUtils
