// Splitting and joining of "/" paths. There is no drive part, and nothing
// limits the length of a part: a long path splits like a short one.
#include "KelmLibraryUtils/FileUtils.h"

namespace KelmLibraryUtils {
namespace {

struct PathParts {
    std::wstring dir; // keeps its trailing "/"
    std::wstring name;
    std::wstring ext; // keeps its leading "."
};

// The extension starts at the last dot of the file name; leading dots belong
// to the name, so ".bashrc" and ".." have none.
PathParts Split(const std::wstring& path) {
    PathParts parts;
    const auto slash = path.rfind(L'/');
    const auto nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    parts.dir = path.substr(0, nameStart);
    const std::wstring file = path.substr(nameStart);
    const auto firstNonDot = file.find_first_not_of(L'.');
    const auto dot = file.rfind(L'.');
    if (firstNonDot != std::wstring::npos && dot != std::wstring::npos && dot > firstNonDot) {
        parts.name = file.substr(0, dot);
        parts.ext = file.substr(dot);
    } else {
        parts.name = file;
    }
    return parts;
}

bool IsInvalidNameChar(wchar_t c) {
    // Wildcards, separators and what Windows refuses in a name: names travel
    // to Windows machines through shares.
    return c < 0x20 || std::wstring_view(L"*?\\/:<>|\"").find(c) != std::wstring_view::npos;
}

} // namespace

std::wstring FileUtils::GetSplitPath(const std::wstring& path, int part) {
    const PathParts parts = Split(path);
    switch (part) {
    case DriveDir:
        return parts.dir;
    case DriveDirName:
        return parts.dir + parts.name;
    case WholePath:
        return path;
    case NameExt:
        return parts.name + parts.ext;
    case Name:
        return parts.name;
    case Ext:
        return parts.ext;
    default:
        return {}; // the drive, which Linux paths do not have
    }
}

std::wstring FileUtils::GetSplitDirPath(const std::wstring& path) {
    return GetSplitPath(path, DriveDir);
}

std::wstring FileUtils::GetSplitFNamePath(const std::wstring& path) {
    return GetSplitPath(path, DriveDirName);
}

std::wstring FileUtils::GetSplitFileName(const std::wstring& path) {
    return GetSplitPath(path, NameExt);
}

std::wstring FileUtils::GetSplitFNameExtOnlyPath(const std::wstring& path) {
    return GetSplitPath(path, NameExt);
}

std::wstring FileUtils::GetSplitFName(const std::wstring& path) {
    return GetSplitPath(path, Name);
}

std::wstring FileUtils::GetSplitExtOnlyPath(const std::wstring& path) {
    return GetSplitPath(path, Ext);
}

std::wstring FileUtils::GetSplitExtension(const std::wstring& path, int withDot) {
    const std::wstring ext = GetSplitPath(path, Ext);
    return withDot || ext.empty() ? ext : ext.substr(1);
}

std::wstring FileUtils::GetReplaceExtension(const std::wstring& path, const std::wstring& ext) {
    return GetSplitPath(path, DriveDirName) + ext;
}

// The root "/" keeps its separator: without it the path would name nothing.
std::wstring FileUtils::GetPathRemoveBackslash(const std::wstring& path) {
    if (path.size() > 1 && path.back() == L'/')
        return path.substr(0, path.size() - 1);
    return path;
}

std::wstring FileUtils::GetPathAddBackslash(const std::wstring& path) {
    if (!path.empty() && path.back() == L'/')
        return path;
    return path + L'/';
}

std::wstring FileUtils::GetCombinePath(const std::wstring& folder, const std::wstring& name) {
    return GetPathAddBackslash(folder) + name;
}

// Linux names are case-sensitive, so paths compare exactly.
int FileUtils::IsCompareFilePath(const std::wstring& a, const std::wstring& b, int withExtension) {
    if (withExtension)
        return a == b ? 1 : 0;
    return GetSplitFNamePath(a) == GetSplitFNamePath(b) ? 1 : 0;
}

int FileUtils::IsValidFileName(const std::wstring& name) {
    for (const wchar_t c : name) {
        if (IsInvalidNameChar(c))
            return 0;
    }
    return 1;
}

} // namespace KelmLibraryUtils
