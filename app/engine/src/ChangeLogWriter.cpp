#include "KelmEngine/ChangeLogWriter.h"

#include "KelmEngine/ChangeLogFile.h"
#include "KelmEngine/ChangeLogFolder.h"
#include "KelmEngine/CsvFields.h"

#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/FileUtils.h>
#include <KelmPlatform/NativeName.h>

#include <cerrno>
#include <unistd.h>

namespace KelmEngine {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::FileUtils;

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr wchar_t kLineEnd[] = L"\r\n";

// Without exact times the six fields stay empty.
std::wstring Ticks(const CHANGELOGITEM& item, KelmPlatform::FileTime ticks) {
    return item.ExactTimes ? std::to_wstring(ticks) : std::wstring();
}

// Opens `preferredName` in the folder when free, else a new unique name.
int CreateLogFile(const std::wstring& folder, const std::wstring& preferredName,
                  std::wstring& path) {
    if (!preferredName.empty()) {
        path = FileUtils::GetCombinePath(folder, preferredName);
        const int fd = ChangeLogFile::CreateExclusive(path);
        if (fd >= 0)
            return fd;
    }
    return ChangeLogFolder::CreateUniqueFile(folder, ChangeLogFolder::kLogExtension, path);
}

bool WriteAndSync(int fd, const std::string& bytes) {
    const bool written = ChangeLogFile::WriteAll(fd, bytes) && ChangeLogFile::Sync(fd);
    return ChangeLogFile::Close(fd) && written;
}

} // namespace

std::wstring ChangeLogWriter::FormatHeaderRecord(const std::wstring& address,
                                                 const std::wstring& dateTime, std::size_t count) {
    return CsvFields::EncodeRecord(
        {kTitle, FileUtils::GetPathRemoveBackslash(address), dateTime, std::to_wstring(count)});
}

std::wstring ChangeLogWriter::FormatEntryRecord(const CHANGELOGITEM& item) {
    return CsvFields::EncodeRecord({
        item.Path,
        item.CreatedBefore,
        item.ModifiedBefore,
        item.AccessedBefore,
        item.TakenBefore,
        item.AttributesBefore,
        item.CreatedAfter,
        item.ModifiedAfter,
        item.AccessedAfter,
        item.TakenAfter,
        item.AttributesAfter,
        std::to_wstring(item.TimeResult),
        std::to_wstring(item.AttributesResult),
        std::to_wstring(item.UnblockResult),
        Ticks(item, item.TimesBefore.created),
        Ticks(item, item.TimesBefore.modified),
        Ticks(item, item.TimesBefore.accessed),
        Ticks(item, item.TimesAfter.created),
        Ticks(item, item.TimesAfter.modified),
        Ticks(item, item.TimesAfter.accessed),
    });
}

// Names that are not valid UTF-8 keep their bytes (ToNative), so the reader
// gives back the very name the file system has.
std::string ChangeLogWriter::FormatLogBytes(const std::wstring& address,
                                            const std::wstring& dateTime,
                                            const std::vector<CHANGELOGITEM>& entries) {
    std::string bytes = kByteOrderMark;
    bytes +=
        KelmPlatform::ToNative(FormatHeaderRecord(address, dateTime, entries.size()) + kLineEnd);
    for (const CHANGELOGITEM& item : entries)
        bytes += KelmPlatform::ToNative(FormatEntryRecord(item) + kLineEnd);
    return bytes;
}

int ChangeLogWriter::WriteLog(const std::wstring& folder, const std::vector<CHANGELOGITEM>& entries,
                              const std::wstring& address, std::wstring& logPath) {
    const std::wstring now = DateTimeUtils::Format(DateTimeUtils::GetCurrentDateTime());
    return WriteLog(folder, entries, address, now, {}, logPath);
}

int ChangeLogWriter::WriteLog(const std::wstring& folder, const std::vector<CHANGELOGITEM>& entries,
                              const std::wstring& address, const std::wstring& dateTime,
                              const std::wstring& preferredName, std::wstring& logPath) {
    logPath.clear();
    if (entries.empty() || !ChangeLogFolder::EnsureFolder(folder))
        return 0;
    std::wstring path;
    const int fd = CreateLogFile(folder, preferredName, path);
    if (fd < 0)
        return 0;
    if (!WriteAndSync(fd, FormatLogBytes(address, dateTime, entries))) {
        // The file is ours (created exclusively): a partial log must not stay.
        ::unlink(KelmPlatform::ToNative(path).c_str());
        return 0;
    }
    ChangeLogFile::SyncFolder(folder);
    logPath = path;
    return 1;
}

} // namespace KelmEngine
