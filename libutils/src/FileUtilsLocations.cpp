// The program's own file, well-known folders, temporary files and the
// targets of links.
#include "KelmLibraryUtils/FileUtils.h"
#include "KelmLibraryUtils/ShellLinkReader.h"
#include "KelmLibraryUtils/SystemUtils.h"

#include <KelmPlatform/NativeName.h>

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace KelmLibraryUtils {
namespace {

std::string ReadLink(const std::string& native) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(native.c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string CurrentFolder() {
    std::vector<char> buffer(4096);
    return ::getcwd(buffer.data(), buffer.size()) ? std::string(buffer.data()) : std::string();
}

// Names of folders from the environment keep their bytes; Qt is only asked
// when the variable is unset.
std::string EnvironmentFolder(const char* variable, const QString& fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return value;
    return QFile::encodeName(fallback).toStdString();
}

// Drops "." and empty parts and lets ".." take away the part before it, on
// the text alone: links on the way are not followed.
std::wstring NormalisePath(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find(L'/', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring part = path.substr(start, end - start);
        if (part == L"..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::wstring result;
    for (const auto& part : parts)
        result += L'/' + part;
    return result.empty() ? L"/" : result;
}

std::wstring SymbolicLinkTarget(const std::wstring& linkPath) {
    const std::wstring target =
        KelmPlatform::FromNative(ReadLink(KelmPlatform::ToNative(linkPath)));
    if (target.empty())
        return {};
    if (target.front() == L'/')
        return NormalisePath(target);
    std::wstring folder = FileUtils::GetSplitDirPath(linkPath);
    if (folder.empty() || folder.front() != L'/')
        folder = KelmPlatform::FromNative(CurrentFolder()) + L'/' + folder;
    return NormalisePath(folder + target);
}

bool HasShellLinkExtension(const std::wstring& path) {
    std::wstring ext = FileUtils::GetSplitExtOnlyPath(path);
    for (auto& c : ext)
        c = static_cast<wchar_t>(std::towlower(c));
    return ext == L".lnk";
}

std::wstring HexNumber(unsigned value) {
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"%X", value);
    return buffer;
}

} // namespace

std::wstring FileUtils::GetModuleFilePath() {
    return SystemUtils::GetApplicationModuleFileName();
}

std::wstring FileUtils::GetModuleFolderPath() {
    return GetPathRemoveBackslash(GetSplitDirPath(GetModuleFilePath()));
}

std::wstring FileUtils::GetAppFileName() {
    return GetSplitFileName(GetModuleFilePath());
}

// Linux has no system folder of Windows DLLs: empty.
std::wstring FileUtils::GetSystemFilePath(const std::wstring&) {
    return {};
}

// Linux has no user32.dll: empty.
std::wstring FileUtils::GetWindowsUser32Path() {
    return {};
}

// Linux has no Windows folder: empty.
std::wstring FileUtils::GetWindowsSystemAppsDirectoryPath() {
    return {};
}

// Send To on Linux is the program's .desktop entry, which lives in the
// user's applications folder.
std::wstring FileUtils::GetSendToPath() {
    std::string folder = EnvironmentFolder("XDG_DATA_HOME", QString());
    if (folder.empty())
        folder = EnvironmentFolder("HOME", QDir::homePath()) + "/.local/share";
    return KelmPlatform::FromNative(folder) + L"/applications";
}

// For a symbolic link its target as an absolute path; for a .lnk file the
// target stored in it, as stored (a Windows path stays one).
std::wstring FileUtils::GetTargetPath(const std::wstring& linkPath) {
    struct stat st {};
    if (::lstat(KelmPlatform::ToNative(linkPath).c_str(), &st) != 0)
        return {};
    if (S_ISLNK(st.st_mode))
        return SymbolicLinkTarget(linkPath);
    if (S_ISREG(st.st_mode) && HasShellLinkExtension(linkPath))
        return ShellLinkReader::ReadTargetPath(linkPath);
    return {};
}

// As Windows names them: the first three characters of the prefix, a
// hexadecimal number and ".tmp". With `unique` 0 the name is chosen so that
// no file has it and the empty file is created; otherwise the low 16 bits of
// `unique` give the number and nothing is created or checked.
std::wstring FileUtils::CreateTempFile(const std::wstring& prefix, const std::wstring& folder,
                                       unsigned unique) {
    const std::wstring base =
        folder.empty() ? KelmPlatform::FromNative(EnvironmentFolder("TMPDIR", QDir::tempPath()))
                       : folder;
    const std::wstring stem = GetCombinePath(base, prefix.substr(0, 3));
    if (unique != 0)
        return stem + HexNumber(unique & 0xFFFF) + L".tmp";
    std::string pattern = KelmPlatform::ToNative(stem) + "XXXXXX.tmp";
    const int fd = ::mkstemps(pattern.data(), 4);
    if (fd < 0)
        return {};
    ::close(fd);
    return KelmPlatform::FromNative(pattern);
}

} // namespace KelmLibraryUtils
