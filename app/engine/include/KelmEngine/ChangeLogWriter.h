#pragma once
// Writes one change log: UTF-8 with a byte-order mark, CR LF line ends, a
// header line (title, address, date-time of writing, entry count) and one
// line per entry. The file is created under a name no other item has, every
// write is checked and the data is flushed to the disk; a log that could not
// be written completely is removed again.
#include "KelmEngine/ChangeLogItem.h"

#include <string>
#include <vector>

namespace KelmEngine {

class ChangeLogWriter {
public:
    static constexpr const wchar_t* kTitle = L"Horalux Log File";

    static std::wstring FormatHeaderRecord(const std::wstring& address,
                                           const std::wstring& dateTime, std::size_t count);
    static std::wstring FormatEntryRecord(const CHANGELOGITEM& item);
    // The whole file's bytes.
    static std::string FormatLogBytes(const std::wstring& address, const std::wstring& dateTime,
                                      const std::vector<CHANGELOGITEM>& entries);

    // Writes the entries as a new log in `folder` (created when missing, one
    // level), dated now. Returns 0, writing nothing, when there are no
    // entries; nonzero on success with `logPath` set.
    static int WriteLog(const std::wstring& folder, const std::vector<CHANGELOGITEM>& entries,
                        const std::wstring& address, std::wstring& logPath);
    // The same with a given date-time text, trying `preferredName` first.
    static int WriteLog(const std::wstring& folder, const std::vector<CHANGELOGITEM>& entries,
                        const std::wstring& address, const std::wstring& dateTime,
                        const std::wstring& preferredName, std::wstring& logPath);
};

} // namespace KelmEngine
