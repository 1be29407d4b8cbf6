// Type names from shared-mime-info, in the user's language.
//
// Like the Windows shell, which names a type by its extension alone, the
// name comes from the file name's extension (everything from the first dot
// of the name, so "a.tar.gz" is a compressed tar archive). The lookup costs
// several microseconds, more than the stat of the item, so results are kept
// per extension. Only an extension that shared-mime-info gives to more than
// one type (".ts", ".m") needs the file's first bytes, read without changing
// its accessed time. An unknown extension gives "EXT <fallback word>", as
// the shell names unregistered types; a name without extension that no
// literal name rule (Makefile, README) knows gives the fallback word alone.
#include "FileListTypeNames.h"

#include "KelmLibraryUtils/FileListUtils.h"
#include "KelmLibraryUtils/FileUtils.h"

#include <KelmPlatform/ContentReader.h>
#include <KelmPlatform/NativeName.h>

#include <QByteArray>
#include <QMimeDatabase>

#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace KelmLibraryUtils {
namespace {

constexpr std::size_t kMaxCachedExtensions = 4096;
constexpr qsizetype kSniffBytes = 16 * 1024;

struct TypeEntry {
    std::wstring name; // empty: shared-mime-info knows no type
    bool ambiguous = false;
};

// An empty comment, or one that is only the type's own name, is no name.
std::wstring CommentOf(const QMimeType& type) {
    if (!type.isValid() || type.isDefault())
        return {};
    const QString comment = type.comment().trimmed();
    return comment == type.name() ? std::wstring() : comment.toStdWString();
}

TypeEntry LookUp(const QString& fileName) {
    static const QMimeDatabase database;
    const QList<QMimeType> types = database.mimeTypesForFileName(fileName);
    if (types.isEmpty())
        return {};
    return {CommentOf(types.first()), types.size() > 1};
}

// Everything from the first dot after the name's leading dots, or empty.
std::wstring ExtensionKey(const std::wstring& fileName) {
    const auto start = fileName.find_first_not_of(L'.');
    if (start == std::wstring::npos)
        return {};
    const auto dot = fileName.find(L'.', start);
    return dot == std::wstring::npos ? std::wstring() : fileName.substr(dot);
}

TypeEntry CachedLookUp(const std::wstring& key) {
    static std::mutex mutex;
    static std::unordered_map<std::wstring, TypeEntry> cache;
    {
        std::lock_guard lock(mutex);
        if (const auto it = cache.find(key); it != cache.end())
            return it->second;
    }
    TypeEntry entry = LookUp(QStringLiteral("x") + QString::fromStdWString(key));
    std::lock_guard lock(mutex);
    if (cache.size() >= kMaxCachedExtensions)
        cache.clear();
    cache.emplace(key, entry);
    return entry;
}

std::wstring SniffedTypeName(const std::wstring& path, const std::wstring& fileName) {
    static const QMimeDatabase database;
    QByteArray head(kSniffBytes, Qt::Uninitialized);
    qsizetype got = 0;
    KelmPlatform::ContentReader reader(path);
    while (reader.IsOpen() && got < head.size()) {
        const ssize_t n = ::read(reader.Descriptor(), head.data() + got,
                                 static_cast<std::size_t>(head.size() - got));
        if (n <= 0)
            break;
        got += n;
    }
    head.truncate(got);
    return CommentOf(database.mimeTypeForFileNameAndData(QString::fromStdWString(fileName), head));
}

std::wstring FolderTypeName() {
    static const std::wstring name =
        CommentOf(QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")));
    return name;
}

std::wstring FallbackName(const std::wstring& fileName, const std::wstring& fallback) {
    const std::wstring ext = FileUtils::GetSplitExtension(fileName, 0);
    if (ext.empty())
        return fallback;
    return QString::fromStdWString(ext).toUpper().toStdWString() + L' ' + fallback;
}

} // namespace

std::wstring FileListTypeNames::Of(const std::wstring& path, const std::wstring& fileName,
                                   bool folder, const std::wstring& fallback) {
    if (folder)
        return FolderTypeName();
    const std::wstring key = ExtensionKey(fileName);
    TypeEntry entry = key.empty() ? LookUp(QString::fromStdWString(fileName)) : CachedLookUp(key);
    if (entry.ambiguous)
        entry.name = SniffedTypeName(path, fileName);
    return entry.name.empty() ? FallbackName(fileName, fallback) : entry.name;
}

// An item that cannot be queried has no type name at all, as the shell
// gives none for a path that does not exist.
std::wstring FileListUtils::GetTypeName(const std::wstring& path, const std::wstring& fallback) {
    struct stat st {};
    if (::lstat(KelmPlatform::ToNative(path).c_str(), &st) != 0)
        return {};
    return FileListTypeNames::Of(path, FileUtils::GetSplitFileName(path), S_ISDIR(st.st_mode),
                                 fallback);
}

} // namespace KelmLibraryUtils
