#include "KelmEngine/ChangeLogJournal.h"

#include "KelmEngine/ChangeLogFile.h"
#include "KelmEngine/ChangeLogFolder.h"
#include "KelmEngine/ChangeLogReader.h"
#include "KelmEngine/ChangeLogWriter.h"

#include <KelmLibraryUtils/DateTimeUtils.h>
#include <KelmLibraryUtils/FileUtils.h>
#include <KelmPlatform/NativeName.h>

#include <unistd.h>

namespace KelmEngine {

using KelmLibraryUtils::DateTimeUtils;
using KelmLibraryUtils::FileUtils;

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";

void DeleteFile(const std::wstring& path) {
    ::unlink(KelmPlatform::ToNative(path).c_str());
}

std::wstring CurrentDateTimeText() {
    return DateTimeUtils::Format(DateTimeUtils::GetCurrentDateTime());
}

// The log the journal's own run would have written: same number, ".log".
std::wstring PairedLogName(const std::wstring& journalPath) {
    return FileUtils::GetSplitFName(journalPath) + ChangeLogFolder::kLogExtension;
}

// A log whose header count matches its entries, every one usable.
bool IsCompleteLog(const std::wstring& path) {
    ChangeLogHeader header;
    ChangeLogEntries entries;
    if (!FileUtils::FileExists(path) || !ChangeLogReader::ReadHeader(path, header) ||
        !ChangeLogReader::ReadEntries(path, entries))
        return false;
    return header.Count > 0 && entries.Unusable.empty() &&
           static_cast<std::size_t>(header.Count) == entries.Items.size();
}

std::vector<CHANGELOGITEM> UsableItems(ChangeLogEntries& entries) {
    std::vector<CHANGELOGITEM> items;
    for (CHANGELOGITEM& item : entries.Items) {
        if (!item.Path.empty())
            items.push_back(std::move(item));
    }
    return items;
}

int RecoverJournal(const std::wstring& folder, const std::wstring& path,
                   std::vector<std::wstring>* logPaths) {
    ChangeLogHeader header;
    ChangeLogEntries entries;
    if (!ChangeLogReader::ReadHeader(path, header) || !ChangeLogReader::ReadEntries(path, entries))
        return 0;
    const std::vector<CHANGELOGITEM> items = UsableItems(entries);
    const std::wstring paired = FileUtils::GetCombinePath(folder, PairedLogName(path));
    if (!items.empty() && !IsCompleteLog(paired)) {
        std::wstring logPath;
        if (!ChangeLogWriter::WriteLog(folder, items, header.Address, header.DateTime,
                                       PairedLogName(path), logPath))
            return 0;
        if (logPaths)
            logPaths->push_back(logPath);
    }
    DeleteFile(path);
    return 1;
}

} // namespace

ChangeLogJournal::ChangeLogJournal(std::wstring folder, std::wstring address, int syncEachEntry)
    : m_folder(std::move(folder)), m_address(std::move(address)), m_sync(syncEachEntry) {}

ChangeLogJournal::~ChangeLogJournal() {
    CloseFile();
}

void ChangeLogJournal::CloseFile() {
    if (m_fd >= 0)
        ChangeLogFile::Close(m_fd);
    m_fd = -1;
}

int ChangeLogJournal::Open() {
    if (m_broken || !ChangeLogFolder::EnsureFolder(m_folder))
        return 0;
    m_fd = ChangeLogFolder::CreateUniqueFile(m_folder, kJournalExtension, m_path);
    if (m_fd < 0)
        return 0;
    const std::string head =
        "\xEF\xBB\xBF" +
        KelmPlatform::ToNative(
            ChangeLogWriter::FormatHeaderRecord(m_address, CurrentDateTimeText(), 0) + kLineEnd);
    if (!ChangeLogFile::WriteAll(m_fd, head) || !ChangeLogFile::Sync(m_fd)) {
        CloseFile();
        DeleteFile(m_path);
        m_path.clear();
        return 0;
    }
    // Best effort: some file systems cannot flush a folder.
    ChangeLogFile::SyncFolder(m_folder);
    m_size = static_cast<off_t>(head.size());
    return 1;
}

// A failed write is cut off again, so that a torn line cannot merge with
// the next entry; if that fails too, the journal takes no more entries.
int ChangeLogJournal::Append(const CHANGELOGITEM& item) {
    if (m_fd < 0 && !Open())
        return 0;
    const std::string line =
        KelmPlatform::ToNative(ChangeLogWriter::FormatEntryRecord(item) + kLineEnd);
    if (!ChangeLogFile::WriteAll(m_fd, line) || (m_sync && !ChangeLogFile::Sync(m_fd))) {
        if (::ftruncate(m_fd, m_size) != 0 || ::lseek(m_fd, m_size, SEEK_SET) != m_size) {
            m_broken = 1;
            CloseFile();
        }
        return 0;
    }
    m_size += static_cast<off_t>(line.size());
    ++m_count;
    return 1;
}

int ChangeLogJournal::Finish(const std::vector<CHANGELOGITEM>& entries, const std::wstring& address,
                             int keep, std::wstring& logPath) {
    logPath.clear();
    CloseFile();
    if (entries.empty()) {
        // Only a journal without entries may go: one with entries is a record.
        if (!m_path.empty() && m_count == 0)
            DeleteFile(m_path);
        return 0;
    }
    const std::wstring preferred = m_path.empty() ? std::wstring() : PairedLogName(m_path);
    if (!ChangeLogWriter::WriteLog(m_folder, entries, address, CurrentDateTimeText(), preferred,
                                   logPath))
        return 0;
    if (!m_path.empty())
        DeleteFile(m_path);
    m_path.clear();
    ChangeLogFolder::TrimLogFiles(m_folder, keep, logPath);
    return 1;
}

int ChangeLogJournal::RecoverJournals(const std::wstring& folder,
                                      std::vector<std::wstring>* logPaths) {
    int allRecovered = 1;
    for (const ChangeLogFileInfo& journal :
         ChangeLogFolder::ListLogFiles(folder, kJournalExtension)) {
        if (!RecoverJournal(folder, journal.Path, logPaths))
            allRecovered = 0;
    }
    return allRecovered;
}

} // namespace KelmEngine
