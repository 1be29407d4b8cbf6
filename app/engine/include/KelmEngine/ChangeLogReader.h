#pragma once
// Reads change logs back: the header line and the entries. Every value is
// read with the quote-aware decoder, so the logs of this version (quotes
// doubled, exact times appended) and of earlier versions (plain quoted
// values, 14 fields) both read. A line that does not yield 14 fields, or 20
// with well-formed times, is unusable: it gives an entry with an empty path
// and its index is reported, so that it can never be restored onto some
// other item.
#include "KelmEngine/ChangeLogItem.h"
#include "KelmEngine/CsvFields.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace KelmEngine {

struct ChangeLogHeader {
    std::wstring Title;
    std::wstring Address;
    std::wstring DateTime; // as written, in the writer's locale form
    int Count = 0;
};

struct ChangeLogEntries {
    std::vector<CHANGELOGITEM> Items;  // one per line after the header
    std::vector<std::size_t> Unusable; // indexes into Items of refused lines
};

class ChangeLogReader {
public:
    // Fields of an entry line: the 14 of CHANGELOGITEM, then in this
    // version the six file times (created, modified, accessed before, then
    // after) as decimal UTC ticks.
    static constexpr std::size_t kEntryFields = 14;
    static constexpr std::size_t kEntryFieldsWithTimes = 20;

    // Nonzero when the file could be read; missing header values are empty.
    static int ReadHeader(const std::wstring& path, ChangeLogHeader& header);
    // Nonzero when the file could be read.
    static int ReadEntries(const std::wstring& path, ChangeLogEntries& entries);

    // The wide text of a log file's bytes: UTF-16LE after FF FE, otherwise
    // UTF-8 with or without its mark; invalid bytes stay as U+DC80 + byte.
    static std::wstring DecodeLogBytes(std::string_view bytes);
    static ChangeLogHeader ParseHeader(const CsvFields::Record& record);
    // Nonzero when the record is a usable entry; `item` is left empty otherwise.
    static int ParseEntry(const CsvFields::Record& record, CHANGELOGITEM& item);
    static void ParseEntries(std::wstring_view text, ChangeLogEntries& entries);
};

} // namespace KelmEngine
