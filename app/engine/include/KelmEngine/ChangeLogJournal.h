#pragma once
// The record a change run keeps while it runs, so that a run killed part-way
// (power loss, kill -9) still leaves every changed item restorable. Each
// entry is appended to "log<hex>.journal" in the log folder and flushed to
// the disk before the run goes on. At the end of the run the entries become
// a normal log and the journal is removed; a journal left by a run that did
// not end is turned into a log by RecoverJournals at the next start.
//
// The journal has the form of a log (header, then entry lines), so the log
// reader reads it; a torn last line is refused like any malformed line.
#include "KelmEngine/ChangeLogItem.h"

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

namespace KelmEngine {

class ChangeLogJournal {
public:
    static constexpr const wchar_t* kJournalExtension = L".journal";

    // `syncEachEntry` 0 leaves flushing to the system (survives kill -9 but
    // not power loss).
    explicit ChangeLogJournal(std::wstring folder, std::wstring address = {},
                              int syncEachEntry = 1);
    // Closes the journal; unless Finish succeeded it stays for recovery.
    ~ChangeLogJournal();
    ChangeLogJournal(const ChangeLogJournal&) = delete;
    ChangeLogJournal& operator=(const ChangeLogJournal&) = delete;

    // Records one entry; the first call creates the journal (and the folder,
    // one level). Nonzero when the entry is on the disk.
    int Append(const CHANGELOGITEM& item);

    // Writes the run list as a log (see ChangeLogWriter), removes the
    // journal, then trims the folder to `keep` logs. Returns 0 when there
    // are no entries (nothing written, the journal removed) or when the log
    // could not be written (the journal stays, so the next start recovers it).
    int Finish(const std::vector<CHANGELOGITEM>& entries, const std::wstring& address, int keep,
               std::wstring& logPath);

    std::size_t Count() const { return m_count; }
    const std::wstring& Path() const { return m_path; }

    // Turns every journal of the folder into a log (dated as its run began)
    // and removes it; a journal whose log was already written completely is
    // just removed, one without a usable entry too. Nonzero when no journal
    // is left; the logs written are added to `logPaths` when given.
    static int RecoverJournals(const std::wstring& folder,
                               std::vector<std::wstring>* logPaths = nullptr);

private:
    int Open();
    void CloseFile();

    std::wstring m_folder;
    std::wstring m_address;
    std::wstring m_path;
    int m_sync = 1;
    int m_fd = -1;
    int m_broken = 0;
    off_t m_size = 0; // bytes of whole entries on the disk
    std::size_t m_count = 0;
};

} // namespace KelmEngine
